#include "mainwindow/PlayerPanel.h"

#include "common/DesktopDialogs.h"
#include "mainwindow/Commands.h"
#include "mainwindow/FitToLabel.h"
#include "mainwindow/QueueModel.h"
#include "platform/AudioMediaControl.h"
#include "platform/NativeFile.h"
#include "player/PlayMp3.h"

#include <QAction>
#include <QApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QListView>
#include <QMenu>
#include <QSlider>
#include <QStyle>
#include <QToolButton>
#include <utility>

namespace sonivo {
namespace {

const QString kNoSong = QStringLiteral("Nessun brano selezionato");
const QString kZeroPosition = QStringLiteral("00:00");

void setEnabledIfChanged(QWidget* w, bool enabled)
{
    if (w->isEnabled() != enabled)
        w->setEnabled(enabled);
}

QString bitrateText(const SongRecord& row)
{
    return row.text(ColBitRate) + QStringLiteral(" kbps");
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

}  // namespace

PlayerPanel::PlayerPanel(Catalogue& catalogue, DesktopDialogs& dialogs, AudioOptions audio, QWidget* parent)
    : QObject(parent), catalogue_(catalogue), dialogs_(dialogs), audio_(std::move(audio)),
      queueModel_(new QueueModel(queue_, catalogue_, this)), frame1_(new QGroupBox(QStringLiteral("Player interno"), parent)),
      lstPlay_(new QListView(parent))
{
    buildWidgets();
    setState(PlayerState::Stopped);
}

PlayerPanel::~PlayerPanel()
{
    shutdown();
}

void PlayerPanel::buildWidgets()
{
    lstPlay_->setObjectName(QStringLiteral("lstPlay"));
    lstPlay_->setAccessibleName(QStringLiteral("Brani da suonare"));
    lstPlay_->setModel(queueModel_);
    lstPlay_->setSelectionMode(QAbstractItemView::SingleSelection);
    lstPlay_->setUniformItemSizes(true);  // a queue of every row lays out at once
    lstPlay_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lstPlay_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(lstPlay_, &QAbstractItemView::doubleClicked, this, &PlayerPanel::playSelectedEntry);
    connect(lstPlay_, &QWidget::customContextMenuRequested, this, &PlayerPanel::showQueueMenu);
    queueChanged();

    frame1_->setObjectName(QStringLiteral("Frame1"));
    // The frame is as high as the design's (93 pixels at 96 dpi): its rows sit
    // close together so that the labels are never cut.
    auto* grid = new QGridLayout(frame1_);
    grid->setContentsMargins(6, 0, 6, 2);
    grid->setVerticalSpacing(1);
    const std::array<std::pair<const char*, QStyle::StandardPixmap>, 5> buttons{
        {{"Brano precedente", QStyle::SP_MediaSkipBackward}, {"Suona", QStyle::SP_MediaPlay}, {"Pausa", QStyle::SP_MediaPause},
            {"Stop", QStyle::SP_MediaStop}, {"Brano successivo", QStyle::SP_MediaSkipForward}}};
    const std::array<void (PlayerPanel::*)(), 5> steps{
        &PlayerPanel::previous, &PlayerPanel::play, &PlayerPanel::pause, &PlayerPanel::stop, &PlayerPanel::next};
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
        connect(b, &QToolButton::clicked, this, steps[i]);
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
            seekToSlider(slider1_->sliderPosition());
    });
    connect(slider1_, &QAbstractSlider::sliderReleased, this, [this] {
        if (std::exchange(dragged_, false))
            seekToSlider(slider1_->sliderPosition());
    });
    grid->addWidget(slider1_, 1, 0, 1, 6);

