#pragma once
// A silent output that plays at the pace of a clock: what was written counts as
// played as the clock runs, never faster than it was written.

#include "audio/AudioClock.h"
#include "audio/AudioOutput.h"

#include <memory>

namespace sonivo {

class NullAudioOutput : public AudioOutput {
public:
    explicit NullAudioOutput(std::shared_ptr<const AudioClock> clock);

    bool start(int sampleRate, int channels) override;
    qint64 framesFree() override;
    qint64 write(const qint16* samples, qint64 frames) override;
    qint64 framesPlayed() override;
    void suspend() override;
    void resume() override;
    void stop() override;
    bool failed() override { return false; }

private:
    qint64 runningUs() const;

    std::shared_ptr<const AudioClock> clock_;
    int sampleRate_ = 0;
    qint64 bufferFrames_ = 0;
    qint64 written_ = 0;
    qint64 startUs_ = 0;
    qint64 suspendedUs_ = 0;     // time spent suspended before the current suspension
    qint64 suspendedAtUs_ = -1;  // start of the current suspension, -1 while running
};

}  // namespace sonivo
