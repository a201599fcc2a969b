#pragma once
// The internal player of the main window: the frame with the transport buttons,
// the position slider and the song labels, the play queue beside it, and what the
// Player menu, the queue's menu and the half-second tick do with the one player.
// The media service and the player are made on first use, on the window's thread.

#include "platform/AudioOptions.h"
#include "player/PlayQueue.h"

#include <QObject>
#include <array>
#include <memory>

class QAction;
class QGroupBox;
class QLabel;
class QListView;
class QMenu;
class QSlider;
class QToolButton;

namespace sonivo {

class Commands;
class DesktopDialogs;
class MediaControl;
class PlayMp3;
class QueueModel;

enum class PlayerState { Playing = 1, Paused = 2, Stopped = 3 };


class PlayerPanel final : public QObject {
    Q_OBJECT
public:
    PlayerPanel(Catalogue& catalogue, DesktopDialogs& dialogs, AudioOptions audio, QWidget* parent);
    ~PlayerPanel() override;

    QGroupBox* frame() const { return frame1_; }
    QListView* queueView() const { return lstPlay_; }
    // Connects the Player menu's transport and the queue's right-button menu
    // ("Rimuovi brano", "Rimuovi tutti"); the rules enable them.
    void setMenus(Commands& commands, QMenu* queueMenu);

    PlayerState state() const { return state_; }
    const PlayQueue& queue() const { return queue_; }
    // The player file: "" until a song is loaded.
    QString playerFile() const;
    QSlider* slider() const { return slider1_; }
    QToolButton* transportButton(int index) const { return command1_[size_t(index)]; }
    QLabel* fileLabel() const { return lblFile_; }
    QLabel* durationLabel() const { return lblDuration_; }
    QLabel* positionLabel() const { return lblPosition_; }
    QLabel* bitrateLabel() const { return lblBitrate_; }

    // The half-second poll: the labels, the slider, the end of a song, the
    // transport's enabled states.
    void tick();

    // Transport buttons 0 to 4.
    void previous();
    void play();
    void pause();
    void stop();
    void next();
    // Plays the queue entry selected in the queue view (its double-click).
    void playSelectedEntry();

    // Rebuilds the queue from the check marks.
    void syncQueue();
    // The rows' texts may have changed: the queue shows them again.
    void refreshQueueTexts();
    // A catalogue row was clicked: with an empty queue and the player stopped, its
    // song is loaded, not played.
    void rowClicked(qsizetype row);

    // For the other windows: play catalogue row i (from 1) directly; suspend and
    // resume around a change of the loaded file; queue row i, or every row of an album.
    void SuonaBrano(qsizetype i);
    void FermaBrano();
    void RiprendiBrano();
    void AggiungiLista(qsizetype i);
    void AggiungiBrani(const QString& nome);

    // Stops the player and closes the device; run when the window closes.
    void shutdown();

Q_SIGNALS:
    // The panel changed check marks of the catalogue.
    void checksChanged();

private:
    void buildWidgets();
    PlayMp3& player();
    void load(qsizetype row);
    bool start();
    // Stops and closes the device, if there is one yet.
    void stopDevice();
    // Plays the first entry that opens, from `from` on in the direction of step,
    // at most once round the queue; stops when none does.
    void playFromQueue(qsizetype from, int step);
    void skip(int step);
    void endOfSong();
    void resetPosition();
    void setState(PlayerState state);
    qsizetype selectedEntry() const;
    void selectEntry(qsizetype entry);
    void queueChanged();
    void showQueueMenu(const QPoint& at);
    void removeSelectedEntry();
    void removeAllEntries();
    void seekToSlider(int seconds);
    void enableTransport(bool loaded);

    Catalogue& catalogue_;
    DesktopDialogs& dialogs_;
    AudioOptions audio_;
    std::unique_ptr<MediaControl> media_;
    std::unique_ptr<PlayMp3> player_;
    PlayQueue queue_;
    QueueModel* queueModel_;

    PlayerState state_ = PlayerState::Stopped;
    qint64 suspendedSeconds_ = 0;
    bool suspended_ = false;
    bool suspendedPaused_ = false;
    bool dragged_ = false;  // the slider moved under the user's hand

    QGroupBox* frame1_;
    QListView* lstPlay_;
    std::array<QToolButton*, 5> command1_{};
    QSlider* slider1_ = nullptr;
    QLabel* lblFile_ = nullptr;
    QLabel* lblDuration_ = nullptr;
    QLabel* lblPosition_ = nullptr;
    QLabel* lblBitrate_ = nullptr;
    QLabel* imgMode_ = nullptr;
    std::array<QAction*, 3> stateMarks_{};  // "&Play", "P&ausa", "&Stop": the state's mark
    QMenu* mnPop_ = nullptr;
    QAction* removeEntry_ = nullptr;
};

}  // namespace sonivo
