#include "audio/Mp3Decoder.h"
#include "tests/support/MediaFixtures.h"
#include "tests/support/Mp3Builder.h"
#include "tests/support/TempFiles.h"

#include <QFile>
#include <algorithm>
#include <cstdlib>
#include <gtest/gtest.h>
#include <vector>

using namespace sonivo;
using namespace sonivo::test;

namespace {

QString openCommand(const QString& path)
{
    return QStringLiteral("open \"") + path + QStringLiteral("\" type MPEGVideo alias a");
}

class AudioMediaControlTest : public ::testing::Test {
protected:
    void open(const QString& path) { ASSERT_EQ(playback.send(openCommand(path)).code, kMediaOk) << path.toStdString(); }
    void send(const char* command) { ASSERT_EQ(playback.send(QString::fromUtf8(command)).code, kMediaOk) << command; }
    qint64 position() { return playback.status("position").toLongLong(); }
    QString mode() { return playback.status("mode"); }
    bool stopsAtTheEnd()
    {
        return eventually([&] { return mode() == QStringLiteral("stopped"); });
    }

    SilentPlayback playback;
    TempFiles files;
};

}  // namespace

TEST_F(AudioMediaControlTest, FilesWithoutAnInfoHeaderAreMeasuredByTheirFrames)
{
    // 2160 ms of frames; the estimate from the first frame's bit rate says 1411.
    open(fixture("vbr-2s-8k-no-info.mp3"));
    EXPECT_TRUE(eventually([&] { return playback.status("length") == QStringLiteral("2160"); }));
    send("close a");
    // Without the header the encoder's delay and padding stay in: 44 frames of 576.
    open(fixture("tone-3s-8k-no-info.mp3"));
    EXPECT_TRUE(eventually([&] { return playback.status("length") == QStringLiteral("3168"); }));
    send("play a");
    playback.clock->advanceMs(4000);
    EXPECT_TRUE(stopsAtTheEnd());
    EXPECT_EQ(position(), 3168);
}

TEST_F(AudioMediaControlTest, PlayPauseResumeStopAndTheEnd)
{
    open(fixture("tone-3s-8k.mp3"));
    EXPECT_EQ(playback.status("length"), QStringLiteral("3000")) << "the encoder's sample count";
    send("play a");
    EXPECT_EQ(mode(), QStringLiteral("playing"));
    ASSERT_TRUE(playback.playFor(1000));
    EXPECT_EQ(position(), 1000);

    send("pause a");
    EXPECT_EQ(mode(), QStringLiteral("paused"));
    playback.clock->advanceMs(700);
    EXPECT_EQ(position(), 1000);
    send("pause a");  // pausing a pause changes nothing
    send("play a");
    EXPECT_EQ(mode(), QStringLiteral("playing"));
    ASSERT_TRUE(playback.playFor(500));
    EXPECT_EQ(position(), 1500);

    send("stop a");
    EXPECT_EQ(mode(), QStringLiteral("stopped"));
    playback.clock->advanceMs(700);
    EXPECT_EQ(position(), 1500);
    send("play a");  // on from where it stopped
    ASSERT_TRUE(playback.playFor(100));
    EXPECT_EQ(position(), 1600);

    // The end comes once the output has played the last sample, not when it was decoded.
    playback.clock->advanceMs(1300);
    EXPECT_TRUE(eventually([&] { return position() == 2900; }));
    EXPECT_EQ(mode(), QStringLiteral("playing"));
    playback.clock->advanceMs(200);
    EXPECT_TRUE(stopsAtTheEnd());
    EXPECT_EQ(position(), 3000);
}

TEST_F(AudioMediaControlTest, SeekWhilePlayingAndWhilePausedButNeverPastTheEnd)
{
    open(fixture("tone-3s-8k.mp3"));
    send("play a from 2000");
    EXPECT_EQ(position(), 2000);
    ASSERT_TRUE(playback.playFor(250));
    EXPECT_EQ(position(), 2250);

    send("pause a");
    send("seek a to 500");
    EXPECT_EQ(mode(), QStringLiteral("paused"));
    EXPECT_EQ(position(), 500);
    send("play a");
    ASSERT_TRUE(playback.playFor(100));
    EXPECT_EQ(position(), 600);
    EXPECT_EQ(playback.send(QStringLiteral("seek a to 3001")).code, kMediaOutOfRange);
    EXPECT_EQ(playback.send(QStringLiteral("play a from 999999999")).code, kMediaOutOfRange);
    EXPECT_EQ(mode(), QStringLiteral("playing")) << "a seek past the end is refused and changes nothing";
    EXPECT_EQ(position(), 600);

    // A seek while playing stops at the new position.
    send("seek a to 3000");
    EXPECT_EQ(mode(), QStringLiteral("stopped"));
    EXPECT_EQ(position(), 3000);
}

