#pragma once
// The sound card, through a QAudioSink on the default output device, fed by pushes.
// Create and use it on one thread that runs an event loop: the sink reports the
// loss of its sound server there.

#include "audio/AudioOutput.h"

#include <memory>

class QAudioSink;
class QIODevice;

namespace sonivo {

class SinkAudioOutput : public AudioOutput {
public:
    SinkAudioOutput();
    ~SinkAudioOutput() override;

    // False also when there is no output device at all.
    bool start(int sampleRate, int channels) override;
    qint64 framesFree() override;
    qint64 write(const qint16* samples, qint64 frames) override;
    qint64 framesPlayed() override;
    void suspend() override;
    void resume() override;
    void stop() override;
    bool failed() override;

private:
    std::unique_ptr<QAudioSink> sink_;
    QIODevice* stream_ = nullptr;  // owned by the sink
    int sampleRate_ = 0;
    int frameBytes_ = 0;
    qint64 written_ = 0;
    qint64 played_ = 0;
};

}  // namespace sonivo
