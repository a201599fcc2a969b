#pragma once
// How far a long piece of work has come, told to whatever shows it to the user:
// the window's progress dialog with its "Annulla" button, or a test's script.

#include <QtGlobal>

namespace sonivo {

class WorkProgress {
public:
    virtual ~WorkProgress() = default;
    // done of total steps are behind; false once the user cancelled the work,
    // which then stops as soon as it can.
    virtual bool step(qint64 done, qint64 total) = 0;
};

}  // namespace sonivo
