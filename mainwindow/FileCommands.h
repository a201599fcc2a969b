#pragma once
// The "&File" menu's commands as the window carries them out: the application
// does the work, this shows it while it runs (busy pointer, status texts, the
// scan's frame) and keeps the title up to date.

#include "application/SonivoApp.h"

#include <QObject>

class QWidget;

namespace sonivo {

class DesktopDialogs;
class ScanProgressFrame;
class StatusLine;

class FileCommands final : public QObject {
    Q_OBJECT
public:
    FileCommands(SonivoApp& app, DesktopDialogs& dialogs, StatusLine& status, ScanProgressFrame& frame, QWidget* window);

    // The list named on the command line, read at start.
    void loadAtStart(const QString& path);
    // A list opened from outside while the program runs: read after the save
    // prompt, or once the running scan or read has ended.
    void openFromOutside(const QString& path);

    void newList();
    void openList();
    void saveList();
    void saveListAs();
    void addFolder();
    void addFolderTree();

private:
    void workStarted(ListDocument::Work work);
    void workFinished(ListDocument::Work work);
    void scan(bool withSubfolders);

    SonivoApp& app_;
    ListDocument& document_;
    DesktopDialogs& dialogs_;
    StatusLine& status_;
    ScanProgressFrame& frame_;
    QWidget* window_;
    QString afterWork_;  // the list to open when the scan or the read ends
};

}  // namespace sonivo
