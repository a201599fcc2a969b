#pragma once
// The "&Guida" menu's commands: the help window (its contents and its search),
// the web site and the about box.

#include <QObject>
#include <QPointer>

class QWidget;

namespace sonivo {

class DesktopDialogs;
class HelpWindow;

class HelpCommands final : public QObject {
public:
    HelpCommands(DesktopDialogs& dialogs, QWidget* window);
    ~HelpCommands() override;

    void showHelp();
    void searchHelp();
    void openWebsite();
    void showAbout();

    // The help window once opened, for tests.
    HelpWindow* helpWindow() const;

private:
    HelpWindow& help();

    DesktopDialogs& dialogs_;
    QWidget* window_;
    QPointer<HelpWindow> help_;
};

}  // namespace sonivo
