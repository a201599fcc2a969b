#include "audio/Mp3Decoder.h"

#include "common/NativePath.h"
#include "audio/MediaControl.h"

#include <cerrno>
#include <fcntl.h>
#include <mpg123.h>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>

namespace sonivo {

namespace {

void initLibrary()
{
    static std::once_flag once;
    std::call_once(once, [] { mpg123_init(); });
}

}  // namespace

Mp3Decoder::Mp3Decoder(const std::atomic<bool>* cancel) : cancel_(cancel) {}

Mp3Decoder::~Mp3Decoder()
{
    if (handle_)
        mpg123_delete(handle_);  // closes the stream
    if (fd_ >= 0)
        ::close(fd_);
}

ssize_t Mp3Decoder::readFile(void* self, void* buffer, size_t bytes)
{
    auto* decoder = static_cast<Mp3Decoder*>(self);
    if (decoder->cancel_ && decoder->cancel_->load())
        return -1;
    ssize_t n;
    do
        n = ::read(decoder->fd_, buffer, bytes);
    while (n < 0 && errno == EINTR);
    return n;
}

off_t Mp3Decoder::seekFile(void* self, off_t offset, int whence)
{
    return ::lseek(static_cast<Mp3Decoder*>(self)->fd_, offset, whence);
}

int Mp3Decoder::open(const QString& path)
{
    initLibrary();
    fd_ = ::open(toNativePath(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd_ < 0)
        return errno == ENOENT || errno == ENOTDIR ? kMediaFileNotFound : kMediaFileUnreadable;
    struct stat info {};
    if (::fstat(fd_, &info) != 0 || !S_ISREG(info.st_mode))
        return kMediaFileUnreadable;
    int error = MPG123_OK;
    handle_ = mpg123_new(nullptr, &error);
    if (!handle_)
        return kMediaCannotDecode;
    // No change of stream within a file: a frame that would change the format is
    // the end of the song, where the library would print to stderr despite QUIET.
    mpg123_param(handle_, MPG123_FLAGS, MPG123_GAPLESS | MPG123_QUIET | MPG123_NO_FRANKENSTEIN, 0);
    // Only 16-bit output, and no change of format once the first frame fixed it.
    mpg123_format_none(handle_);
    const long* rates = nullptr;
    size_t rateCount = 0;
    mpg123_rates(&rates, &rateCount);
    for (size_t i = 0; i < rateCount; ++i)
        mpg123_format(handle_, rates[i], MPG123_MONO | MPG123_STEREO, MPG123_ENC_SIGNED_16);
    long rate = 0;
    int channels = 0;
    int encoding = 0;
    if (mpg123_replace_reader_handle(handle_, readFile, seekFile, nullptr) != MPG123_OK || mpg123_open_handle(handle_, this) != MPG123_OK
        || mpg123_getformat(handle_, &rate, &channels, &encoding) != MPG123_OK)
        return kMediaCannotDecode;
    mpg123_format_none(handle_);
    mpg123_format(handle_, rate, channels, MPG123_ENC_SIGNED_16);
    sampleRate_ = int(rate);
    channels_ = channels;
    return kMediaOk;
}

qint64 Mp3Decoder::length() const
{
    const off_t frames = mpg123_length(handle_);
    return frames < 0 ? 0 : frames;
}

qint64 Mp3Decoder::scanLength()
{
    return mpg123_scan(handle_) == MPG123_OK ? length() : -1;
}

bool Mp3Decoder::seek(qint64 frame)
{
    return mpg123_seek(handle_, off_t(frame), SEEK_SET) >= 0;
}

qint64 Mp3Decoder::read(qint16* samples, qint64 maxFrames)
{
    const size_t frameBytes = size_t(channels_) * sizeof(qint16);
    size_t done = 0;
    const int result = mpg123_read(handle_, samples, size_t(maxFrames) * frameBytes, &done);
    if (result != MPG123_OK && result != MPG123_DONE && done == 0)
        return 0;
    return qint64(done / frameBytes);
}

}  // namespace sonivo
