#pragma once
// The one look of every long piece of work's progress: window-modal over the
// window it was started from, the bar read out as "Avanzamento", an "Annulla"
// button, shown once the work has taken minimumMs, and left open at its end for
// whoever runs the work to close.

#include <QProgressDialog>

namespace sonivo {

// The range every such dialog counts in.
constexpr int kProgressSteps = 1000;

void giveProgressLook(QProgressDialog& dialog, const QString& title, const QString& text, int minimumMs);
// Shows done of total (nothing done while the total is not known).
void showDone(QProgressDialog& dialog, qint64 done, qint64 total);

}  // namespace sonivo
