#include "tests/support/Mp3Builder.h"

namespace sonivo::test {
namespace {

constexpr int kBitRates[16] = {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0};
constexpr int kSampleRates[4] = {44100, 48000, 32000, 0};

void putBigEndian(QByteArray& bytes, int at, quint32 value)
{
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = char((value >> (24 - 8 * i)) & 0xFF);
}

}  // namespace

QByteArray frameHeader(const FrameFields& s)
{
    QByteArray h(4, 0);
    h[0] = char(0xFF);
    h[1] = char(s.crc ? (s.versionLayer & 0xFE) : (s.versionLayer | 0x01));
    h[2] = char((s.bitRateIndex << 4) | (s.sampleRateIndex << 2) | (s.padding ? 2 : 0) | (s.privateBit ? 1 : 0));
    h[3] = char((s.channelMode << 6) | (s.modeExtension << 4) | (s.copyright ? 8 : 0) | (s.original ? 4 : 0) | s.emphasis);
    return h;
}

int frameBytes(const FrameFields& s)
{
    return kBitRates[s.bitRateIndex] * 144000 / kSampleRates[s.sampleRateIndex] + (s.padding ? 1 : 0);
}

QByteArray frame(const FrameFields& shape, char fill)
{
    QByteArray f = frameHeader(shape);
    f.append(QByteArray(frameBytes(shape) - 4, fill));
    return f;
}

QByteArray frames(const FrameFields& shape, int count)
{
    return frame(shape).repeated(count);
}

QByteArray xingFrame(const FrameFields& shape, quint32 frameCount, const char* tag)
{
    QByteArray f = frame(shape);
    const int at = 4 + (shape.channelMode == 3 ? 17 : 32);
    f.replace(at, 4, tag);
    putBigEndian(f, at + 4, 0x1);
    putBigEndian(f, at + 8, frameCount);
    return f;
}

QByteArray vbriFrame(const FrameFields& shape, quint32 frameCount)
{
    QByteArray f = frame(shape);
    f.replace(36, 4, "VBRI");
    putBigEndian(f, 36 + 14, frameCount);
    return f;
}

QByteArray id3v2Tag(int payloadSize, char fill)
{
    QByteArray t("ID3\x03\x00\x00", 6);
    for (int shift = 21; shift >= 0; shift -= 7)
        t.append(char((payloadSize >> shift) & 0x7F));
    t.append(QByteArray(payloadSize, fill));
    return t;
}

namespace {

QByteArray syncSafe(qint64 value)
{
    QByteArray bytes;
    for (int shift = 21; shift >= 0; shift -= 7)
        bytes.append(char((value >> shift) & 0x7F));
    return bytes;
}

QByteArray bigEndianBytes(qint64 value, int count)
{
    QByteArray bytes;
    for (int i = count - 1; i >= 0; --i)
        bytes.append(char((value >> (8 * i)) & 0xFF));
    return bytes;
}

}  // namespace

QByteArray id3v2Frame(int version, const QByteArray& id, const QByteArray& body, quint16 flags, bool plainSize)
{
    if (version == 2)
        return id + bigEndianBytes(body.size(), 3) + body;
    const QByteArray size = version == 4 && !plainSize ? syncSafe(body.size()) : bigEndianBytes(body.size(), 4);
    return id + size + bigEndianBytes(flags, 2) + body;
}

QByteArray id3v2Text(int encoding, const QString& text, bool bigEndian)
{
    QByteArray body(1, char(encoding));
    if (encoding == 0)
        return body + text.toLatin1();
    if (encoding == 3)
        return body + text.toUtf8();
    if (encoding == 1)
        body += bigEndian ? QByteArray("\xFE\xFF") : QByteArray("\xFF\xFE");
    for (const QChar c : text) {
        const char high = char(c.unicode() >> 8), low = char(c.unicode() & 0xFF);
        const bool highFirst = encoding == 2 || bigEndian;
        body += highFirst ? high : low;
        body += highFirst ? low : high;
    }
    return body;
}

QByteArray id3v2TagOf(int version, const QByteArray& frames, unsigned char flags, int padding)
{
    const QByteArray header = QByteArray("ID3") + char(version) + char(0) + char(flags) + syncSafe(frames.size() + padding);
    QByteArray tag = header + frames + QByteArray(padding, 0);
    if (flags & 0x10)
        tag += QByteArray("3DI") + header.mid(3);
    return tag;
}

QByteArray id3v1Tag(const TagFields& s)
{
    QByteArray t("TAG");
    auto field = [&](const QByteArray& value, int width) {
        t.append(value.left(width));
        t.append(QByteArray(width - qMin<int>(int(value.size()), width), s.pad));
    };
    field(s.title, 30);
    field(s.artist, 30);
    field(s.album, 30);
    field(s.year, 4);
    field(s.comment, 30);
    t.append(char(s.genre));
    return t;
}

}  // namespace sonivo::test
