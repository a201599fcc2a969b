#pragma once
// The internal player's widgets in the main window: the frame with the transport
// buttons, the position slider and the song labels, and the play queue beside
// it. It shows what the transport reports and hands the user's actions to it;
// the player's rules live in the transport.

#include "player/Transport.h"

#include <QObject>
#include <array>

class QAction;
class QGroupBox;
class QLabel;
class QListView;
class QMenu;
class QSlider;
class QToolButton;

namespace sonivo {

class Commands;
class QueueModel;

class PlayerPanel final : public QObject {
    Q_OBJECT
public:
    PlayerPanel(Transport& transport, const Catalogue& catalogue, QWidget* parent);

    QGroupBox* frame() const { return frame1_; }
    QListView* queueView() const { return lstPlay_; }
    // The transport buttons run the Player menu's commands, whose marks show the
    // player's state; the queue's right-button menu ("Rimuovi brano", "Rimuovi
    // tutti") is queueMenu. The window's rules enable them all.
    void useCommands(const Commands& commands, QMenu* queueMenu);

    QSlider* slider() const { return slider1_; }
    QToolButton* transportButton(int index) const { return command1_[size_t(index)]; }
    QLabel* fileLabel() const { return lblFile_; }
    QLabel* durationLabel() const { return lblDuration_; }
    QLabel* positionLabel() const { return lblPosition_; }
    QLabel* bitrateLabel() const { return lblBitrate_; }

    // The tick's part that draws: the song's name, after the transport's own tick.
    void refresh();
    // The rows' texts may have changed: the queue shows them again.
    void refreshQueueTexts();

protected:
    // Enter on a queue entry plays it, as a double click does; Shift+F10 opens
    // the queue's menu, as the Menu key does.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildWidgets();
    void buildQueue();
    void showState(PlayerState state);
    void showSong();
    void showDisplay();
    void showQueue();
    void showSelection(qsizetype entry);
    void showQueueMenu(const QPoint& at);

    Transport& transport_;
    QueueModel* queueModel_;
    bool dragged_ = false;       // the slider moved under the user's hand
    bool showingQueue_ = false;  // the view's selection is being brought in line

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