    auto* picture1 = new QWidget(frame1_);
    picture1->setObjectName(QStringLiteral("Picture1"));
    auto* labels = new QGridLayout(picture1);
    labels->setContentsMargins(0, 0, 0, 0);
    labels->setVerticalSpacing(0);
    auto label = [&](const char* name, const QString& text, const char* accessible) {
        auto* l = new QLabel(text, picture1);
        l->setObjectName(QLatin1String(name));
        l->setAccessibleName(QString::fromUtf8(accessible));
        return l;
    };
    lblFile_ = label("lblFile", kNoSong, "Brano caricato");
    lblFile_->setMinimumWidth(1);
    lblDuration_ = label("lblDuration", QStringLiteral("Durata: 00:00"), "Durata");
    lblPosition_ = label("lblPosition", kZeroPosition, "Posizione");
    QFont bold = lblPosition_->font();
    bold.setBold(true);
    lblPosition_->setFont(bold);
    lblBitrate_ = label("lblBitrate", QStringLiteral("0 kbps"), "Bit rate");
    labels->addWidget(lblFile_, 0, 0, 1, 3);
    labels->addWidget(lblDuration_, 1, 0);
    labels->addWidget(lblPosition_, 1, 1);
    labels->addWidget(lblBitrate_, 1, 2);
    grid->addWidget(picture1, 2, 0, 1, 6);
}

void PlayerPanel::setMenus(Commands& commands, QMenu* queueMenu)
{
    commands.run(Command::Play, this, &PlayerPanel::play);
    commands.run(Command::Pause, this, &PlayerPanel::pause);
    commands.run(Command::Stop, this, &PlayerPanel::stop);
    commands.run(Command::PreviousSong, this, &PlayerPanel::previous);
    commands.run(Command::NextSong, this, &PlayerPanel::next);
    commands.run(Command::RemoveQueueEntry, this, &PlayerPanel::removeSelectedEntry);
    commands.run(Command::RemoveAllQueueEntries, this, &PlayerPanel::removeAllEntries);
    stateMarks_ = {commands.action(Command::Play), commands.action(Command::Pause), commands.action(Command::Stop)};
    mnPop_ = queueMenu;
    removeEntry_ = commands.action(Command::RemoveQueueEntry);
    setState(state_);
}

PlayMp3& PlayerPanel::player()
{
    if (!player_) {
        media_ = std::make_unique<AudioMediaControl>(audio_);
        player_ = std::make_unique<PlayMp3>(*media_);
    }
    return *player_;
}

QString PlayerPanel::playerFile() const
{
    return player_ ? player_->Filename() : QString();
}

void PlayerPanel::setState(PlayerState state)
{
    state_ = state;
    imgMode_->setPixmap(stateIcon(state).pixmap(16, 16));
    imgMode_->setAccessibleName(state == PlayerState::Playing ? QStringLiteral("In riproduzione")
            : state == PlayerState::Paused                    ? QStringLiteral("In pausa")
                                                              : QStringLiteral("Fermo"));
    for (size_t k = 0; k < 3; ++k)
        if (stateMarks_[k])
            stateMarks_[k]->setChecked(int(k) + 1 == int(state));
}

void PlayerPanel::load(qsizetype row)
{
    const SongRecord& song = catalogue_.row(row);
    player().setFilename(song.fullName());
    lblBitrate_->setText(bitrateText(song));
}

bool PlayerPanel::start()
{
    suspended_ = false;  // a suspended song not resumed is given up
    const bool playing = player().mmPlay() == PlayMp3::Success();
    setState(playing ? PlayerState::Playing : PlayerState::Stopped);
    return playing;
}

void PlayerPanel::resetPosition()
{
    slider1_->setValue(0);
    lblPosition_->setText(kZeroPosition);
}

void PlayerPanel::play()
{
    if (state_ == PlayerState::Paused) {
        pause();
        return;
    }
    // A song already playing goes on; opening it again would fail.
    if (state_ == PlayerState::Stopped)
        start();
}

void PlayerPanel::pause()
{
    if (state_ == PlayerState::Stopped)
        return;
    player().mmPause();
    setState(state_ == PlayerState::Playing ? PlayerState::Paused : PlayerState::Playing);
}

void PlayerPanel::stopDevice()
{
    if (player_)
        player_->mmStop();
}

void PlayerPanel::stop()
{
    suspended_ = false;
    stopDevice();
    resetPosition();
    setState(PlayerState::Stopped);
}

void PlayerPanel::previous()
{
    skip(-1);
}

void PlayerPanel::next()
{
    skip(1);
}

void PlayerPanel::skip(int step)
{
    stopDevice();
    resetPosition();
    playFromQueue(queue_.neighbour(selectedEntry(), step), step);
}

