#include "analysis/FrameSearch.h"

#include "analysis/Id3v2Skip.h"
#include "analysis/VbrHeader.h"

#include <algorithm>
#include <cstring>
#include <memory>

namespace sonivo {
namespace {

constexpr qint64 kId3v1Size = 128;

// The search window held in memory in front of the source: reads inside it cost
// nothing, reads outside go to the source.
class WindowedSource final : public ByteSource {
public:
    WindowedSource(ByteSource& source, qint64 start, qint64 length)
        : source_(source), start_(start), buffer_(new unsigned char[size_t(std::max<qint64>(length, 1))])
    {
        length_ = source_.readAt(start, buffer_.get(), length);
        if (length_ < 0) {
            failed_ = true;
            length_ = 0;
        }
    }

    qint64 size() const override { return source_.size(); }
    qint64 readAt(qint64 offset, unsigned char* out, qint64 len) override
    {
        if (offset >= start_ && offset + len <= start_ + length_) {
            std::memcpy(out, buffer_.get() + (offset - start_), size_t(len));
            return len;
        }
        const qint64 n = source_.readAt(offset, out, len);
        if (n < 0)
            failed_ = true;
        return n;
    }

    const unsigned char* window() const { return buffer_.get(); }
    qint64 windowLength() const { return length_; }
    bool failed() const { return failed_; }

private:
    ByteSource& source_;
    qint64 start_;
    std::unique_ptr<unsigned char[]> buffer_;
    qint64 length_ = 0;
    bool failed_ = false;
};

// True when a frame starting at frameEnd follows the candidate: a sync there (FF,
// then a byte with its three top bits set), or the candidate's frame ending exactly
// at the end of the file or where its ID3v1 tag begins. A position beyond the end
// of the file confirms nothing.
bool confirmsFrame(ByteSource& source, qint64 frameEnd, qint64 fileSize)
{
    if (frameEnd == fileSize)
        return true;
    unsigned char next[4] = {};
    const qint64 n = source.readAt(frameEnd, next, sizeof next);
    if (n >= 2 && next[0] == 0xFF && (next[1] & 0xE0) == 0xE0)
        return true;
    return n >= 3 && frameEnd == fileSize - kId3v1Size && std::memcmp(next, "TAG", 3) == 0;
}

}  // namespace

FirstFrame findFirstFrame(ByteSource& source)
{
    FirstFrame result;
    const qint64 fileSize = source.size();
    const qint64 start = skipId3v2Tags(source);
    if (start >= fileSize)
        return result;

    WindowedSource file(source, start, std::min(kSearchWindow, fileSize - start));
    const unsigned char* w = file.window();
    const qint64 n = file.windowLength();
    bool afterFF = false;
    for (qint64 i = 0; i < n && !file.failed(); ++i) {
        const unsigned char b = w[i];
        if (afterFF && (b == 0xFA || b == 0xFB)) {
            const qint64 offset = start + i - 1;
            unsigned char bytes[4];
            // A candidate at the end of the window is completed from the file.
            if (file.readAt(offset, bytes, 4) == 4) {
                const MpegHeader header = MpegHeader::decode(bytes);
                if (header.isValid() && confirmsFrame(file, offset + header.frameLength(), fileSize)) {
                    result.offset = offset;
                    result.header = header;
                    result.vbrFrames = vbrFrameCount(file, offset, header);
                    break;
                }
            }
        }
        afterFF = b == 0xFF;
    }
    if (file.failed()) {
        result = FirstFrame{};
        result.readFailed = true;
    }
    return result;
}

}  // namespace sonivo
