#pragma once
// An MP3 file decoded by libmpg123 into interleaved signed 16-bit frames, with the
// encoder's delay and padding removed (gapless), and sample-accurate seeking.

#include <QString>
#include <atomic>
#include <sys/types.h>

struct mpg123_handle_struct;

namespace sonivo {

class Mp3Decoder {
public:
    // A set cancel flag makes every further read of the file fail, which ends a
    // scan in progress.
    explicit Mp3Decoder(const std::atomic<bool>* cancel = nullptr);
    ~Mp3Decoder();
    Mp3Decoder(const Mp3Decoder&) = delete;
    Mp3Decoder& operator=(const Mp3Decoder&) = delete;

    // kMediaOk, or the MediaError why the file cannot be played.
    int open(const QString& path);
    int sampleRate() const { return sampleRate_; }
    int channels() const { return channels_; }
    // Length in frames as libmpg123 knows it after opening: exact when the file
    // has an encoder's header with a frame count, else estimated from its size.
    qint64 length() const;
    // Walks every frame of the file: the exact length in frames, -1 on failure.
    qint64 scanLength();
    bool seek(qint64 frame);
    // Decodes up to maxFrames frames; 0 at the end of the stream or on a fault.
    qint64 read(qint16* samples, qint64 maxFrames);

private:
    static ssize_t readFile(void* self, void* buffer, size_t bytes);
    static off_t seekFile(void* self, off_t offset, int whence);

    const std::atomic<bool>* cancel_;
    mpg123_handle_struct* handle_ = nullptr;
    int fd_ = -1;
    int sampleRate_ = 0;
    int channels_ = 0;
};

}  // namespace sonivo
