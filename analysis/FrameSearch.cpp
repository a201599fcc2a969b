#include "analysis/FrameSearch.h"

#include "analysis/Id3v2Skip.h"
#include "analysis/VbrHeader.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <optional>

namespace sonivo {
namespace {

constexpr qint64 kId3v1Size = 128;

// Room for one window; on the stack, since a heap block of this size per file
// costs the allocator more than the search itself.
using WindowStorage = std::array<unsigned char, size_t(kSearchWindow)>;

// A stretch of the source (at most one window) held in memory in front of it: the
// part of a read inside the stretch costs nothing, the rest goes to the source.
class WindowedSource final : public ByteSource {
public:
    WindowedSource(ByteSource& source, qint64 start, qint64 length, WindowStorage& storage)
        : source_(source), start_(start), buffer_(storage.data())
    {
        length_ = source_.readAt(start, buffer_, std::min<qint64>(length, kSearchWindow));
        if (length_ < 0) {
            failed_ = true;
            length_ = 0;
        }
    }

    qint64 size() const override { return source_.size(); }
    qint64 readAt(qint64 offset, unsigned char* out, qint64 len) override
    {
        const qint64 end = start_ + length_;
        qint64 held = 0;
        if (offset >= start_ && offset < end && len > 0) {
            held = std::min(len, end - offset);
            std::memcpy(out, buffer_ + (offset - start_), size_t(held));
            if (held == len || end == source_.size())
                return held;
        }
        const qint64 n = source_.readAt(offset + held, out + held, len - held);
        if (n < 0) {
            failed_ = true;
            return -1;
        }
        return held + n;
    }

    const unsigned char* window() const { return buffer_; }
    qint64 windowLength() const { return length_; }
    bool failed() const { return failed_; }

private:
    ByteSource& source_;
    qint64 start_;
    unsigned char* buffer_;
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
    // One read serves the ID3v2 headers and, mostly, the whole search window.
    WindowStorage headStorage;
    WindowedSource head(source, 0, std::min(kSearchWindow, fileSize), headStorage);
    const qint64 start = skipId3v2Tags(head);
    if (head.failed()) {
        result.readFailed = true;
        return result;
    }
    if (start >= fileSize)
        return result;

    // The search window is the head itself unless it reaches beyond it.
    const qint64 windowLength = std::min(kSearchWindow, fileSize - start);
    WindowStorage beyondStorage;
    std::optional<WindowedSource> beyondHead;
    if (start + windowLength > head.windowLength())
        beyondHead.emplace(head, start, windowLength, beyondStorage);
    WindowedSource& file = beyondHead ? *beyondHead : head;
    const unsigned char* w = beyondHead ? file.window() : head.window() + start;
    const qint64 n = beyondHead ? file.windowLength() : windowLength;
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
