#include "audio/PlaybackDevice.h"

#include "audio/PlaybackEngine.h"
#include "audio/MediaControl.h"

#include <QEventLoop>
#include <future>
#include <pthread.h>

namespace sonivo {

PlaybackDevice::PlaybackDevice()
{
    std::promise<void> ready;
    std::future<void> started = ready.get_future();
    thread_ = std::thread([this, ready = std::move(ready)]() mutable {
        pthread_setname_np(pthread_self(), "sonivo-playback");
        QEventLoop loop;
        QObject context;
        loop_ = &loop;
        context_ = &context;
        ready.set_value();
        loop.exec();
    });
    started.wait();
}

std::unique_ptr<PlaybackDevice> PlaybackDevice::open(const QString& path, const AudioOptions& options, int& error)
{
    auto decoder = std::make_unique<Mp3Decoder>();
    error = decoder->open(path);
    if (error != kMediaOk)
        return nullptr;
    std::unique_ptr<PlaybackDevice> device(new PlaybackDevice);
    device->run([&] { device->engine_ = std::make_unique<PlaybackEngine>(std::move(decoder), path, options); });
    return device;
}

PlaybackDevice::~PlaybackDevice()
{
    run([this] {
        engine_.reset();
        loop_->quit();
    });
    // A joined thread has also let go of Qt's data for it, which a thread
    // only waited for may still hold as the program ends.
    thread_.join();
}

template <typename Call> void PlaybackDevice::run(Call&& call)
{
    QMetaObject::invokeMethod(context_, std::forward<Call>(call), Qt::BlockingQueuedConnection);
}

int PlaybackDevice::moveTo(qint64 ms, void (PlaybackEngine::*move)(qint64))
{
    int result = kMediaOutOfRange;
    run([&] {
        const qint64 frame = ms * engine_->sampleRate() / 1000;
        if (frame <= engine_->length()) {
            (engine_.get()->*move)(frame);
            result = kMediaOk;
        }
    });
    return result;
}

void PlaybackDevice::play()
{
    run([this] { engine_->play(); });
}

int PlaybackDevice::playFrom(qint64 ms)
{
    return moveTo(ms, &PlaybackEngine::playFrom);
}

void PlaybackDevice::pause()
{
    run([this] { engine_->pause(); });
}

void PlaybackDevice::stop()
{
    run([this] { engine_->stop(); });
}

int PlaybackDevice::seek(qint64 ms)
{
    return moveTo(ms, &PlaybackEngine::seek);
}

QString PlaybackDevice::mode()
{
    PlaybackMode mode = PlaybackMode::Stopped;
    run([&] { mode = engine_->mode(); });
    switch (mode) {
    case PlaybackMode::Playing: return QStringLiteral("playing");
    case PlaybackMode::Paused: return QStringLiteral("paused");
    case PlaybackMode::Stopped: break;
    }
    return QStringLiteral("stopped");
}

qint64 PlaybackDevice::positionMs()
{
    qint64 ms = 0;
    run([&] { ms = engine_->position() * 1000 / engine_->sampleRate(); });
    return ms;
}

QString PlaybackDevice::output()
{
    PlaybackOutput output = PlaybackOutput::Null;
    run([&] { output = engine_->output(); });
    switch (output) {
    case PlaybackOutput::Sound: return QStringLiteral("audio");
    case PlaybackOutput::Silent: return QStringLiteral("silent");
    case PlaybackOutput::Null: break;
    }
    return QStringLiteral("null");
}

qint64 PlaybackDevice::lengthMs()
{
    qint64 ms = 0;
    run([&] { ms = engine_->length() * 1000 / engine_->sampleRate(); });
    return ms;
}

}  // namespace sonivo
