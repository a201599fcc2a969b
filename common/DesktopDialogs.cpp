#include "common/DesktopDialogs.h"

namespace sonivo {

void openWithDesktopOrWarn(DesktopDialogs& dialogs, const QString& file)
{
    if (!dialogs.openWithDesktop(file))
        dialogs.warn(QStringLiteral("Impossibile aprire il file ") + file + QStringLiteral(" con il programma predefinito."));
}

}  // namespace sonivo
