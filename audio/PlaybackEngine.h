#pragma once
// One open file playing: the decoder feeds the output from a timer of the thread
// the engine lives on. Positions are in frames (samples per channel); the position
// is what the output has played, not what was decoded. The length is libmpg123's
// count at first and exact once a second decoder, on a thread of its own, has
// walked every frame of the file.

#include "audio/AudioOptions.h"
#include "audio/AudioOutput.h"
#include "audio/Mp3Decoder.h"
#include "audio/NullAudioOutput.h"

#include <QTimer>
#include <atomic>
#include <thread>
#include <vector>

namespace sonivo {

enum class PlaybackMode { Stopped, Playing, Paused };
// What the stream plays through: the sound server, the silent output because no
// sound server could be had, or the silent output that was asked for.
enum class PlaybackOutput { Sound, Silent, Null };

class PlaybackEngine {
public:
    // Create and destroy it on its thread, which must run an event loop.
    PlaybackEngine(std::unique_ptr<Mp3Decoder> decoder, const QString& path, AudioOptions options);
    ~PlaybackEngine();
    PlaybackEngine(const PlaybackEngine&) = delete;
    PlaybackEngine& operator=(const PlaybackEngine&) = delete;

    // Plays on from the position, or continues a pause.
    void play();
    void playFrom(qint64 frame);
    // Pauses while playing; nothing otherwise.
    void pause();
    void stop();
    // Moves the position without playing: a pause stays a pause, playing stops.
    void seek(qint64 frame);

    PlaybackMode mode() const { return mode_; }
    qint64 position();
    qint64 length() const;
    int sampleRate() const { return decoder_->sampleRate(); }
    PlaybackOutput output() const;

private:
    void startAt(qint64 frame);
    void feed();
    // Writes pending or newly decoded audio, or silence after the end; false when
    // the output has no room or has everything it needs.
    bool feedOnce(qint64 room);
    void finish();
    void dropOutput();
    // Starts the stream again where it is, on the sound server when it answers.
    void restartOutput();
    bool retryDue() const;

    std::unique_ptr<Mp3Decoder> decoder_;
    AudioOptions options_;
    std::unique_ptr<AudioOutput> sound_;  // none when silence was asked for
    NullAudioOutput silent_;
    AudioOutput* output_;  // the sound server's or the silent one
    qint64 retryAtUs_ = 0;  // when the silent stream tries the sound server again
    QTimer timer_;
    PlaybackMode mode_ = PlaybackMode::Stopped;

    bool outputActive_ = false;  // a stream is started (playing, or paused in place)
    qint64 restingAt_ = 0;       // the position while no stream is started
    qint64 segmentStart_ = 0;    // file position of the stream's first frame
    qint64 songWritten_ = 0;     // frames of the file handed to the stream
    bool decodedAll_ = false;
    qint64 endFrame_ = -1;         // where decoding ended, once it has
    std::vector<qint16> pending_;  // decoded, not yet taken by the output
    size_t pendingAt_ = 0;

    std::atomic<bool> cancelScan_{false};
    std::atomic<qint64> scannedLength_{-1};
    std::thread scan_;
};

}  // namespace sonivo
