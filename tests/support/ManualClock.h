#pragma once
// A clock for the silent audio output that moves only when a test moves it.

#include "audio/AudioClock.h"

#include <atomic>

namespace sonivo::test {

class ManualClock : public AudioClock {
public:
    qint64 nowUs() const override { return us_; }
    void advanceMs(qint64 ms) { us_ += ms * 1000; }

private:
    std::atomic<qint64> us_{0};
};

}  // namespace sonivo::test
