#include "platform/DesktopTools.h"

#include <QProcess>
#include <QStandardPaths>

namespace sonivo {

DesktopToolRunner installedToolRunner()
{
    return [](const QString& tool, const QStringList& arguments) {
        const QString path = QStandardPaths::findExecutable(tool);
        if (path.isEmpty())
            return;
        QProcess process;
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process.setStandardOutputFile(QProcess::nullDevice());
        process.start(path, arguments);
        process.waitForFinished(30000);
    };
}

}  // namespace sonivo
