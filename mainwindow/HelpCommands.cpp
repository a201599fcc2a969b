#include "mainwindow/HelpCommands.h"

#include "common/Version.h"
#include "dialogs/HelpWindow.h"
#include "dialogs/OpenDialog.h"
#include "dialogs/Website.h"
#include "dialogs/frmAbout.h"

namespace sonivo {

HelpCommands::HelpCommands(DesktopDialogs& dialogs, QWidget* window) : QObject(window), dialogs_(dialogs), window_(window) {}

HelpCommands::~HelpCommands() = default;

void HelpCommands::showAbout()
{
    openDialog(new frmAbout(versionText(), dialogs_, window_));
}

HelpWindow* HelpCommands::helpWindow() const
{
    return help_;
}

HelpWindow& HelpCommands::help()
{
    if (!help_)
        help_ = new HelpWindow(HelpWindow::installedCollection(), window_);
    return *help_;
}

void HelpCommands::showHelp()
{
    help().showContents();
}

void HelpCommands::searchHelp()
{
    help().showSearch();
}

void HelpCommands::openWebsite()
{
    sonivo::openWebsite(dialogs_);
}

}  // namespace sonivo
