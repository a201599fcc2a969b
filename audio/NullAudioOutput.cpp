#include "audio/NullAudioOutput.h"

#include <algorithm>
#include <chrono>

namespace sonivo {

namespace {
constexpr qint64 kBufferMs = 250;
}

qint64 SteadyAudioClock::nowUs() const
{
    using namespace std::chrono;
    return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}

NullAudioOutput::NullAudioOutput(std::shared_ptr<const AudioClock> clock) : clock_(std::move(clock)) {}

bool NullAudioOutput::start(int sampleRate, int)
{
    sampleRate_ = sampleRate;
    bufferFrames_ = sampleRate * kBufferMs / 1000;
    written_ = 0;
    startUs_ = clock_->nowUs();
    suspendedUs_ = 0;
    suspendedAtUs_ = -1;
    return true;
}

qint64 NullAudioOutput::runningUs() const
{
    const qint64 now = suspendedAtUs_ >= 0 ? suspendedAtUs_ : clock_->nowUs();
    return now - startUs_ - suspendedUs_;
}

qint64 NullAudioOutput::framesPlayed()
{
    return std::min(written_, runningUs() * sampleRate_ / 1000000);
}

qint64 NullAudioOutput::framesFree()
{
    return std::max<qint64>(0, bufferFrames_ - (written_ - framesPlayed()));
}

qint64 NullAudioOutput::write(const qint16*, qint64 frames)
{
    frames = std::min(frames, framesFree());
    written_ += frames;
    return frames;
}

void NullAudioOutput::suspend()
{
    if (suspendedAtUs_ < 0)
        suspendedAtUs_ = clock_->nowUs();
}

void NullAudioOutput::resume()
{
    if (suspendedAtUs_ >= 0) {
        suspendedUs_ += clock_->nowUs() - suspendedAtUs_;
        suspendedAtUs_ = -1;
    }
}

void NullAudioOutput::stop()
{
    written_ = 0;
    suspendedAtUs_ = -1;
}

}  // namespace sonivo
