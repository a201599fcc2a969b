#include "player/Transport.h"

#include "platform/NativeFile.h"
#include "audio/MediaControl.h"
#include "player/PlayMp3.h"

#include <sys/stat.h>
#include <unordered_set>

namespace sonivo {
namespace {

const QString kNotFound = QStringLiteral("File non trovato: ");
const QString kWithoutSound = QStringLiteral("Riproduzione senza audio: nessuna uscita audio disponibile");

bool isRegularFile(const QString& path)
{
    const std::optional<mode_t> mode = fileMode(path);
    return mode && S_ISREG(*mode);
}

}  // namespace

Transport::Transport(Catalogue& catalogue, MediaFactory media, QObject* parent)
    : QObject(parent), catalogue_(catalogue), mediaFactory_(std::move(media))
{
}

Transport::~Transport()
{
    shutdown();
}

PlayMp3& Transport::player()
{
    if (!player_) {
        media_ = mediaFactory_();
        player_ = std::make_unique<PlayMp3>(*media_);
    }
    return *player_;
}

QString Transport::playerFile() const
{
    return player_ ? player_->Filename() : QString();
}

qsizetype Transport::selectedEntry() const
{
    return selected_ == 0 ? -1 : queue_.indexOf(selected_);
}

void Transport::selectEntry(qsizetype entry)
{
    const RowId id = entry >= 0 && entry < queue_.size() ? queue_.at(entry) : 0;
    if (id == selected_)
        return;
    selected_ = id;
    Q_EMIT entrySelected(selectedEntry());
}

void Transport::setState(PlayerState state)
{
    if (state == state_)
        return;
    state_ = state;
    Q_EMIT stateChanged(state);
}

bool Transport::load(qsizetype row)
{
    const SongRecord& song = catalogue_.row(row);
    const QString path = song.fullName();
    if (!isRegularFile(path)) {
        Q_EMIT notice(kNotFound + path);
        return false;
    }
    player().setFilename(path);
    loadedRow_ = catalogue_.id(row);
    bitrate_ = song.text(ColBitRate) + QStringLiteral(" kbps");
    display_ = PlayerDisplay();
    Q_EMIT songChanged();
    Q_EMIT displayChanged();
    return true;
}

bool Transport::start()
{
    suspended_ = false;  // a suspended song not resumed is given up
    const QString result = player().mmPlay();
    const bool playing = result == PlayMp3::Success();
    setState(playing ? PlayerState::Playing : PlayerState::Stopped);
    // The new song's length at once, so that the old one's is never shown for it.
    display_.length = player().Length();
    display_.lengthSeconds = player().LengthInSec();
    Q_EMIT displayChanged();
    if (!playing)
        Q_EMIT notice(player().Filename() + QStringLiteral(": ") + result);
    else
        checkSound();
    return playing;
}

void Transport::checkSound()
{
    const bool silent = player().PlaysWithoutSound();
    if (silent && !toldSilent_)
        Q_EMIT notice(kWithoutSound);
    toldSilent_ = silent;
}

void Transport::resetDisplay()
{
    display_.positionSeconds = 0;
    display_.position = QStringLiteral("00:00");
    Q_EMIT displayChanged();
}

void Transport::stopDevice()
{
    if (player_)
        player_->mmStop();
}

void Transport::play()
{
    if (state_ == PlayerState::Paused) {
        pause();
        return;
    }
    // A song already playing goes on; opening it again would fail.
    if (state_ == PlayerState::Stopped && !playerFile().isEmpty())
        start();
}

void Transport::pause()
{
    if (state_ == PlayerState::Stopped)
        return;
    player().mmPause();
    setState(state_ == PlayerState::Playing ? PlayerState::Paused : PlayerState::Playing);
}

void Transport::stop()
{
    suspended_ = false;
    stopDevice();
    resetDisplay();
    setState(PlayerState::Stopped);
}

void Transport::previous()
{
    skip(-1);
}

void Transport::next()
{
    skip(1);
}

void Transport::skip(int step)
{
    stopDevice();
    resetDisplay();
    playFromQueue(queue_.neighbour(selectedEntry(), step), step);
}

void Transport::playFromQueue(qsizetype from, int step)
{
    qsizetype entry = from;
    for (qsizetype tried = 0; entry >= 0 && tried < queue_.size(); ++tried) {
        const qsizetype row = catalogue_.position(queue_.at(entry));
        selectEntry(entry);
        queue_.setStarted(entry);
        if (load(row) && start())
            return;
        entry = queue_.neighbour(entry, step);
    }
    stopDevice();
    setState(PlayerState::Stopped);
}

void Transport::playSelectedEntry()
{
    const qsizetype entry = selectedEntry();
    if (entry < 0)
        return;
    const QString path = catalogue_.row(catalogue_.position(queue_.at(entry))).fullName();
    if (!isRegularFile(path)) {
        Q_EMIT notice(kNotFound + path);
        return;
    }
    if (state_ != PlayerState::Stopped)
        stop();
    playFromQueue(entry, 1);
}

void Transport::tick()
{
    if (!player_)
        return;
    display_.length = player_->Length();
    if (player_->IsPlaying()) {
        display_.lengthSeconds = player_->LengthInSec();
        // One reading for the slider and the label, which two would let disagree.
        display_.positionSeconds = player_->PositionInSec();
        display_.position = PlayMp3::timeText(display_.positionSeconds);
        checkSound();
    } else if (state_ == PlayerState::Playing && !suspended_) {
        // The device stopped by itself: the song ran to its end, or its file failed.
        endOfSong();
        return;
    }
    Q_EMIT displayChanged();
}

void Transport::endOfSong()
{
    stopDevice();
    resetDisplay();
    if (queue_.isEmpty()) {
        setState(PlayerState::Stopped);
        return;
    }
    playFromQueue(queue_.following(), 1);
}

void Transport::seek(qint64 seconds)
{
    if (player_)
        player_->SeekTo(seconds * 1000);
}

void Transport::syncQueue()
{
    queue_.sync(catalogue_);
    entriesChanged();
}

void Transport::entriesChanged()
{
    if (queue_.indexOf(selected_) < 0)
        selected_ = 0;
    Q_EMIT queueChanged();
}

void Transport::removeSelectedEntry()
{
    const qsizetype entry = selectedEntry();
    if (entry < 0)
        return;
    const qsizetype row = catalogue_.position(queue_.at(entry));
    queue_.removeAt(entry);
    selected_ = 0;
    catalogue_.setChecked(row, false);
    Q_EMIT queueChanged();
    Q_EMIT checksChanged();
}

void Transport::clearQueue()
{
    queue_.clear();
    selected_ = 0;
    catalogue_.uncheckAll();
    Q_EMIT queueChanged();
    Q_EMIT checksChanged();
}

void Transport::rowClicked(RowId id)
{
    const qsizetype row = catalogue_.position(id);
    if (!queue_.isEmpty() || state_ != PlayerState::Stopped || row == Catalogue::kGone)
        return;
    if (isRegularFile(catalogue_.row(row).fullName()) && load(row))
        queue_.forgetStarted();
}

void Transport::fileRenamed(const QString& from, const QString& to)
{
    if (!player_ || player_->Filename() != from)
        return;
    player_->setFilename(to);
    Q_EMIT songChanged();
}

void Transport::SuonaBrano(RowId id)
{
    if (state_ != PlayerState::Stopped)
        stop();
    const qsizetype row = catalogue_.position(id);
    // Playing the song loaded before instead would be playing the wrong one.
    if (row == Catalogue::kGone || !load(row))
        return;
    queue_.forgetStarted();
    start();
}

void Transport::FermaBrano()
{
    if (state_ == PlayerState::Stopped || suspended_)
        return;
    suspendedSeconds_ = player().PositionInSec();
    suspendedPaused_ = state_ == PlayerState::Paused;
    suspended_ = true;
    player().mmStop();
}

void Transport::RiprendiBrano()
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

void Transport::AggiungiLista(RowId id)
{
    AggiungiLista(std::span<const RowId>(&id, 1));
}

void Transport::AggiungiLista(std::span<const RowId> rows)
{
    // Once in line with the checks, the queue holds exactly the checked rows, so
    // each unchecked row is one to check and put at the end.
    queue_.sync(catalogue_);
    std::vector<qsizetype> positions;
    std::vector<RowId> added;
    std::unordered_set<RowId> taken;
    for (RowId id : rows) {
        const qsizetype row = catalogue_.position(id);
        if (row != Catalogue::kGone && !catalogue_.isChecked(row) && taken.insert(id).second) {
            positions.push_back(row);
            added.push_back(id);
        }
    }
    catalogue_.check(positions);
    queue_.append(added);
    entriesChanged();
    Q_EMIT checksChanged();
}

void Transport::AggiungiBrani(const QString& nome)
{
    const std::string album = toStored(nome);
    std::vector<qsizetype> positions;
    for (qsizetype i = 0; i < catalogue_.size(); ++i)
        if (catalogue_.row(i).stored(ColAlbum) == QByteArrayView(album))
            positions.push_back(i);
    catalogue_.check(positions);
    syncQueue();
    Q_EMIT checksChanged();
}

void Transport::shutdown()
{
    player_.reset();  // stops and closes the device
    media_.reset();   // joins the decoder
    state_ = PlayerState::Stopped;
}

}  // namespace sonivo
