#pragma once
// The sound server, through libpulse: a playback stream on the default sink, fed
// by pushes. Each start connects to the server anew, so a server that was
// restarted since the last stream is found again.

#include "audio/AudioOutput.h"

struct pa_context;
struct pa_stream;
struct pa_threaded_mainloop;

namespace sonivo {

class PulseAudioOutput : public AudioOutput {
public:
    PulseAudioOutput();
    ~PulseAudioOutput() override;
    PulseAudioOutput(const PulseAudioOutput&) = delete;
    PulseAudioOutput& operator=(const PulseAudioOutput&) = delete;

    // False when no server answers or it refuses the stream.
    bool start(int sampleRate, int channels) override;
    qint64 framesFree() override;
    qint64 write(const qint16* samples, qint64 frames) override;
    qint64 framesPlayed() override;
    void suspend() override;
    void resume() override;
    void stop() override;
    bool failed() override;

private:
    bool connect(int sampleRate, int channels);
    void cork(bool on);
    // Waits on the loop (locked) until ready() holds or the deadline has passed.
    template <typename Ready> bool waitFor(Ready ready);

    pa_threaded_mainloop* loop_ = nullptr;
    pa_context* context_ = nullptr;
    pa_stream* stream_ = nullptr;
    int sampleRate_ = 0;
    int frameBytes_ = 0;
    qint64 written_ = 0;
    qint64 played_ = 0;
};

}  // namespace sonivo
