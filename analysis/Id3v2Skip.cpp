#include "analysis/Id3v2Skip.h"

namespace sonivo {
namespace {

constexpr int kHeaderSize = 10;
constexpr int kFooterSize = 10;
constexpr unsigned char kFooterFlag = 0x10;
// Some files carry two or three tags one after the other; more is not music.
constexpr int kMaxTags = 8;

// Length of the whole tag starting at offset, or 0 when no valid ID3v2 header is there.
qint64 tagLengthAt(ByteSource& source, qint64 offset)
{
    unsigned char h[kHeaderSize];
    if (source.readAt(offset, h, kHeaderSize) != kHeaderSize)
        return 0;
    if (h[0] != 'I' || h[1] != 'D' || h[2] != '3' || h[3] == 0xFF || h[4] == 0xFF)
        return 0;
    qint64 size = 0;
    for (int i = 6; i < 10; ++i) {
        if (h[i] & 0x80)
            return 0;  // not a sync-safe size
        size = (size << 7) | h[i];
    }
    return kHeaderSize + size + ((h[5] & kFooterFlag) ? kFooterSize : 0);
}

}  // namespace

qint64 skipId3v2Tags(ByteSource& source)
{
    qint64 offset = 0;
    for (int n = 0; n < kMaxTags; ++n) {
        const qint64 length = tagLengthAt(source, offset);
        if (length == 0)
            break;
        offset += length;
    }
    return offset;
}

}  // namespace sonivo
