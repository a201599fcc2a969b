#include "mainwindow/WindowScanDialogs.h"

#include "common/DesktopDialogs.h"
#include "mainwindow/ScanProgressFrame.h"
#include "mainwindow/StatusLine.h"

#include <QCoreApplication>

namespace sonivo {

bool WindowScanDialogs::askUpdateFolder(const QString& folder)
{
    if (updateAll_)
        return *updateAll_;
    QString text = updateFolderQuestion(folder);
    switch (dialogs_.askYesNoToAll(text.replace(QLatin1Char('\r'), QLatin1Char('\n')))) {
    case DesktopDialogs::Answer::YesToAll: updateAll_ = true; return true;
    case DesktopDialogs::Answer::NoToAll: updateAll_ = false; return false;
    case DesktopDialogs::Answer::Yes: return true;
    default: return false;
    }
}

QString WindowScanDialogs::askCdName(const QString& volumeLabel)
{
    return dialogs_.inputText(cdNamePrompt(), cdNameTitle(), volumeLabel).value_or(QString());
}

void WindowScanDialogs::scanCounted(qint64 total)
{
    status_.showScanning(total);
    frame_.showProgress(total, 0);
    QCoreApplication::processEvents();
}

void WindowScanDialogs::folderProgress(qint64 total, qint64 read)
{
    fileProgress(total, read);
}

void WindowScanDialogs::fileProgress(qint64 total, qint64 read)
{
    frame_.showProgress(total, read);
    QCoreApplication::processEvents();
}

}  // namespace sonivo
