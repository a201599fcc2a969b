#include "analysis/MpegHeader.h"
#include "tests/support/Mp3Builder.h"

#include <QStringList>
#include <gtest/gtest.h>

using sonivo::MpegHeader;
using sonivo::test::FrameFields;
using sonivo::test::frameHeader;

namespace {

MpegHeader decode(const QByteArray& bytes)
{
    return MpegHeader::decode(reinterpret_cast<const unsigned char*>(bytes.constData()));
}

MpegHeader decode(const FrameFields& shape)
{
    return decode(frameHeader(shape));
}

// Every field the header shows, as one text.
QString fields(const MpegHeader& h)
{
    const auto n = [](int value) { return QString::number(value); };
    return QStringList{n(h.isValid()), h.mpegVersionText(), h.layerText(), n(h.crcPresent()), h.bitRateText(), h.sampleRateText(),
        n(h.padding()), n(h.privateBit()), h.channelModeText(), h.modeExtensionText(), n(h.copyright()), n(h.original()),
        h.emphasisText(), n(h.frameLength())}
        .join(QLatin1Char('|'));
}

}  // namespace

TEST(MpegHeader, DecodesTheWorkedExample)
{
    EXPECT_EQ(fields(decode(QByteArray("\xFF\xFB\x90\x64", 4))), QStringLiteral("1|1.0|3|0|128|44100|0|0|Joint Stereo|10|0|1|None|417"));
    EXPECT_EQ(decode(QByteArray("\xFF\xFB\x92\x64", 4)).frameLength(), 418);
}

TEST(MpegHeader, TheRatesAtEitherEndOfTheirTables)
{
    FrameFields top;
    top.bitRateIndex = 14;
    top.sampleRateIndex = 2;
    top.padding = true;
    EXPECT_EQ(fields(decode(top)), QStringLiteral("1|1.0|3|0|320|32000|1|0|Joint Stereo|10|0|1|None|1441"));
    FrameFields bottom;
    bottom.bitRateIndex = 1;
    bottom.sampleRateIndex = 1;
    EXPECT_EQ(fields(decode(bottom)), QStringLiteral("1|1.0|3|0|32|48000|0|0|Joint Stereo|10|0|1|None|96"));
}

TEST(MpegHeader, UnusableIndexesMakeTheCandidateInvalidAndCleared)
{
    FrameFields freeFormat;
    freeFormat.bitRateIndex = 0;
    FrameFields badIndex;
    badIndex.bitRateIndex = 15;
    FrameFields reserved;
    reserved.sampleRateIndex = 3;
    for (const FrameFields& shape : {freeFormat, badIndex, reserved})
        EXPECT_EQ(fields(decode(shape)), QStringLiteral("0|||0|||0|0|||0|0||0"));
}

TEST(MpegHeader, FlagsModesAndEmphasis)
{
    const char* expected[] = {"1|1.0|3|1|128|44100|0|1|Stereo|00|1|0|None|417", "1|1.0|3|1|128|44100|0|1|Joint Stereo|01|1|0|50/15 ms|417",
        "1|1.0|3|1|128|44100|0|1|Dual Channel|10|1|0|Reserved|417", "1|1.0|3|1|128|44100|0|1|Mono|11|1|0|CCIT J.17|417"};
    for (int i = 0; i < 4; ++i) {
        FrameFields shape;
        shape.channelMode = i;
        shape.modeExtension = i;
        shape.emphasis = i;
        shape.crc = true;
        shape.copyright = true;
        shape.original = false;
        shape.privateBit = true;
        EXPECT_EQ(fields(decode(shape)), QLatin1String(expected[i]));
    }
}
