#include "analysis/FrameSearch.h"

#include "analysis/Id3v2Skip.h"
#include "analysis/VbrHeader.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace sonivo {
namespace {

constexpr qint64 kId3v1Size = 128;

// Room for one window; on the stack, since a heap block of this size per file
// costs the allocator more than the search itself.
using WindowStorage = std::array<unsigned char, size_t(kSearchWindow)>;

// A stretch of the source (at most one window) held in memory in front of it,
// read piece by piece as the search asks for more: the part of a read inside the
// stretch costs nothing, the rest goes to the source.
class Stretch final : public ByteSource {
public:
    Stretch(ByteSource& source, WindowStorage& storage) : source_(source), buffer_(storage.data()) {}

    // Holds [from, end) as far as the file goes, keeping what is already held of
    // it; end - from is at most one window. Returns the end of the bytes held.
    qint64 hold(qint64 from, qint64 end)
    {
        if (from < start_ || from > start_ + length_ || end - start_ > kSearchWindow) {
            const qint64 kept = from >= start_ ? std::max<qint64>(0, start_ + length_ - from) : 0;
            if (kept > 0)
                std::memmove(buffer_, buffer_ + (from - start_), size_t(kept));
            start_ = from;
            length_ = kept;
        }
        if (start_ + length_ < end) {
            const qint64 n = source_.readAt(start_ + length_, buffer_ + length_, end - start_ - length_);
            if (n < 0)
                failed_ = true;
            else
                length_ += n;
        }
        return start_ + length_;
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

    const unsigned char* at(qint64 offset) const { return buffer_ + (offset - start_); }
    bool failed() const { return failed_; }

private:
    ByteSource& source_;
    unsigned char* buffer_;
    qint64 start_ = 0;
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

FirstFrame findFirstFrame(ByteSource& source, qint64 firstPiece)
{
    FirstFrame result;
    const qint64 fileSize = source.size();
    // The first piece mostly holds the ID3v2 headers, the frame and its
    // confirmation; the window is read further only while no frame is confirmed.
    WindowStorage storage;
    Stretch file(source, storage);
    firstPiece = std::clamp<qint64>(firstPiece, 1, kSearchWindow);
    file.hold(0, std::min(firstPiece, fileSize));
    const qint64 start = skipId3v2Tags(file);
    result.id3v2 = start > 0;
    if (file.failed()) {
        result.readFailed = true;
        return result;
    }
    if (start >= fileSize)
        return result;

    const qint64 windowEnd = start + std::min(kSearchWindow, fileSize - start);
    qint64 pieceEnd = std::min(windowEnd, start + firstPiece);
    bool afterFF = false;
    for (qint64 i = start; i < windowEnd && !file.failed();) {
        const qint64 heldEnd = std::min(file.hold(start, pieceEnd), pieceEnd);
        if (heldEnd <= i)
            break;  // the file is shorter than when its length was taken
        for (; i < heldEnd && !file.failed(); ++i) {
            const unsigned char b = *file.at(i);
            if (afterFF && (b == 0xFA || b == 0xFB)) {
                const qint64 offset = i - 1;
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
        if (result.offset >= 0)
            break;
        pieceEnd = std::min(windowEnd, start + 2 * (pieceEnd - start));
    }
    if (file.failed()) {
        result = FirstFrame{};
        result.readFailed = true;
    }
    return result;
}

}  // namespace sonivo
