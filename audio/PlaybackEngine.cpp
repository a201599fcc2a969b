#include "audio/PlaybackEngine.h"

#include "audio/PulseAudioOutput.h"

#include <algorithm>

namespace sonivo {

namespace {

constexpr int kFeedIntervalMs = 20;
constexpr qint64 kChunkFrames = 4096;
// Chunks per timer event; more room than that is filled at the next, immediate event,
// so that commands to the engine are served in between.
constexpr int kChunksPerFeed = 64;
// A stream on the silent output tries the sound server this often, so that sound
// comes back soon after the server does.
constexpr qint64 kRetryUs = 1000000;

std::unique_ptr<AudioOutput> makeSound(const AudioOptions& options)
{
    if (options.output == AudioOptions::Output::Default)
        return std::make_unique<PulseAudioOutput>();
    return nullptr;
}

}  // namespace

PlaybackEngine::PlaybackEngine(std::unique_ptr<Mp3Decoder> decoder, const QString& path, AudioOptions options)
    : decoder_(std::move(decoder)), options_(std::move(options)), sound_(makeSound(options_)), silent_(options_.clock), output_(&silent_)
{
    QObject::connect(&timer_, &QTimer::timeout, [this] { feed(); });
    scan_ = std::thread([this, path] {
        Mp3Decoder scanner(&cancelScan_);
        if (scanner.open(path) == 0)
            scannedLength_ = scanner.scanLength();
    });
}

PlaybackEngine::~PlaybackEngine()
{
    cancelScan_ = true;
    scan_.join();
    dropOutput();
}

qint64 PlaybackEngine::length() const
{
    if (endFrame_ >= 0)
        return endFrame_;
    const qint64 scanned = scannedLength_;
    return scanned >= 0 ? scanned : decoder_->length();
}

PlaybackOutput PlaybackEngine::output() const
{
    if (output_ != &silent_)
        return PlaybackOutput::Sound;
    return options_.output == AudioOptions::Output::Null ? PlaybackOutput::Null : PlaybackOutput::Silent;
}

qint64 PlaybackEngine::position()
{
    if (!outputActive_)
        return restingAt_;
    return segmentStart_ + std::min(output_->framesPlayed(), songWritten_);
}

void PlaybackEngine::play()
{
    if (mode_ == PlaybackMode::Playing)
        return;
    if (mode_ == PlaybackMode::Paused && outputActive_) {
        output_->resume();
        mode_ = PlaybackMode::Playing;
        timer_.start(kFeedIntervalMs);
        feed();
        return;
    }
    startAt(restingAt_);
}

void PlaybackEngine::playFrom(qint64 frame)
{
    dropOutput();
    startAt(frame);
}

void PlaybackEngine::pause()
{
    if (mode_ != PlaybackMode::Playing)
        return;
    output_->suspend();
    timer_.stop();
    mode_ = PlaybackMode::Paused;
}

void PlaybackEngine::stop()
{
    dropOutput();
    mode_ = PlaybackMode::Stopped;
}

void PlaybackEngine::seek(qint64 frame)
{
    const bool paused = mode_ == PlaybackMode::Paused;
    stop();
    restingAt_ = frame;
    if (paused)
        mode_ = PlaybackMode::Paused;
}

void PlaybackEngine::dropOutput()
{
    timer_.stop();
    if (outputActive_) {
        restingAt_ = position();
        output_->stop();
        outputActive_ = false;
    }
}

void PlaybackEngine::startAt(qint64 frame)
{
    segmentStart_ = frame;
    songWritten_ = 0;
    // A file cut short since it was opened has its end where the seek fails.
    decodedAll_ = !decoder_->seek(frame);
    if (decodedAll_)
        endFrame_ = frame;
    pending_.clear();
    pendingAt_ = 0;
    // Every stream asks the sound server again: it may have come back since.
    if (sound_ && sound_->start(decoder_->sampleRate(), decoder_->channels())) {
        output_ = sound_.get();
    } else {
        output_ = &silent_;
        silent_.start(decoder_->sampleRate(), decoder_->channels());
        retryAtUs_ = options_.clock->nowUs() + kRetryUs;
    }
    outputActive_ = true;
    mode_ = PlaybackMode::Playing;
    timer_.start(kFeedIntervalMs);
    feed();
}

void PlaybackEngine::restartOutput()
{
    const qint64 at = position();
    output_->stop();
    outputActive_ = false;
    startAt(at);
}

bool PlaybackEngine::retryDue() const
{
    return sound_ && output_ == &silent_ && options_.clock->nowUs() >= retryAtUs_;
}

void PlaybackEngine::feed()
{
    if (mode_ != PlaybackMode::Playing)
        return;
    if (output_->failed() || retryDue()) {
        restartOutput();
        return;
    }
    bool more = true;
    for (int i = 0; i < kChunksPerFeed && more; ++i)
        more = feedOnce(std::min(output_->framesFree(), kChunkFrames));
    if (decodedAll_ && output_->framesPlayed() >= songWritten_)
        finish();
    else
        timer_.setInterval(more ? 0 : kFeedIntervalMs);
}

bool PlaybackEngine::feedOnce(qint64 room)
{
    if (room <= 0)
        return false;
    const int channels = decoder_->channels();
    if (pendingAt_ == pending_.size() && !decodedAll_) {
        pending_.resize(size_t(kChunkFrames * channels));
        const qint64 frames = decoder_->read(pending_.data(), kChunkFrames);
        pending_.resize(size_t(frames * channels));
        pendingAt_ = 0;
        if (frames == 0) {
            decodedAll_ = true;
            endFrame_ = segmentStart_ + songWritten_;
        }
    }
    if (pendingAt_ < pending_.size()) {
        const qint64 frames = std::min(room, qint64(pending_.size() - pendingAt_) / channels);
        const qint64 taken = output_->write(pending_.data() + pendingAt_, frames);
        pendingAt_ += size_t(taken * channels);
        songWritten_ += taken;
        return taken > 0;
    }
    // After the end the output gets silence until it has played the last frame of
    // the file: a sound server starts a stream only once its buffer is full.
    if (output_->framesPlayed() >= songWritten_)
        return false;
    pending_.assign(size_t(room * channels), 0);
    output_->write(pending_.data(), room);
    pending_.clear();
    pendingAt_ = 0;
    return false;
}

void PlaybackEngine::finish()
{
    dropOutput();
    restingAt_ = endFrame_;
    mode_ = PlaybackMode::Stopped;
}

}  // namespace sonivo
