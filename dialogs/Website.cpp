#include "dialogs/Website.h"

#include "common/DesktopDialogs.h"

namespace sonivo {

void openWebsite(DesktopDialogs& dialogs)
{
    const QString address = QLatin1String(kWebsite);
    if (!dialogs.openAddress(address))
        dialogs.warn(QStringLiteral("Impossibile aprire l'indirizzo %1: il desktop non ha un browser che lo apra.").arg(address));
}

}  // namespace sonivo
