#include "mainwindow/ShellCommands.h"

#include "catalogue/ListDocument.h"
#include "common/Version.h"
#include "dialogs/CopyFilesCommand.h"
#include "dialogs/HelpWindow.h"
#include "dialogs/Website.h"
#include "dialogs/frmAbout.h"
#include "dialogs/frmOption.h"
#include "mainwindow/StatusLine.h"
#include "shell/SelectedFiles.h"

namespace sonivo {

ShellCommands::ShellCommands(
    ListDocument& document, DesktopDialogs& dialogs, StatusLine& status, QueueAccess queue, DesktopSetup desktop, QWidget* window)
    : QObject(window), document_(document), dialogs_(dialogs), status_(status), queue_(std::move(queue)), desktop_(std::move(desktop)),
      window_(window)
{
}

ShellCommands::~ShellCommands() = default;

void ShellCommands::copyFiles()
{
    copyFilesToFolder(window_, dialogs_, queuedFiles(document_.catalogue(), queue_.entries()));
}

void ShellCommands::deleteSelected()
{
    removeCheckedSongs(document_);
    queue_.clear();
    status_.refresh(document_.catalogue());
}

void ShellCommands::showOptions()
{
    frmOption options(desktop_, dialogs_, [this] { showHelp(); }, window_);
    options.exec();
}

void ShellCommands::showAbout()
{
    frmAbout about(versionText(), dialogs_, window_);
    about.exec();
}

HelpWindow* ShellCommands::helpWindow() const
{
    return help_;
}

HelpWindow& ShellCommands::help()
{
    if (!help_)
        help_ = new HelpWindow(HelpWindow::installedCollection(), window_);
    return *help_;
}

void ShellCommands::showHelp()
{
    help().showContents();
}

void ShellCommands::searchHelp()
{
    help().showSearch();
}

void ShellCommands::openWebsite()
{
    sonivo::openWebsite(dialogs_);
}

}  // namespace sonivo
