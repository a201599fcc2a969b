#pragma once
// The clock that drives the silent output. Tests put in one they move by hand, so
// that minutes of audio play in milliseconds.

#include <QtGlobal>

namespace sonivo {

class AudioClock {
public:
    virtual ~AudioClock() = default;
    // Microseconds on a monotonic scale.
    virtual qint64 nowUs() const = 0;
};

class SteadyAudioClock : public AudioClock {
public:
    qint64 nowUs() const override;
};

}  // namespace sonivo
