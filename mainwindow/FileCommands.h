#pragma once
// The "&File" menu's commands as the window carries them out: the document does
// the work, this shows it (busy pointer, status texts, the scan's frame) and
// keeps the title, the status line and the icons up to date after it.

#include "catalogue/ListDocument.h"

#include <QObject>

class QWidget;

namespace sonivo {

class CatalogueView;
class DesktopDialogs;
class ScanProgressFrame;
class StatusLine;

class FileCommands final : public QObject {
    Q_OBJECT
public:
    FileCommands(ListDocument& document, DesktopDialogs& dialogs, CatalogueView& view, StatusLine& status, ScanProgressFrame& frame,
        QWidget* window);

    // The list named on the command line, read at start.
    void loadAtStart(const QString& path);
    // A list opened from outside while the program runs: read after the save
    // prompt, or once the running scan has ended.
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

    ListDocument& document_;
    DesktopDialogs& dialogs_;
    CatalogueView& view_;
    StatusLine& status_;
    ScanProgressFrame& frame_;
    QWidget* window_;
    QString afterScan_;  // the list to open when the scan ends
};

}  // namespace sonivo
