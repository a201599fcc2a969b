#pragma once
// An open playback device: a PlaybackEngine on a thread of its own, so that the
// sound goes on while the caller's thread is busy. Every call waits for the engine
// to carry it out; times are in milliseconds.

#include "audio/AudioOptions.h"

#include <QString>
#include <memory>
#include <thread>

class QEventLoop;
class QObject;

namespace sonivo {

class PlaybackEngine;

class PlaybackDevice {
public:
    // The device, or nothing and error set to the MediaError why the file cannot
    // be played.
    static std::unique_ptr<PlaybackDevice> open(const QString& path, const AudioOptions& options, int& error);
    // Stops, joins the thread and closes the file.
    ~PlaybackDevice();
    PlaybackDevice(const PlaybackDevice&) = delete;
    PlaybackDevice& operator=(const PlaybackDevice&) = delete;

    void play();
    // kMediaOk, or kMediaOutOfRange beyond the end (nothing changes then).
    int playFrom(qint64 ms);
    void pause();
    void stop();
    int seek(qint64 ms);
    // "playing", "paused" or "stopped".
    QString mode();
    qint64 positionMs();
    qint64 lengthMs();
    // "audio", "silent" or "null".
    QString output();

private:
    PlaybackDevice();
    template <typename Call> void run(Call&& call);
    // Calls move with the frame at ms; kMediaOutOfRange, and nothing called, when
    // that lies beyond the end.
    int moveTo(qint64 ms, void (PlaybackEngine::*move)(qint64));

    std::thread thread_;
    QEventLoop* loop_ = nullptr;  // thread_'s own loop
    QObject* context_ = nullptr;  // lives on thread_; calls are queued to it
    std::unique_ptr<PlaybackEngine> engine_;
};

}  // namespace sonivo
