#include "audio/PulseAudioOutput.h"

#include <algorithm>
#include <chrono>
#include <pulse/pulseaudio.h>

namespace sonivo {

namespace {

// Enough to ride out a busy moment of the decoding thread, short enough that pause
// and seek answer at once.
constexpr qint64 kBufferMs = 250;
// A server that takes longer than this to take a stream is taken for none.
constexpr auto kConnectTimeout = std::chrono::seconds(2);

void signalLoop(pa_threaded_mainloop* loop)
{
    pa_threaded_mainloop_signal(loop, 0);
}

bool contextGone(pa_context* context)
{
    const pa_context_state_t state = pa_context_get_state(context);
    return state == PA_CONTEXT_FAILED || state == PA_CONTEXT_TERMINATED;
}

bool streamGone(pa_stream* stream)
{
    const pa_stream_state_t state = pa_stream_get_state(stream);
    return state == PA_STREAM_FAILED || state == PA_STREAM_TERMINATED;
}

}  // namespace

PulseAudioOutput::PulseAudioOutput() : loop_(pa_threaded_mainloop_new())
{
    if (loop_ && pa_threaded_mainloop_start(loop_) < 0) {
        pa_threaded_mainloop_free(loop_);
        loop_ = nullptr;
    }
}

PulseAudioOutput::~PulseAudioOutput()
{
    stop();
    if (loop_) {
        pa_threaded_mainloop_stop(loop_);
        pa_threaded_mainloop_free(loop_);
    }
}

template <typename Ready> bool PulseAudioOutput::waitFor(Ready ready)
{
    const auto deadline = std::chrono::steady_clock::now() + kConnectTimeout;
    // The loop wakes this thread on every change of state; a timer on the loop
    // wakes it at the deadline too.
    pa_time_event* timer = pa_context_rttime_new(
        context_, pa_rtclock_now() + std::chrono::duration_cast<std::chrono::microseconds>(kConnectTimeout).count(),
        [](pa_mainloop_api*, pa_time_event*, const struct timeval*, void* loop) { signalLoop(static_cast<pa_threaded_mainloop*>(loop)); },
        loop_);
    bool result = false;
    while (!(result = ready()) && std::chrono::steady_clock::now() < deadline)
        pa_threaded_mainloop_wait(loop_);
    if (timer)
        pa_threaded_mainloop_get_api(loop_)->time_free(timer);
    return result;
}

bool PulseAudioOutput::start(int sampleRate, int channels)
{
    stop();
    if (!loop_)
        return false;
    sampleRate_ = sampleRate;
    frameBytes_ = channels * int(sizeof(qint16));
    written_ = 0;
    played_ = 0;
    pa_threaded_mainloop_lock(loop_);
    const bool connected = connect(sampleRate, channels);
    pa_threaded_mainloop_unlock(loop_);
    if (!connected)
        stop();
    return connected;
}

bool PulseAudioOutput::connect(int sampleRate, int channels)
{
    context_ = pa_context_new(pa_threaded_mainloop_get_api(loop_), "Sonivo");
    if (!context_)
        return false;
    pa_context_set_state_callback(context_, [](pa_context*, void* loop) { signalLoop(static_cast<pa_threaded_mainloop*>(loop)); }, loop_);
    // The server named by the environment or the user's configuration; none is
    // started for us.
    if (pa_context_connect(context_, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0)
        return false;
    if (!waitFor([this] { return pa_context_get_state(context_) == PA_CONTEXT_READY || contextGone(context_); })
        || contextGone(context_))
        return false;
    const pa_sample_spec spec{PA_SAMPLE_S16LE, uint32_t(sampleRate), uint8_t(channels)};
    stream_ = pa_stream_new(context_, "Sonivo", &spec, nullptr);
    if (!stream_)
        return false;
    pa_stream_set_state_callback(stream_, [](pa_stream*, void* loop) { signalLoop(static_cast<pa_threaded_mainloop*>(loop)); }, loop_);
    pa_buffer_attr buffer{};
    buffer.maxlength = uint32_t(-1);
    buffer.tlength = uint32_t(sampleRate * kBufferMs / 1000 * frameBytes_);
    buffer.prebuf = uint32_t(-1);
    buffer.minreq = uint32_t(-1);
    buffer.fragsize = uint32_t(-1);
    const auto flags = pa_stream_flags_t(PA_STREAM_INTERPOLATE_TIMING | PA_STREAM_AUTO_TIMING_UPDATE | PA_STREAM_ADJUST_LATENCY);
    if (pa_stream_connect_playback(stream_, nullptr, &buffer, flags, nullptr, nullptr) < 0)
        return false;
    return waitFor([this] { return pa_stream_get_state(stream_) == PA_STREAM_READY || streamGone(stream_); }) && !streamGone(stream_);
}

qint64 PulseAudioOutput::framesFree()
{
    if (!stream_)
        return 0;
    pa_threaded_mainloop_lock(loop_);
    const size_t bytes = streamGone(stream_) ? 0 : pa_stream_writable_size(stream_);
    pa_threaded_mainloop_unlock(loop_);
    return bytes == size_t(-1) ? 0 : qint64(bytes) / frameBytes_;
}

qint64 PulseAudioOutput::write(const qint16* samples, qint64 frames)
{
    if (!stream_ || frames <= 0)
        return 0;
    pa_threaded_mainloop_lock(loop_);
    const bool taken = !streamGone(stream_) && pa_stream_write(stream_, samples, size_t(frames * frameBytes_), nullptr, 0, PA_SEEK_RELATIVE) == 0;
    pa_threaded_mainloop_unlock(loop_);
    if (!taken)
        return 0;
    written_ += frames;
    return frames;
}

qint64 PulseAudioOutput::framesPlayed()
{
    // A stream that has lost its server counts nothing any more; what it played
    // before stays played.
    if (stream_) {
        pa_threaded_mainloop_lock(loop_);
        pa_usec_t us = 0;
        if (!streamGone(stream_) && pa_stream_get_time(stream_, &us) == 0)
            played_ = std::max(played_, std::min(written_, qint64(us) * sampleRate_ / 1000000));
        pa_threaded_mainloop_unlock(loop_);
    }
    return played_;
}

void PulseAudioOutput::cork(bool on)
{
    if (!stream_)
        return;
    pa_threaded_mainloop_lock(loop_);
    if (!streamGone(stream_)) {
        if (pa_operation* operation = pa_stream_cork(stream_, on ? 1 : 0, nullptr, nullptr))
            pa_operation_unref(operation);
    }
    pa_threaded_mainloop_unlock(loop_);
}

void PulseAudioOutput::suspend()
{
    cork(true);
}

void PulseAudioOutput::resume()
{
    cork(false);
}

void PulseAudioOutput::stop()
{
    if (!loop_)
        return;
    pa_threaded_mainloop_lock(loop_);
    if (stream_) {
        pa_stream_set_state_callback(stream_, nullptr, nullptr);
        pa_stream_disconnect(stream_);
        pa_stream_unref(stream_);
        stream_ = nullptr;
    }
    if (context_) {
        pa_context_set_state_callback(context_, nullptr, nullptr);
        pa_context_disconnect(context_);
        pa_context_unref(context_);
        context_ = nullptr;
    }
    pa_threaded_mainloop_unlock(loop_);
}

bool PulseAudioOutput::failed()
{
    if (!stream_)
        return false;
    pa_threaded_mainloop_lock(loop_);
    const bool gone = contextGone(context_) || streamGone(stream_);
    pa_threaded_mainloop_unlock(loop_);
    return gone;
}

}  // namespace sonivo
