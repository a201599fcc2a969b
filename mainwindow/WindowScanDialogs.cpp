#include "mainwindow/WindowScanDialogs.h"

#include "mainwindow/ScanProgressFrame.h"
#include "platform/DesktopDialogs.h"

#include <QCoreApplication>
#include <QEventLoop>

namespace sonivo {

bool WindowScanDialogs::askUpdateFolder(const QString& folder)
{
    QString text = updateFolderQuestion(folder);
    return dialogs_.askYesNo(text.replace(QLatin1Char('\r'), QLatin1Char('\n')));
}

QString WindowScanDialogs::askCdName(const QString& volumeLabel)
{
    return dialogs_.inputText(cdNamePrompt(), cdNameTitle(), volumeLabel).value_or(QString());
}

void WindowScanDialogs::scanCounted(qint64 total)
{
    frame_.showProgress(total, 0);
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void WindowScanDialogs::folderProgress(qint64 total, qint64 read)
{
    frame_.showProgress(total, read);
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

}  // namespace sonivo
