#pragma once
// The internal player's logic: the one PlayMp3, its state, the loaded song, the
// play queue with the entry last started, what the half-second tick does with
// them, and the operations the other windows use to play, suspend, resume and
// queue songs. It knows no widget: the player panel shows what it reports and
// forwards the user's actions to it.
//
// Rows are named by their identity, so a sort, scan or filter between two calls
// never makes it play or queue another row.

#include "catalogue/Catalogue.h"
#include "player/PlayQueue.h"

#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <span>

namespace sonivo {

class MediaControl;
class PlayMp3;

enum class PlayerState { Playing = 1, Paused = 2, Stopped = 3 };

// What the tick read from the player for the display.
struct PlayerDisplay {
    QString length = QStringLiteral("0:00");  // the loaded song's length as text
    QString position = QStringLiteral("00:00");
    qint64 lengthSeconds = 0;
    qint64 positionSeconds = 0;
};

class Transport final : public QObject {
    Q_OBJECT
public:
    // Makes the media-control service on first use.
    using MediaFactory = std::function<std::unique_ptr<MediaControl>()>;

    Transport(Catalogue& catalogue, MediaFactory media, QObject* parent = nullptr);
    ~Transport() override;

    PlayerState state() const { return state_; }
    // The player file: "" until a song is loaded.
    QString playerFile() const;
    // The row of the loaded song; 0 when none is loaded or its row is gone.
    RowId loadedRow() const { return loadedRow_; }
    // The loaded song's bit rate: "128 kbps", "0 kbps" before the first song.
    QString bitrateText() const { return bitrate_; }
    const PlayerDisplay& display() const { return display_; }
    const PlayQueue& queue() const { return queue_; }
    // The queue entry the user selected (or the player last selected); -1 for none.
    qsizetype selectedEntry() const;
    void selectEntry(qsizetype entry);

    // The half-second poll: reads the position and length, and at the end of a
    // song plays the queue's next entry.
    void tick();

    // The transport: Suona, Pausa, Stop, previous and next.
    void play();
    void pause();
    void stop();
    void previous();
    void next();
    // Plays the selected queue entry from its start (the queue's double click).
    void playSelectedEntry();
    // Moves to a position in the loaded song, in seconds.
    void seek(qint64 seconds);

    // Brings the queue in line with the check marks.
    void syncQueue();
    // "Rimuovi brano": the selected entry leaves the queue and its row is unchecked.
    void removeSelectedEntry();
    // "Rimuovi tutti", and emptying the queue before a search queues songs: every
    // row is unchecked and the queue is empty.
    void clearQueue();
    // A catalogue row was clicked: with an empty queue and the player stopped, its
    // song is loaded, not played.
    void rowClicked(RowId row);
    // A file was renamed: the player file follows it.
    void fileRenamed(const QString& from, const QString& to);

    // For the other windows: play a row directly; suspend and resume around a
    // change of the loaded file; queue a row, or every row of an album.
    void SuonaBrano(RowId row);
    void FermaBrano();
    void RiprendiBrano();
    void AggiungiLista(RowId row);
    // Queues rows in this order, as one call for each would, telling the
    // observers once.
    void AggiungiLista(std::span<const RowId> rows);
    void AggiungiBrani(const QString& nome);

    // Stops the player and closes the device; run when the window closes.
    void shutdown();

Q_SIGNALS:
    // The player state changed.
    void stateChanged(PlayerState state);
    // Another song was loaded (its file, bit rate and length are new).
    void songChanged();
    // The tick read a new position or length.
    void displayChanged();
    // Entries came or went; the selection may have moved.
    void queueChanged();
    void entrySelected(qsizetype entry);
    // Check marks of the catalogue changed here.
    void checksChanged();
    // Something the user should read: a file that could not be played, playing
    // without sound.
    void notice(const QString& text);

private:
    PlayMp3& player();
    bool load(qsizetype row);
    bool start();
    void stopDevice();
    void resetDisplay();
    void playFromQueue(qsizetype from, int step);
    void skip(int step);
    void endOfSong();
    void setState(PlayerState state);
    // Entries came or went: forgets a selected entry that left and tells so.
    void entriesChanged();
    // Tells once that the song plays without sound, and again only after sound
    // came back and was lost again.
    void checkSound();

    Catalogue& catalogue_;
    MediaFactory mediaFactory_;
    std::unique_ptr<MediaControl> media_;
    std::unique_ptr<PlayMp3> player_;
    PlayQueue queue_;
    RowId selected_ = 0;  // the selected entry's row, 0 for none

    PlayerState state_ = PlayerState::Stopped;
    PlayerDisplay display_;
    RowId loadedRow_ = 0;
    bool loadedFromQueue_ = false;
    QString bitrate_ = QStringLiteral("0 kbps");
    qint64 suspendedSeconds_ = 0;
    bool suspended_ = false;
    bool suspendedPaused_ = false;
    bool toldSilent_ = false;
};

}  // namespace sonivo
