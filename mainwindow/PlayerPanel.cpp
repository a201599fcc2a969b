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

void setEnabledIfChanged(QWidget* w, bool enabled)
{
    if (w->isEnabled() != enabled)
        w->setEnabled(enabled);
}

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
    const std::array<void (Transport::*)(), 5> steps{
        &Transport::previous, &Transport::play, &Transport::pause, &Transport::stop, &Transport::next};
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
        connect(b, &QToolButton::clicked, &transport_, steps[i]);
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

void PlayerPanel::setMenus(Commands& commands, QMenu* queueMenu)
{
    commands.run(Command::Play, &transport_, &Transport::play);
    commands.run(Command::Pause, &transport_, &Transport::pause);
    commands.run(Command::Stop, &transport_, &Transport::stop);
    commands.run(Command::PreviousSong, &transport_, &Transport::previous);
    commands.run(Command::NextSong, &transport_, &Transport::next);
    commands.run(Command::RemoveQueueEntry, &transport_, &Transport::removeSelectedEntry);
    commands.run(Command::RemoveAllQueueEntries, &transport_, &Transport::clearQueue);
    stateMarks_ = {commands.action(Command::Play), commands.action(Command::Pause), commands.action(Command::Stop)};
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
    enableTransport(!file.isEmpty());
    if (file.isEmpty()) {
        setTextIfChanged(lblFile_, kNoSong);
        lblFile_->setToolTip(QString());
        return;
    }
    const QString name = file.mid(file.lastIndexOf(QLatin1Char('/')) + 1);
    fitToLabel(name.left(name.size() - 4), *lblFile_);
}

void PlayerPanel::enableTransport(bool loaded)
{
    const bool skips = loaded && transport_.queue().size() >= 2;
    for (int i : {1, 2, 3})
        setEnabledIfChanged(command1_[size_t(i)], loaded);
    setEnabledIfChanged(command1_[0], skips);
    setEnabledIfChanged(command1_[4], skips);
    setEnabledIfChanged(slider1_, loaded);
}

}  // namespace sonivo
