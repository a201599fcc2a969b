#include "audio/SinkAudioOutput.h"

#include <QAudioSink>
#include <QMediaDevices>
#include <algorithm>

namespace sonivo {

namespace {
// Enough to ride out a busy moment of the decoding thread, short enough that pause
// and seek answer at once.
constexpr qint64 kBufferMs = 250;
}  // namespace

SinkAudioOutput::SinkAudioOutput() = default;

SinkAudioOutput::~SinkAudioOutput()
{
    stop();
}

bool SinkAudioOutput::start(int sampleRate, int channels)
{
    stop();
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull())
        return false;
    QAudioFormat format;
    format.setSampleRate(sampleRate);
    format.setChannelCount(channels);
    format.setSampleFormat(QAudioFormat::Int16);
    sampleRate_ = sampleRate;
    frameBytes_ = format.bytesPerFrame();
    written_ = 0;
    played_ = 0;
    sink_ = std::make_unique<QAudioSink>(device, format);
    sink_->setBufferSize(qsizetype(format.bytesForDuration(kBufferMs * 1000)));
    stream_ = sink_->start();
    if (!stream_ || sink_->error() != QAudio::NoError) {
        sink_.reset();
        stream_ = nullptr;
        return false;
    }
    return true;
}

qint64 SinkAudioOutput::framesFree()
{
    return sink_ ? std::max<qint64>(0, sink_->bytesFree()) / frameBytes_ : 0;
}

qint64 SinkAudioOutput::write(const qint16* samples, qint64 frames)
{
    if (!stream_)
        return 0;
    const qint64 bytes = stream_->write(reinterpret_cast<const char*>(samples), frames * frameBytes_);
    const qint64 taken = std::max<qint64>(0, bytes) / frameBytes_;
    written_ += taken;
    return taken;
}

qint64 SinkAudioOutput::framesPlayed()
{
    // A sink that has lost its server counts nothing any more; what it played
    // before stays played.
    if (sink_ && sink_->state() != QAudio::StoppedState)
        played_ = std::max(played_, std::min(written_, sink_->processedUSecs() * sampleRate_ / 1000000));
    return played_;
}

void SinkAudioOutput::suspend()
{
    if (sink_)
        sink_->suspend();
}

void SinkAudioOutput::resume()
{
    if (sink_)
        sink_->resume();
}

void SinkAudioOutput::stop()
{
    if (sink_)
        sink_->stop();
    sink_.reset();
    stream_ = nullptr;
}

bool SinkAudioOutput::failed()
{
    if (!sink_)
        return false;
    // The sink learns of a lost server only through its audio system's object, which
    // lives on whichever thread first used the audio devices; the room left in
    // the server's stream, which reads as negative once the connection is gone,
    // shows the loss on any thread.
    const QAudio::Error error = sink_->error();
    return error == QAudio::OpenError || error == QAudio::IOError || error == QAudio::FatalError || sink_->state() == QAudio::StoppedState
        || sink_->bytesFree() < 0;
}

}  // namespace sonivo
