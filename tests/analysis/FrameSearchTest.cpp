#include "analysis/FrameSearch.h"
#include "tests/support/Mp3Builder.h"

#include <gtest/gtest.h>

using namespace sonivo;
using namespace sonivo::test;

namespace {

FirstFrame search(const QByteArray& bytes)
{
    MemoryByteSource source(bytes);
    return findFirstFrame(source);
}

QByteArray zeros(int n)
{
    return QByteArray(n, 0);
}

// A header whose frame length leads to no further sync.
QByteArray falseSync()
{
    return frameHeader(FrameFields{}) + zeros(600);
}

}  // namespace

TEST(FrameSearch, FindsTheFirstFrameAfterLeadingBytes)
{
    EXPECT_EQ(search(frames(FrameFields{}, 3)).offset, 0);
    const FirstFrame f = search(zeros(1234) + frames(FrameFields{}, 3));
    EXPECT_EQ(f.offset, 1234);
    EXPECT_TRUE(f.header.isValid());
    EXPECT_EQ(f.vbrFrames, -1);
}

TEST(FrameSearch, RejectsASyncThatNoFrameFollowsAndGoesOn)
{
    const QByteArray bytes = falseSync() + frames(FrameFields{}, 3);
    EXPECT_EQ(search(bytes).offset, falseSync().size());
}

TEST(FrameSearch, SkipsInvalidCandidates)
{
    FrameFields freeFormat;
    freeFormat.bitRateIndex = 0;
    FrameFields badIndex;
    badIndex.bitRateIndex = 15;
    FrameFields reservedRate;
    reservedRate.sampleRateIndex = 3;
    const QByteArray junk = frameHeader(freeFormat) + frameHeader(badIndex) + frameHeader(reservedRate);
    EXPECT_EQ(search(junk + frames(FrameFields{}, 2)).offset, junk.size());
    EXPECT_EQ(search(frames(freeFormat, 20)).offset, -1);
}

TEST(FrameSearch, OnlyMpeg1LayerThreeIsFound)
{
    FrameFields mpeg2;
    mpeg2.versionLayer = 0xF2;
    QByteArray stream;
    for (int i = 0; i < 50; ++i)
        stream += frameHeader(mpeg2) + zeros(200);
    EXPECT_EQ(search(stream).offset, -1);
}

TEST(FrameSearch, AHeaderMustStartWithTheSyncByte)
{
    // FF FA FB 90 is invalid (bit-rate index 15). FA FB 90 64 would decode as a
    // valid 417-byte frame, and a sync stands where it would end, but it does not
    // start with FF and must not be taken.
    QByteArray bytes("\xFF\xFA\xFB\x90\x64", 5);
    bytes += zeros(1 + 417 - int(bytes.size()));
    bytes += QByteArray("\xFF\xE0", 2) + zeros(20);
    EXPECT_EQ(search(bytes).offset, -1);
}

TEST(FrameSearch, LargeId3v2TagIsSkippedWithTheFalseSyncsInside)
{
    QByteArray payload = zeros(120000);
    // Inside the tag: a header with a sync where its frame would end.
    payload.replace(1000, 4, frameHeader(FrameFields{}));
    payload.replace(1000 + 417, 2, QByteArray("\xFF\xFB", 2));
    const QByteArray tag = id3v2Tag(int(payload.size()));
    QByteArray bytes = tag;
    bytes.replace(10, payload.size(), payload);
    bytes += frames(FrameFields{}, 3);
    EXPECT_EQ(search(bytes).offset, tag.size());
}

TEST(FrameSearch, TheWindowStartsAfterTheTagAndEnds50000BytesLater)
{
    const QByteArray tag = id3v2Tag(70000);
    EXPECT_EQ(search(tag + zeros(49000) + frames(FrameFields{}, 2)).offset, tag.size() + 49000);
    EXPECT_EQ(search(tag + zeros(50000) + frames(FrameFields{}, 2)).offset, -1);
    EXPECT_EQ(search(zeros(50000) + frames(FrameFields{}, 2)).offset, -1);
}

TEST(FrameSearch, ACandidateAtTheEndOfTheWindowIsCompletedFromTheFile)
{
    // FF FB are the window's last two bytes; the header's last two lie beyond it.
    EXPECT_EQ(search(zeros(49998) + frames(FrameFields{}, 2)).offset, 49998);
    // Only the FF is inside the window: not a candidate.
    EXPECT_EQ(search(zeros(49999) + frames(FrameFields{}, 2)).offset, -1);
}

TEST(FrameSearch, ConfirmationAtOrBeyondTheEnd)
{
    const QByteArray one = frame(FrameFields{});
    EXPECT_EQ(search(one).offset, 0) << "a frame ending exactly at the end of the file";
    EXPECT_EQ(search(one + id3v1Tag(TagFields{})).offset, 0) << "a frame ending where the tag begins";
    EXPECT_EQ(search(one.left(300)).offset, -1) << "a frame cut short";
    EXPECT_EQ(search(one + zeros(10)).offset, -1);
    EXPECT_EQ(search(frames(FrameFields{}, 4).left(417 * 3 + 1)).offset, 0);
}

TEST(FrameSearch, TinyAndDegenerateInput)
{
    for (int n = 0; n <= 3; ++n)
        EXPECT_EQ(search(QByteArray(n, char(0xFF))).offset, -1) << n;
    EXPECT_EQ(search(QByteArray("\xFF\xFB\x90", 3)).offset, -1);
    EXPECT_EQ(search(QByteArray(60000, char(0xFF))).offset, -1);
    EXPECT_EQ(search(QByteArray("ID3\x03\x00\x00\x7F\x7F\x7F\x7F", 10)).offset, -1);
    const FirstFrame none = search(falseSync());
    EXPECT_FALSE(none.header.isValid());
    EXPECT_EQ(none.header.frameLength(), 0);
}

TEST(FrameSearch, ReadsTheFrameCountOfXingInfoAndVbriHeaders)
{
    FrameFields mono;
    mono.channelMode = 3;
    EXPECT_EQ(search(xingFrame(FrameFields{}, 1234) + frames(FrameFields{}, 2)).vbrFrames, 1234);
    EXPECT_EQ(search(xingFrame(mono, 77, "Info") + frames(mono, 2)).vbrFrames, 77);
    EXPECT_EQ(search(vbriFrame(FrameFields{}, 4321) + frames(FrameFields{}, 2)).vbrFrames, 4321);

    QByteArray noCount = xingFrame(FrameFields{}, 99);
    noCount[4 + 32 + 7] = 0;  // frames flag cleared
    EXPECT_EQ(search(noCount + frames(FrameFields{}, 2)).vbrFrames, -1);
    EXPECT_EQ(search(xingFrame(FrameFields{}, 0) + frames(FrameFields{}, 2)).vbrFrames, -1);
}

TEST(FrameSearch, AReadFailureIsReported)
{
    class Failing final : public ByteSource {
    public:
        qint64 size() const override { return 100000; }
        qint64 readAt(qint64, unsigned char*, qint64) override { return -1; }
    } failing;
    const FirstFrame f = findFirstFrame(failing);
    EXPECT_TRUE(f.readFailed);
    EXPECT_EQ(f.offset, -1);
}
