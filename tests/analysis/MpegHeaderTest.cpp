#include "analysis/MpegHeader.h"
#include "tests/support/Mp3Builder.h"

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

}  // namespace

TEST(MpegHeader, DecodesTheWorkedExample)
{
    const MpegHeader h = decode(QByteArray("\xFF\xFB\x90\x64", 4));
    ASSERT_TRUE(h.isValid());
    EXPECT_EQ(h.mpegVersionText(), QStringLiteral("1.0"));
    EXPECT_EQ(h.layerText(), QStringLiteral("3"));
    EXPECT_FALSE(h.crcPresent());
    EXPECT_EQ(h.bitRateText(), QStringLiteral("128"));
    EXPECT_EQ(h.sampleRateText(), QStringLiteral("44100"));
    EXPECT_EQ(h.padding(), 0);
    EXPECT_EQ(h.privateBit(), 0);
    EXPECT_EQ(h.channelModeText(), QStringLiteral("Joint Stereo"));
    EXPECT_EQ(h.modeExtensionText(), QStringLiteral("10"));
    EXPECT_FALSE(h.copyright());
    EXPECT_TRUE(h.original());
    EXPECT_EQ(h.emphasisText(), QStringLiteral("None"));
    EXPECT_EQ(h.frameLength(), 417);
    EXPECT_EQ(decode(QByteArray("\xFF\xFB\x92\x64", 4)).frameLength(), 418);
}

TEST(MpegHeader, BitRateAndSampleRateTables)
{
    const int kbps[] = {32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320};
    const int rates[] = {44100, 48000, 32000};
    for (int bi = 1; bi <= 14; ++bi) {
        for (int si = 0; si < 3; ++si) {
            FrameFields shape;
            shape.bitRateIndex = bi;
            shape.sampleRateIndex = si;
            const MpegHeader h = decode(shape);
            ASSERT_TRUE(h.isValid()) << bi << " " << si;
            EXPECT_EQ(h.bitRateKbps(), kbps[bi - 1]);
            EXPECT_EQ(h.sampleRateText(), QString::number(rates[si]));
            EXPECT_EQ(h.frameLength(), kbps[bi - 1] * 144000 / rates[si]);
        }
    }
    FrameFields top;
    top.bitRateIndex = 14;
    top.sampleRateIndex = 2;
    top.padding = true;
    EXPECT_EQ(decode(top).frameLength(), 1441);
}

TEST(MpegHeader, UnusableIndexesMakeTheCandidateInvalidAndCleared)
{
    for (int bi : {0, 15}) {
        FrameFields shape;
        shape.bitRateIndex = bi;
        const MpegHeader h = decode(shape);
        EXPECT_FALSE(h.isValid());
        EXPECT_EQ(h.frameLength(), 0);
        EXPECT_TRUE(h.bitRateText().isEmpty());
        EXPECT_TRUE(h.channelModeText().isEmpty());
        EXPECT_FALSE(h.original());
    }
    FrameFields reserved;
    reserved.sampleRateIndex = 3;
    EXPECT_FALSE(decode(reserved).isValid());
    EXPECT_TRUE(decode(reserved).sampleRateText().isEmpty());
}

TEST(MpegHeader, FlagsModesAndEmphasis)
{
    const char* modes[] = {"Stereo", "Joint Stereo", "Dual Channel", "Mono"};
    const char* emphasis[] = {"None", "50/15 ms", "Reserved", "CCIT J.17"};
    for (int i = 0; i < 4; ++i) {
        FrameFields shape;
        shape.channelMode = i;
        shape.modeExtension = i;
        shape.emphasis = i;
        shape.crc = true;
        shape.copyright = true;
        shape.original = false;
        shape.privateBit = true;
        const MpegHeader h = decode(shape);
        EXPECT_EQ(h.channelModeText(), QLatin1String(modes[i]));
        EXPECT_EQ(h.emphasisText(), QLatin1String(emphasis[i]));
        EXPECT_EQ(h.modeExtensionText(), QString::number(i, 2).rightJustified(2, QLatin1Char('0')));
        EXPECT_TRUE(h.crcPresent());
        EXPECT_TRUE(h.copyright());
        EXPECT_FALSE(h.original());
        EXPECT_EQ(h.privateBit(), 1);
    }
}
