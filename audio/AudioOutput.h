#pragma once
// Where decoded audio goes: interleaved signed 16-bit frames written as the output
// has room, and the count of frames it has actually played.

#include <QtGlobal>

namespace sonivo {

class AudioOutput {
public:
    virtual ~AudioOutput() = default;
    // Begins a new stream in that format, counting from zero; false when the output
    // cannot play it.
    virtual bool start(int sampleRate, int channels) = 0;
    virtual qint64 framesFree() = 0;
    // Frames taken, at most framesFree().
    virtual qint64 write(const qint16* samples, qint64 frames) = 0;
    // Frames played since start, never more than were written.
    virtual qint64 framesPlayed() = 0;
    virtual void suspend() = 0;
    virtual void resume() = 0;
    // Ends the stream, dropping what it still holds.
    virtual void stop() = 0;
    // The output broke down after start (its sound server went away).
    virtual bool failed() = 0;
};

}  // namespace sonivo
