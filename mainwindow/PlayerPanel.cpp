#include "mainwindow/PlayerPanel.h"

#include "mainwindow/Commands.h"
#include "dialogs/FitToLabel.h"
#include "mainwindow/QueueModel.h"

#include <QAction>
#include <QApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QListView>
#include <QSlider>
#include <QStyle>
#include <QToolButton>
#include <limits>
#include <utility>

namespace sonivo {
namespace {

const QString kNoSong = QStringLiteral("Nessun brano selezionato");

void setTextIfChanged(QLabel* label, const QString& text)
{
    if (label->text() != text)
        label->setText(text);
}

int sliderValue(qint64 seconds)
{
    return int(std::min<qint64>(seconds, std::numeric_limits<int>::max()));
}

QIcon stateIcon(PlayerState state)
{
    switch (state) {
    case PlayerState::Playing: return QApplication::style()->standardIcon(QStyle::SP_MediaPlay);
    case PlayerState::Paused: return QApplication::style()->standardIcon(QStyle::SP_MediaPause);
    case PlayerState::Stopped: break;
    }
    return QApplication::style()->standardIcon(QStyle::SP_MediaStop);
}

QString stateName(PlayerState state)
{
    switch (state) {
    case PlayerState::Playing: return QStringLiteral("In riproduzione");
    case PlayerState::Paused: return QStringLiteral("In pausa");
    case PlayerState::Stopped: break;
    }
    return QStringLiteral("Fermo");
}

}  // namespace

PlayerPanel::PlayerPanel(Transport& transport, const Catalogue& catalogue, QWidget* parent)
    : QObject(parent), transport_(transport), queueModel_(new QueueModel(transport.queue(), catalogue, this)),
      frame1_(new QGroupBox(QStringLiteral("Player interno"), parent)), lstPlay_(new QListView(parent))
{
    buildWidgets();
    buildQueue();
    connect(&transport_, &Transport::stateChanged, this, &PlayerPanel::showState);
    connect(&transport_, &Transport::songChanged, this, &PlayerPanel::showSong);
    connect(&transport_, &Transport::displayChanged, this, &PlayerPanel::showDisplay);
    connect(&transport_, &Transport::queueChanged, this, &PlayerPanel::showQueue);
    connect(&transport_, &Transport::entrySelected, this, &PlayerPanel::showSelection);
    showState(transport_.state());
    showSong();
    showDisplay();
}

void PlayerPanel::buildWidgets()
{
    frame1_->setObjectName(QStringLiteral("Frame1"));
    // The frame is as high as the design's (93 pixels at 96 dpi): its rows sit
    // close together so that the labels are never cut.
    auto* grid = new QGridLayout(frame1_);
    grid->setContentsMargins(6, 0, 6, 2);
    grid->setVerticalSpacing(1);
    const std::array<std::pair<const char*, QStyle::StandardPixmap>, 5> buttons{
        {{"Brano precedente", QStyle::SP_MediaSkipBackward}, {"Suona", QStyle::SP_MediaPlay}, {"Pausa", QStyle::SP_MediaPause},
            {"Stop", QStyle::SP_MediaStop}, {"Brano successivo", QStyle::SP_MediaSkipForward}}};
    for (size_t i = 0; i < buttons.size(); ++i) {
        auto* b = new QToolButton(frame1_);
        const QString tip = QString::fromUtf8(buttons[i].first);
        b->setObjectName(QStringLiteral("Command1_%1").arg(i));
        b->setIcon(QApplication::style()->standardIcon(buttons[i].second));
        b->setIconSize(QSize(14, 14));
        b->setAutoRaise(true);
        b->setToolTip(tip);
        b->setAccessibleName(tip);
        b->setEnabled(false);
        grid->addWidget(b, 0, int(i));
        command1_[i] = b;
    }
    imgMode_ = new QLabel(frame1_);
    imgMode_->setObjectName(QStringLiteral("imgMode"));
    grid->addWidget(imgMode_, 0, 5);

    slider1_ = new QSlider(Qt::Horizontal, frame1_);
    slider1_->setObjectName(QStringLiteral("Slider1"));
    slider1_->setAccessibleName(QStringLiteral("Posizione nel brano"));
    slider1_->setMaximum(0);
    slider1_->setEnabled(false);
    // Only the user's moves seek: a drag once it is let go, a click, a key or the
    // wheel at once. A press let go without a move seeks nowhere.
    connect(slider1_, &QAbstractSlider::actionTriggered, this, [this](int action) {
        if (action == QAbstractSlider::SliderMove && slider1_->isSliderDown())
            dragged_ = true;
        else
            transport_.seek(slider1_->sliderPosition());
    });
    connect(slider1_, &QAbstractSlider::sliderReleased, this, [this] {
        if (std::exchange(dragged_, false))
            transport_.seek(slider1_->sliderPosition());
    });
    grid->addWidget(slider1_, 1, 0, 1, 6);

    // The labels show values and carry no name of their own, so that a screen
    // reader reads what they show.
    auto* picture1 = new QWidget(frame1_);
    picture1->setObjectName(QStringLiteral("Picture1"));
    auto* labels = new QGridLayout(picture1);
    labels->setContentsMargins(0, 0, 0, 0);
    labels->setVerticalSpacing(0);
    auto label = [&](const char* name, const QString& text) {
        auto* l = new QLabel(text, picture1);
        l->setObjectName(QLatin1String(name));
        return l;
    };
    lblFile_ = label("lblFile", kNoSong);
    lblFile_->setMinimumWidth(1);
    lblDuration_ = label("lblDuration", QStringLiteral("Durata: 00:00"));
    lblPosition_ = label("lblPosition", QStringLiteral("00:00"));
    QFont bold = lblPosition_->font();
    bold.setBold(true);
    lblPosition_->setFont(bold);
    lblBitrate_ = label("lblBitrate", QStringLiteral("0 kbps"));
    labels->addWidget(lblFile_, 0, 0, 1, 3);
    labels->addWidget(lblDuration_, 1, 0);
    labels->addWidget(lblPosition_, 1, 1);
    labels->addWidget(lblBitrate_, 1, 2);
    grid->addWidget(picture1, 2, 0, 1, 6);
}

void PlayerPanel::useCommands(const Commands& commands, QMenu* queueMenu)
{
    // The buttons run the Player menu's commands and are enabled with them; the
    // slider moves within a loaded song, as "&Stop" can stop it.
    const std::array<Command, 5> steps{Command::PreviousSong, Command::Play, Command::Pause, Command::Stop, Command::NextSong};
    for (size_t i = 0; i < steps.size(); ++i) {
        QAction* step = commands.action(steps[i]);
        connect(command1_[i], &QToolButton::clicked, step, &QAction::trigger);
        followEnabled(command1_[i], step);
    }
    followEnabled(slider1_, commands.action(Command::Stop));
    stateMarks_ = {commands.action(Command::Play), commands.action(Command::Pause), commands.action(Command::Stop)};
    // A triggered mark toggles itself; it shows the player's state again.
    for (QAction* mark : stateMarks_)
        connect(mark, &QAction::triggered, this, [this] { showState(transport_.state()); });
    mnPop_ = queueMenu;
    removeEntry_ = commands.action(Command::RemoveQueueEntry);
    showState(transport_.state());
}

void PlayerPanel::showState(PlayerState state)
{
    imgMode_->setPixmap(stateIcon(state).pixmap(16, 16));
    imgMode_->setAccessibleName(stateName(state));
    for (size_t k = 0; k < 3; ++k)
        if (stateMarks_[k])
            stateMarks_[k]->setChecked(int(k) + 1 == int(state));
}

void PlayerPanel::showSong()
{
    lblBitrate_->setText(transport_.bitrateText());
    refresh();
}

void PlayerPanel::showDisplay()
{
    const PlayerDisplay& d = transport_.display();
    setTextIfChanged(lblDuration_, QStringLiteral("Durata: ") + d.length);
    setTextIfChanged(lblPosition_, d.position);
    if (slider1_->isSliderDown())
        return;
    // The tick's writes are no moves of the user's and seek nowhere.
    slider1_->setMaximum(sliderValue(d.lengthSeconds));
    slider1_->setValue(sliderValue(d.positionSeconds));
}

void PlayerPanel::refresh()
{
    const QString file = transport_.playerFile();
    if (file.isEmpty()) {
        setTextIfChanged(lblFile_, kNoSong);
        lblFile_->setToolTip(QString());
        return;
    }
    const QString name = file.mid(file.lastIndexOf(QLatin1Char('/')) + 1);
    fitToLabel(name.left(name.size() - 4), *lblFile_);
}

}  // namespace sonivo
