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

TEST(FrameSearch, FindsTheFirstFrameThatAnotherConfirmsWithinTheWindow)
{
    FrameFields freeFormat;
    freeFormat.bitRateIndex = 0;
    FrameFields badIndex;
    badIndex.bitRateIndex = 15;
    FrameFields reservedRate;
    reservedRate.sampleRateIndex = 3;
    const QByteArray junk = frameHeader(freeFormat) + frameHeader(badIndex) + frameHeader(reservedRate);
    FrameFields mpeg2;
    mpeg2.versionLayer = 0xF2;
    const QByteArray mpeg2Stream = QByteArray(frameHeader(mpeg2) + zeros(200)).repeated(50);
    // FF FA FB 90 is invalid (bit-rate index 15). FA FB 90 64 would decode as a valid
    // 417-byte frame with a sync where it ends, but it does not start with FF.
    const QByteArray noLeadingFF = QByteArray("\xFF\xFA\xFB\x90\x64", 5) + zeros(413) + QByteArray("\xFF\xE0", 2) + zeros(20);
    // Inside a large ID3v2 tag: a header with a sync where its frame would end.
    QByteArray inTag = id3v2Tag(120000);
    inTag.replace(1010, 4, frameHeader(FrameFields{}));
    inTag.replace(1010 + 417, 2, QByteArray("\xFF\xFB", 2));
    const QByteArray tag = id3v2Tag(70000);
    const QByteArray one = frame(FrameFields{});
    struct Case {
        const char* name;
        QByteArray bytes;
        qint64 offset;
    };
    const Case cases[] = {
        {"at the start", frames(FrameFields{}, 3), 0},
        {"after leading bytes", zeros(1234) + frames(FrameFields{}, 3), 1234},
        {"after a sync no frame follows", falseSync() + frames(FrameFields{}, 3), falseSync().size()},
        {"after invalid candidates", junk + frames(FrameFields{}, 2), junk.size()},
        {"free format only", frames(freeFormat, 20), -1},
        {"MPEG-2 only", mpeg2Stream, -1},
        {"a header without its FF", noLeadingFF, -1},
        {"after a large tag with false syncs inside", inTag + frames(FrameFields{}, 3), inTag.size()},
        {"at the window's end after a tag", tag + zeros(49000) + frames(FrameFields{}, 2), tag.size() + 49000},
        {"past the window after a tag", tag + zeros(50000) + frames(FrameFields{}, 2), -1},
        {"past the window", zeros(50000) + frames(FrameFields{}, 2), -1},
        {"FF FB as the window's last bytes, completed from the file", zeros(49998) + frames(FrameFields{}, 2), 49998},
        {"only FF inside the window", zeros(49999) + frames(FrameFields{}, 2), -1},
        {"a frame ending at the end of the file", one, 0},
        {"a frame ending where the tag begins", one + id3v1Tag(TagFields{}), 0},
        {"a frame cut short", one.left(300), -1},
        {"a frame followed by no sync", one + zeros(10), -1},
        {"a sync's first byte at the end", frames(FrameFields{}, 4).left(417 * 3 + 1), 0},
        {"nothing", QByteArray(), -1},
        {"three FF", QByteArray(3, char(0xFF)), -1},
        {"a header alone", QByteArray("\xFF\xFB\x90", 3), -1},
        {"all FF", QByteArray(60000, char(0xFF)), -1},
        {"a tag header claiming more than there is", QByteArray("ID3\x03\x00\x00\x7F\x7F\x7F\x7F", 10), -1},
        {"a false sync alone", falseSync(), -1},
    };
    for (const Case& c : cases) {
        const FirstFrame f = search(c.bytes);
        EXPECT_EQ(f.offset, c.offset) << c.name;
        EXPECT_EQ(f.header.isValid(), c.offset >= 0) << c.name;
        EXPECT_EQ(f.vbrFrames, -1) << c.name;
    }
}

TEST(FrameSearch, ReadsTheFrameCountOfXingInfoAndVbriHeaders)
{
    FrameFields mono;
    mono.channelMode = 3;
    QByteArray noCount = xingFrame(FrameFields{}, 99);
    noCount[4 + 32 + 7] = 0;  // frames flag cleared
    const std::pair<QByteArray, qint64> cases[] = {
        {xingFrame(FrameFields{}, 1234) + frames(FrameFields{}, 2), 1234},
        {xingFrame(mono, 77, "Info") + frames(mono, 2), 77},
        {vbriFrame(FrameFields{}, 4321) + frames(FrameFields{}, 2), 4321},
        {noCount + frames(FrameFields{}, 2), -1},
        {xingFrame(FrameFields{}, 0) + frames(FrameFields{}, 2), -1},
    };
    for (const auto& [bytes, count] : cases)
        EXPECT_EQ(search(bytes).vbrFrames, count);
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
