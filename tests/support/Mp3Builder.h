#pragma once
// Synthetic MP3 bytes for tests: frame headers with silent payloads, ID3v2 and ID3v1
// tags, Xing and VBRI frames.

#include <QByteArray>
#include <QString>

namespace sonivo::test {

struct FrameFields {
    int bitRateIndex = 9;     // 128 kbit/s
    int sampleRateIndex = 0;  // 44100 Hz
    bool crc = false;
    bool padding = false;
    bool privateBit = false;
    int channelMode = 1;  // joint stereo
    int modeExtension = 2;
    bool copyright = false;
    bool original = true;
    int emphasis = 0;
    unsigned char versionLayer = 0xFA;  // FA / FB: MPEG-1 Layer III; F2 / F3 MPEG-2
};

// The 4 header bytes.
QByteArray frameHeader(const FrameFields& shape);
// Length in bytes of an MPEG-1 Layer III frame of that shape.
int frameBytes(const FrameFields& shape);
// One frame: header, then fill bytes up to its length.
QByteArray frame(const FrameFields& shape, char fill = 0);
QByteArray frames(const FrameFields& shape, int count);
// A first frame carrying a Xing ("Xing" or "Info") or VBRI header with a frame count.
QByteArray xingFrame(const FrameFields& shape, quint32 frameCount, const char* tag = "Xing");
QByteArray vbriFrame(const FrameFields& shape, quint32 frameCount);
// An ID3v2.3 tag whose body is payloadSize bytes of fill.
QByteArray id3v2Tag(int payloadSize, char fill = 0);
// One ID3v2 frame of a tag of that version (2, 3 or 4): id, size, the two flag
// bytes (not in 2.2), then the body. A 2.4 size is sync-safe unless plainSize.
QByteArray id3v2Frame(int version, const QByteArray& id, const QByteArray& body, quint16 flags = 0, bool plainSize = false);
// A text frame's body: the encoding byte (0 Latin-1, 1 UTF-16 with a byte order
// mark, little-endian unless bigEndian, 2 UTF-16BE, 3 UTF-8), the text, no terminator.
QByteArray id3v2Text(int encoding, const QString& text, bool bigEndian = false);
// An ID3v2 tag of that version around the frames, then padding zero bytes; a
// footer when the flags ask for one.
QByteArray id3v2TagOf(int version, const QByteArray& frames, unsigned char flags = 0, int padding = 0);

struct TagFields {
    QByteArray title, artist, album, year, comment;  // raw bytes, padded with pad
    unsigned char genre = 255;
    char pad = ' ';
};
QByteArray id3v1Tag(const TagFields& shape);

}  // namespace sonivo::test
