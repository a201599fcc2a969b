#include "application/SonivoApp.h"

#include "shell/SelectedFiles.h"

#include <QTimer>

namespace sonivo {

SonivoApp::SonivoApp(DesktopDialogs& dialogs, const MountTable& mounts, Transport::MediaFactory media, QObject* parent)
    : QObject(parent), drives_(mounts), document_(dialogs, drives_), transport_(document_.catalogue(), std::move(media)),
      narrowing_(document_), external_(document_.catalogue(), dialogs), timer_(new QTimer(this))
{
    // The folder chooser narrows the rows itself; the queue and the window follow.
    connect(&narrowing_, &FolderNarrowing::rowsChanged, this, [this] { rowsDone(RowsChange::Replaced); });
    connect(&transport_, &Transport::checksChanged, this, &SonivoApp::checksChanged);
    connect(timer_, &QTimer::timeout, this, &SonivoApp::tick);
    timer_->start(500);
}

SonivoApp::~SonivoApp() = default;

void SonivoApp::tick()
{
    transport_.tick();
    Q_EMIT ticked();
}

void SonivoApp::checksDone()
{
    transport_.syncQueue();
    Q_EMIT checksChanged();
}

void SonivoApp::rowsDone(RowsChange change)
{
    transport_.syncQueue();
    Q_EMIT rowsChanged(change);
}

bool SonivoApp::newList()
{
    if (!document_.newList())
        return false;
    rowsDone(RowsChange::Emptied);
    return true;
}

bool SonivoApp::openList()
{
    const bool opened = document_.openList();
    rowsDone(RowsChange::Replaced);  // also for the rows of a list read in part
    return opened;
}

bool SonivoApp::load(const QString& path)
{
    const bool loaded = document_.load(path);
    rowsDone(RowsChange::Replaced);
    return loaded;
}

std::optional<qint64> SonivoApp::addFolder(bool withSubfolders, ScanDialogs& scanDialogs)
{
    const std::optional<qint64> added = document_.addFolder(withSubfolders, scanDialogs, readId3v2_);
    rowsDone(RowsChange::Replaced);  // also when no folder was chosen
    return added;
}

void SonivoApp::restoreList()
{
    narrowing_.restore();
}

void SonivoApp::setChecked(qsizetype row, bool checked)
{
    catalogue().setChecked(row, checked);
    checksDone();
}

void SonivoApp::checkAll()
{
    catalogue().checkAll();
    checksDone();
}

void SonivoApp::uncheckAll()
{
    catalogue().uncheckAll();
    checksDone();
}

void SonivoApp::invertChecks()
{
    catalogue().invertChecks();
    checksDone();
}

void SonivoApp::deleteChecked()
{
    removeCheckedSongs(document_);
    transport_.clearQueue();
    rowsDone(RowsChange::Removed);
}

void SonivoApp::rowClicked(qsizetype row)
{
    transport_.rowClicked(catalogue().id(row));
}

void SonivoApp::openSongExternally(qsizetype row)
{
    transport_.stop();
    external_.openSong(row);
}

void SonivoApp::openQueueExternally()
{
    transport_.stop();
    external_.openQueue();
}

QStringList SonivoApp::queuedFiles() const
{
    return sonivo::queuedFiles(catalogue(), queuedRows());
}

QString SonivoApp::startFolder(FolderUse use) const
{
    const QString& last = lastFolders_[size_t(use)];
    return last.isEmpty() ? document_.dialogFolder() : last;
}

void SonivoApp::shutdown()
{
    timer_->stop();
    transport_.shutdown();
    external_.removePlaylist();
}

}  // namespace sonivo
