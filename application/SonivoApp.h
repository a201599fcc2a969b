#pragma once
// The program without its window: the open list, the internal player with its
// queue, the folder narrowing, the half-second tick, and the operations that
// span them. The window builds its widgets on it, shows its state and forwards
// the user's actions; its tests and the command line need no window.
//
// Whatever changes the rows or the checks goes through here, so the play queue
// is in line with the check marks before anyone hears of the change, and each
// change is told once: rowsChanged or checksChanged.

#include "application/ExternalPlayer.h"
#include "catalogue/DriveInfo.h"
#include "catalogue/FolderNarrowing.h"
#include "catalogue/ListDocument.h"
#include "player/Transport.h"

#include <QObject>
#include <QStringList>
#include <array>

class QTimer;

namespace sonivo {

class ScanDialogs;

// What a change did to the rows, so that whatever shows them knows what to redo.
enum class RowsChange {
    Emptied,   // a new list: no rows, nothing shown for them
    Replaced,  // rows came, went or were read again: new ones need their icons
    Removed,   // rows left and none came: only the totals change
};

class SonivoApp final : public QObject {
    Q_OBJECT
public:
    SonivoApp(DesktopDialogs& dialogs, const MountTable& mounts, Transport::MediaFactory media, QObject* parent = nullptr);
    ~SonivoApp() override;

    ListDocument& document() { return document_; }
    const ListDocument& document() const { return document_; }
    Catalogue& catalogue() { return document_.catalogue(); }
    const Catalogue& catalogue() const { return document_.catalogue(); }
    Transport& transport() { return transport_; }
    const Transport& transport() const { return transport_; }
    FolderNarrowing& narrowing() { return narrowing_; }
    ExternalPlayer& externalPlayer() { return external_; }

    // The half-second poll: the player moves on, then ticked() lets the window draw.
    void tick();

    // The list: each as the document does it (see ListDocument), then told.
    bool newList();
    bool openList();
    bool load(const QString& path);
    std::optional<qint64> addFolder(bool withSubfolders, ScanDialogs& scanDialogs);
    // Whether a scan reads the ID3v2 tag of a file without an ID3v1 tag.
    void setReadId3v2(bool read) { readId3v2_ = read; }
    bool readsId3v2() const { return readId3v2_; }
    // "&Mostra tutti": the list's rows again, from its file.
    void restoreList();

    // The check marks, from the catalogue's boxes and the "&Opzioni" menu.
    void setChecked(qsizetype row, bool checked);
    void checkAll();
    void uncheckAll();
    void invertChecks();
    // "&Elimina files selezionati": the checked rows leave the list (their files
    // stay) and the queue is empty.
    void deleteChecked();

    // A catalogue row was clicked: the player may load its song.
    void rowClicked(qsizetype row);
    // The desktop's player, with ours stopped first so that the file is not held
    // by two players: the song of a row, or the checked rows as a playlist.
    void openSongExternally(qsizetype row);
    void openQueueExternally();

    // The queued rows in queue order: the reports' "Solo brani selezionati".
    const std::vector<RowId>& queuedRows() const { return transport_.queue().entries(); }
    // Their files, for "Copia &files nella cartella...".
    QStringList queuedFiles() const;

    // Where the report dialog and the copy's folder chooser start: the folder
    // last used for them, else the list's folder.
    enum class FolderUse { Reports, Copies };
    QString startFolder(FolderUse use) const;
    void setLastFolder(FolderUse use, const QString& folder) { lastFolders_[size_t(use)] = folder; }

    // Stops the tick and the player and removes the external player's playlist;
    // run when the window closes.
    void shutdown();

Q_SIGNALS:
    void rowsChanged(sonivo::RowsChange change);
    void checksChanged();
    void ticked();

private:
    // The queue brought in line with the rows or the checks, then the change told.
    void rowsDone(RowsChange change);
    void checksDone();

    DriveInfo drives_;
    ListDocument document_;
    Transport transport_;
    FolderNarrowing narrowing_;
    ExternalPlayer external_;
    QTimer* timer_;
    std::array<QString, 2> lastFolders_;
    bool readId3v2_ = false;
};

}  // namespace sonivo