TEST_F(AudioMediaControlTest, FilesThatCannotBePlayedAreRefusedWithTheirReasonAndLeaveNothingOpen)
{
    EXPECT_EQ(playback.send(openCommand(files.path(QStringLiteral("none.mp3")))).code, kMediaFileNotFound);
    EXPECT_EQ(playback.send(openCommand(files.write(QStringLiteral("empty.mp3"), {}))).code, kMediaCannotDecode);
    const QString text = files.write(QStringLiteral("text.mp3"), QByteArray("just some words\n").repeated(500));
    EXPECT_EQ(playback.send(openCommand(text)).code, kMediaCannotDecode);
    EXPECT_EQ(playback.send(openCommand(files.path(QString()))).code, kMediaFileUnreadable);  // a folder
    EXPECT_EQ(playback.send(QStringLiteral("open x.mp3 type WaveAudio alias a")).code, kMediaUnsupportedType);
    // Nothing is open: every question has an empty answer.
    for (const char* item : {"mode", "position", "length"}) {
        const MediaReply reply = playback.send(QStringLiteral("status a ") + QLatin1String(item));
        EXPECT_EQ(reply.code, kMediaNotOpen);
        EXPECT_TRUE(reply.text.isEmpty());
    }
    EXPECT_EQ(playback.send(QStringLiteral("play a")).code, kMediaNotOpen);
    EXPECT_FALSE(playback.media.errorText(kMediaNotOpen).isEmpty());
}

TEST_F(AudioMediaControlTest, AFileShorterThanItsHeaderSaysOrCutWhilePlayingEndsWhereItsAudioEnds)
{
    // The info header promises 3000 ms; the 22 whole frames that are there hold 12,672
    // samples, less the encoder's delay of 1,105: 1445 ms.
    const QString path = files.write(QStringLiteral("cut.mp3"), TempFiles::read(fixture("tone-3s-8k.mp3")).left(5000));
    open(path);
    send("play a");
    playback.clock->advanceMs(3000);
    EXPECT_TRUE(stopsAtTheEnd());
    EXPECT_EQ(position(), 1445);
    EXPECT_EQ(playback.status("length"), QStringLiteral("1445"));
    EXPECT_EQ(playback.send(QStringLiteral("play a from 1446")).code, kMediaOutOfRange);

    send("play a from 0");
    ASSERT_TRUE(QFile::resize(path, 3000));  // about 725 ms of audio left
    playback.clock->advanceMs(3000);
    EXPECT_TRUE(stopsAtTheEnd());
    EXPECT_LT(position(), 1000);
    EXPECT_EQ(playback.status("length").toLongLong(), position());
}

TEST_F(AudioMediaControlTest, AFiveMinuteSongPlaysToItsEndOnTheTestClock)
{
    FrameFields shape;  // 44.1 kHz, 1152 samples a frame
    const int frames = 11485;
    open(files.write(QStringLiteral("long.mp3"), xingFrame(shape, frames) + ::sonivo::test::frames(shape, frames)));
    const qint64 length = playback.status("length").toLongLong();
    EXPECT_NEAR(length, 300000, 30);
    send("play a");
    playback.clock->advanceMs(301000);
    EXPECT_TRUE(stopsAtTheEnd());
    EXPECT_EQ(position(), length);
}

TEST(Mp3Decoder, SeekIsSampleAccurate)
{
    auto decodeAll = [](Mp3Decoder& decoder) {
        std::vector<qint16> all(30000);
        qint64 total = 0;
        while (const qint64 n = decoder.read(all.data() + total, std::min<qint64>(4096, qint64(all.size()) - total)))
            total += n;
        all.resize(size_t(total));
        return all;
    };
    Mp3Decoder whole;
    ASSERT_EQ(whole.open(fixture("tone-3s-8k.mp3")), kMediaOk);
    const std::vector<qint16> all = decodeAll(whole);
    ASSERT_EQ(all.size(), 24000u);
    // After a seek the decoder starts from fresh state, so samples may differ in the
    // last bit; one sample early or late would differ by thousands on this tone.
    for (const qint64 at : {12345, 577, 23999, 0}) {
        Mp3Decoder decoder;
        ASSERT_EQ(decoder.open(fixture("tone-3s-8k.mp3")), kMediaOk);
        ASSERT_TRUE(decoder.seek(at));
        const std::vector<qint16> rest = decodeAll(decoder);
        ASSERT_EQ(qint64(rest.size()), 24000 - at);
        int worst = 0;
        for (size_t i = 0; i < rest.size(); ++i)
            worst = std::max(worst, std::abs(rest[i] - all[size_t(at) + i]));
        EXPECT_LE(worst, 2) << at;
    }
}
