#include "analysis/VbrHeader.h"

#include <cstring>

namespace sonivo {
namespace {

constexpr int kHeaderBytes = 4;
constexpr int kCrcBytes = 2;
constexpr quint32 kXingFramesFlag = 0x1;
constexpr int kVbriOffset = 4 + 32;
constexpr int kVbriFramesOffset = 14;

quint32 bigEndian32(const unsigned char* p)
{
    return (quint32(p[0]) << 24) | (quint32(p[1]) << 16) | (quint32(p[2]) << 8) | p[3];
}

// Frame count of a Xing/Info header at offset (4 tag bytes, 4 flag bytes, then the
// count when its flag is set), or -1.
qint64 xingAt(ByteSource& source, qint64 offset)
{
    unsigned char b[12];
    if (source.readAt(offset, b, sizeof b) != qint64(sizeof b))
        return -1;
    if (std::memcmp(b, "Xing", 4) != 0 && std::memcmp(b, "Info", 4) != 0)
        return -1;
    if (!(bigEndian32(b + 4) & kXingFramesFlag))
        return -1;
    const quint32 frames = bigEndian32(b + 8);
    return frames > 0 ? qint64(frames) : -1;
}

qint64 vbriAt(ByteSource& source, qint64 offset)
{
    unsigned char b[kVbriFramesOffset + 4];
    if (source.readAt(offset, b, sizeof b) != qint64(sizeof b))
        return -1;
    if (std::memcmp(b, "VBRI", 4) != 0)
        return -1;
    const quint32 frames = bigEndian32(b + kVbriFramesOffset);
    return frames > 0 ? qint64(frames) : -1;
}

}  // namespace

qint64 vbrFrameCount(ByteSource& source, qint64 frameOffset, const MpegHeader& header)
{
    if (!header.isValid())
        return -1;
    // The Xing header follows the side information (17 bytes mono, 32 otherwise).
    // Encoders disagree on whether a CRC moves it, so both places are tried.
    const int sideInfo = header.isMono() ? 17 : 32;
    const qint64 xing = frameOffset + kHeaderBytes + sideInfo;
    qint64 frames = xingAt(source, xing);
    if (frames < 0 && header.crcPresent())
        frames = xingAt(source, xing + kCrcBytes);
    if (frames < 0)
        frames = vbriAt(source, frameOffset + kVbriOffset);
    return frames;
}

}  // namespace sonivo
