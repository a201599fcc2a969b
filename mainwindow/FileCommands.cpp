#include "mainwindow/FileCommands.h"

#include "mainwindow/ScanProgressFrame.h"
#include "mainwindow/StatusLine.h"
#include "mainwindow/WindowScanDialogs.h"

#include <QApplication>
#include <QWidget>

#include <utility>

namespace sonivo {

FileCommands::FileCommands(SonivoApp& app, DesktopDialogs& dialogs, StatusLine& status, ScanProgressFrame& frame, QWidget* window)
    : QObject(window), app_(app), document_(app.document()), dialogs_(dialogs), status_(status), frame_(frame), window_(window)
{
    connect(&document_, &ListDocument::workStarted, this, &FileCommands::workStarted);
    connect(&document_, &ListDocument::workFinished, this, &FileCommands::workFinished);
    connect(&document_, &ListDocument::listPathChanged, this, [this] { window_->setWindowTitle(document_.title()); });
}

void FileCommands::workStarted(ListDocument::Work work)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    switch (work) {
    case ListDocument::Work::Loading:
        // The icons made so far stay: a list that cannot be read leaves the rows as they were.
        status_.showLoading();
        QApplication::processEvents();
        break;
    case ListDocument::Work::Scanning:
        // The frame, centred on the catalogue view by the window's layout.
        frame_.showProgress(0, 0);
        frame_.show();
        frame_.raise();
        break;
    case ListDocument::Work::Saving: break;
    }
}

void FileCommands::workFinished(ListDocument::Work work)
{
    switch (work) {
    case ListDocument::Work::Loading:
        // The columns are fitted with the icons, once, by whoever loaded the list.
        status_.refresh(document_.catalogue());
        break;
    case ListDocument::Work::Scanning:
        frame_.hide();
        status_.refresh(document_.catalogue());
        break;
    case ListDocument::Work::Saving: break;
    }
    if (!afterWork_.isEmpty())
        QMetaObject::invokeMethod(this, [this, path = std::exchange(afterWork_, {})] { openFromOutside(path); }, Qt::QueuedConnection);
    QApplication::restoreOverrideCursor();
}

void FileCommands::loadAtStart(const QString& path)
{
    app_.load(path);
}

void FileCommands::openFromOutside(const QString& path)
{
    if (document_.isScanning() || document_.isLoading()) {
        afterWork_ = path;
        return;
    }
    if (!document_.confirmDiscard())
        return;
    app_.load(path);
}

void FileCommands::newList()
{
    if (app_.newList())
        QApplication::processEvents();
}

void FileCommands::openList()
{
    app_.openList();
}

void FileCommands::saveList()
{
    document_.save();
}

void FileCommands::saveListAs()
{
    document_.saveAs();
}

void FileCommands::scan(bool withSubfolders)
{
    WindowScanDialogs scanDialogs(dialogs_, frame_, status_);
    app_.addFolder(withSubfolders, scanDialogs);
}

void FileCommands::addFolder()
{
    scan(false);
}

void FileCommands::addFolderTree()
{
    scan(true);
}

}  // namespace sonivo
