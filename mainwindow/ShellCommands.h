#pragma once
// The window's commands that reach out of the catalogue: the edit menu's
// "Copia &files nella cartella..." and "&Elimina files selezionati", the options
// dialog and the about box, the help window and the web site.

#include "catalogue/Catalogue.h"
#include "platform/DesktopIntegration.h"

#include <QObject>
#include <QPointer>
#include <functional>
#include <vector>

class QWidget;

namespace sonivo {

class DesktopDialogs;
class HelpWindow;
class ListDocument;
class StatusLine;

// The play queue as these commands need it, from whoever keeps it.
struct QueueAccess {
    std::function<std::vector<RowId>()> entries;  // the queued rows, in queue order
    std::function<void()> clear;                  // empties it
};

class ShellCommands final : public QObject {
public:
    ShellCommands(ListDocument& document, DesktopDialogs& dialogs, StatusLine& status, QueueAccess queue, DesktopSetup desktop,
        QWidget* window);
    ~ShellCommands() override;

    void copyFiles();
    void deleteSelected();
    void showOptions();
    void showAbout();
    void showHelp();
    void searchHelp();
    void openWebsite();

    // The help window once opened, for tests.
    HelpWindow* helpWindow() const;

private:
    HelpWindow& help();

    ListDocument& document_;
    DesktopDialogs& dialogs_;
    StatusLine& status_;
    QueueAccess queue_;
    DesktopIntegration desktop_;
    QWidget* window_;
    QPointer<HelpWindow> help_;
};

}  // namespace sonivo