void PlayerPanel::playFromQueue(qsizetype from, int step)
{
    qsizetype entry = from;
    for (qsizetype tried = 0; entry >= 0 && tried < queue_.size(); ++tried) {
        const qsizetype row = catalogue_.position(queue_.at(entry));
        if (pathExists(catalogue_.row(row).fullName())) {
            load(row);
            selectEntry(entry);
            queue_.setPosition(entry);
            if (start())
                return;
        }
        entry = queue_.neighbour(entry, step);
    }
    stopDevice();
    setState(PlayerState::Stopped);
}

void PlayerPanel::playSelectedEntry()
{
    const qsizetype entry = selectedEntry();
    if (entry < 0 || !pathExists(catalogue_.row(catalogue_.position(queue_.at(entry))).fullName()))
        return;
    if (state_ != PlayerState::Stopped)
        stop();
    playFromQueue(entry, 1);
}

void PlayerPanel::tick()
{
    if (player_) {
        lblDuration_->setText(QStringLiteral("Durata: ") + player_->Length());
        if (player_->IsPlaying()) {
            if (!slider1_->isSliderDown()) {
                slider1_->setMaximum(int(std::min<qint64>(player_->LengthInSec(), std::numeric_limits<int>::max())));
                slider1_->setValue(int(std::min<qint64>(player_->PositionInSec(), std::numeric_limits<int>::max())));
            }
            lblPosition_->setText(player_->Position());
        } else if (state_ == PlayerState::Playing && !suspended_) {
            // The device stopped by itself: the song ran to its end, or its file failed.
            endOfSong();
        }
    } else {
        lblDuration_->setText(QStringLiteral("Durata: ") + PlayMp3::timeText(0));
    }

    const QString file = playerFile();
    enableTransport(!file.isEmpty());
    if (file.isEmpty()) {
        if (lblFile_->text() != kNoSong)
            lblFile_->setText(kNoSong);
        lblFile_->setToolTip(QString());
        return;
    }
    const QString name = file.mid(file.lastIndexOf(QLatin1Char('/')) + 1);
    fitToLabel(name.left(name.size() - 4), *lblFile_);
}

void PlayerPanel::enableTransport(bool loaded)
{
    const bool skips = loaded && queue_.size() >= 2;
    for (int i : {1, 2, 3})
        setEnabledIfChanged(command1_[size_t(i)], loaded);
    setEnabledIfChanged(command1_[0], skips);
    setEnabledIfChanged(command1_[4], skips);
    setEnabledIfChanged(slider1_, loaded);
}

void PlayerPanel::endOfSong()
{
    player().mmStop();
    resetPosition();
    if (queue_.isEmpty()) {
        setState(PlayerState::Stopped);
        return;
    }
    playFromQueue(queue_.neighbour(queue_.position(), 1), 1);
}

void PlayerPanel::seekToSlider(int seconds)
{
    if (player_)
        player_->SeekTo(qint64(seconds) * 1000);
}

void PlayerPanel::SuonaBrano(qsizetype i)
{
    if (state_ != PlayerState::Stopped)
        stop();
    if (i < 1 || i > catalogue_.size())
        return;
    const QString path = catalogue_.row(i - 1).fullName();
    if (!pathExists(path)) {
        // Playing the song loaded before would be playing the wrong one.
        dialogs_.warn(QStringLiteral("File non trovato: ") + path);
        return;
    }
    load(i - 1);
    const QString result = player().mmPlay();
    setState(result == PlayMp3::Success() ? PlayerState::Playing : PlayerState::Stopped);
    if (state_ == PlayerState::Stopped)
        dialogs_.warn(path + QStringLiteral(": ") + result);
}

void PlayerPanel::FermaBrano()
{
    if (state_ == PlayerState::Stopped || suspended_)
        return;
    suspendedSeconds_ = player().PositionInSec();
    suspendedPaused_ = state_ == PlayerState::Paused;
    suspended_ = true;
    player().mmStop();
}

void PlayerPanel::RiprendiBrano()
{
    if (!suspended_)
        return;
    suspended_ = false;
    if (player().mmPlay() != PlayMp3::Success()) {
        setState(PlayerState::Stopped);
        return;
    }
    // Paused before the seek, so that a paused song makes no sound at its start.
    if (suspendedPaused_)
        player().mmPause();
    player().SeekTo(suspendedSeconds_ * 1000);
}

void PlayerPanel::shutdown()
{
    player_.reset();  // stops and closes the device
    media_.reset();   // joins the decoder
    state_ = PlayerState::Stopped;
}

}  // namespace sonivo
