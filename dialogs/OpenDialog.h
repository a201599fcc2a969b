#pragma once
// A dialog opened window-modal without a nested event loop: its owner window
// waits for it, while desktop automation and screen readers go on working. It
// deletes itself when closed; what follows its answer connects to finished().

#include <QDialog>

namespace sonivo {

template <typename Dialog> Dialog* openDialog(Dialog* dialog)
{
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->open();
    return dialog;
}

}  // namespace sonivo
