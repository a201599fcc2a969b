#include "player/PlayMp3.h"
#include "tests/support/MediaFixtures.h"
#include "tests/support/TempFiles.h"

#include "common/NativePath.h"

#include <QDir>
#include <QFile>
#include <QStringList>
#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace sonivo;
using namespace sonivo::test;

namespace {

// The real service, with every command it is sent written down.
class RecordingMedia : public MediaControl {
public:
    explicit RecordingMedia(MediaControl& media) : media_(media) {}
    MediaReply send(const QString& command) override
    {
        sent << command;
        return media_.send(command);
    }
    QStringList sent;

private:
    MediaControl& media_;
};

// A service that answers every query with one text.
class FixedReplyMedia : public MediaControl {
public:
    explicit FixedReplyMedia(QString reply) : reply_(std::move(reply)) {}
    MediaReply send(const QString&) override { return {kMediaOk, reply_}; }

private:
    QString reply_;
};

class PlayMp3Test : public ::testing::Test {
protected:
    bool advance(qint64 ms) { return playback.playFor(ms); }

    SilentPlayback playback{PlayMp3::kAlias};
    RecordingMedia media{playback.media};
    PlayMp3 player{media};
    TempFiles files;
};

}  // namespace

TEST(PlayMp3Text, TimeTexts)
{
    EXPECT_EQ(PlayMp3::timeText(0), QStringLiteral("0:00"));
    EXPECT_EQ(PlayMp3::timeText(5), QStringLiteral("0:05"));
    EXPECT_EQ(PlayMp3::timeText(59), QStringLiteral("0:59"));
    EXPECT_EQ(PlayMp3::timeText(60), QStringLiteral("01:00"));
    EXPECT_EQ(PlayMp3::timeText(75), QStringLiteral("01:15"));
    EXPECT_EQ(PlayMp3::timeText(3600), QStringLiteral("60:00"));
    EXPECT_EQ(PlayMp3::timeText(7507), QStringLiteral("125:07"));
}

TEST(PlayMp3Text, HundredHourPositionsAreSecondsAndTexts)
{
    FixedReplyMedia media(QStringLiteral("360000999"));
    PlayMp3 player(media);
    EXPECT_EQ(player.PositionInSec(), 360000);
    EXPECT_EQ(player.Length(), QStringLiteral("6000:00"));
    FixedReplyMedia edge(QStringLiteral("59999"));
    PlayMp3 second(edge);
    EXPECT_EQ(second.PositionInSec(), 59);
    EXPECT_EQ(second.Position(), QStringLiteral("0:59"));
}

TEST_F(PlayMp3Test, BeforeAnyFileEverythingReadsZero)
{
    EXPECT_FALSE(player.IsPlaying());
    EXPECT_EQ(player.PositionInSec(), 0);
    EXPECT_EQ(player.LengthInSec(), 0);
    EXPECT_EQ(player.Position(), QStringLiteral("0:00"));
    EXPECT_EQ(player.Length(), QStringLiteral("0:00"));
    EXPECT_EQ(player.Filename(), QString());
}

TEST_F(PlayMp3Test, PlaysPausesResumesAndStops)
{
    player.setFilename(fixture("tone-3s-8k.mp3"));
    EXPECT_TRUE(media.sent.isEmpty());
    EXPECT_EQ(player.mmPlay(), PlayMp3::Success());
    EXPECT_TRUE(media.sent.contains(QStringLiteral("open ") + fixture("tone-3s-8k.mp3") + QStringLiteral(" type MPEGVideo Alias MP3Play")));
    EXPECT_TRUE(player.IsPlaying());
    EXPECT_EQ(player.LengthInSec(), 3);
    EXPECT_EQ(player.Length(), QStringLiteral("0:03"));
    ASSERT_TRUE(advance(1500));
    EXPECT_EQ(player.PositionInSec(), 1);

    player.mmPause();
    EXPECT_FALSE(player.IsPlaying());
    EXPECT_EQ(playback.status("mode"), QStringLiteral("paused"));
    player.mmPause();
    EXPECT_TRUE(player.IsPlaying());

    media.sent.clear();
    EXPECT_EQ(player.mmStop(), QString());
    EXPECT_EQ(media.sent, QStringList({QStringLiteral("stop MP3Play"), QStringLiteral("close MP3Play")}));
    EXPECT_FALSE(player.IsPlaying());
    EXPECT_EQ(player.Length(), QStringLiteral("0:00"));
}

TEST_F(PlayMp3Test, PauseFollowsTheDevice)
{
    // Pause while nothing plays changes nothing, so the first Pause after a play pauses.
    player.mmPause();
    player.setFilename(fixture("tone-3s-8k.mp3"));
    ASSERT_EQ(player.mmPlay(), PlayMp3::Success());
    player.mmPause();
    EXPECT_EQ(playback.status("mode"), QStringLiteral("paused"));
    // A device that has ended is stopped, and Pause leaves it so.
    player.mmPause();
    playback.clock->advanceMs(4000);
    ASSERT_TRUE(eventually([&] { return playback.status("mode") == QStringLiteral("stopped"); }));
    player.mmPause();
    EXPECT_EQ(playback.status("mode"), QStringLiteral("stopped"));
    EXPECT_EQ(player.PositionInSec(), 3);
}

TEST_F(PlayMp3Test, SeekToPlaysOnWhilePlayingAndOnlyMovesWhilePaused)
{
    player.setFilename(fixture("tone-3s-8k.mp3"));
    ASSERT_EQ(player.mmPlay(), PlayMp3::Success());
    media.sent.clear();
    player.SeekTo(2000);
    EXPECT_TRUE(media.sent.contains(QStringLiteral("play MP3Play from 2000")));
    EXPECT_FALSE(media.sent.filter(QStringLiteral("seek")).size());
    EXPECT_TRUE(player.IsPlaying());
    EXPECT_EQ(player.PositionInSec(), 2);

    player.mmPause();
    media.sent.clear();
    player.SeekTo(1000);
    EXPECT_TRUE(media.sent.contains(QStringLiteral("seek MP3Play to 1000")));
    EXPECT_FALSE(media.sent.filter(QStringLiteral("play")).size());
    EXPECT_EQ(player.PositionInSec(), 1);
    EXPECT_EQ(playback.status("mode"), QStringLiteral("paused"));
    player.mmPause();  // resumes from the sought position
    ASSERT_TRUE(advance(500));
    EXPECT_EQ(playback.status("position"), QStringLiteral("1500"));
}

TEST_F(PlayMp3Test, ASecondPlayWithoutStopKeepsTheFirstFilePlaying)
{
    player.setFilename(fixture("tone-3s-8k.mp3"));
    ASSERT_EQ(player.mmPlay(), PlayMp3::Success());
    ASSERT_TRUE(advance(1000));
    player.setFilename(fixture("vbr-2s-8k-no-info.mp3"));
    EXPECT_EQ(player.mmPlay(), media.errorText(kMediaAliasInUse));
    EXPECT_TRUE(player.IsPlaying());
    EXPECT_EQ(player.LengthInSec(), 3);
    EXPECT_EQ(player.PositionInSec(), 1);
}

TEST_F(PlayMp3Test, AFileThatCannotBePlayedIsReportedAndNothingPlays)
{
    player.setFilename(fixture("tone-3s-8k.mp3"));
    ASSERT_EQ(player.mmPlay(), PlayMp3::Success());
    player.mmStop();

    // A missing file never brings back the one played before.
    player.setFilename(files.path(QStringLiteral("gone.mp3")));
    media.sent.clear();
    EXPECT_EQ(player.mmPlay(), QStringLiteral("Errore nel file di input"));
    EXPECT_TRUE(media.sent.isEmpty());
    EXPECT_FALSE(player.IsPlaying());
    EXPECT_EQ(player.LengthInSec(), 0);

    player.setFilename(files.write(QStringLiteral("noise.mp3"), QByteArray(3000, 'x')));
    EXPECT_EQ(player.mmPlay(), media.errorText(kMediaCannotDecode));
    EXPECT_FALSE(player.IsPlaying());
    EXPECT_TRUE(playback.status("mode").isEmpty());
}

TEST_F(PlayMp3Test, OnlyRegularFilesAreOpenedAsTheOtherCommandsRefuseTheRest)
{
    const QString pipe = files.path(QStringLiteral("pipe.mp3"));
    ASSERT_EQ(::mkfifo(toNativePath(pipe).constData(), 0644), 0);
    QDir().mkpath(files.path(QStringLiteral("folder.mp3")));
    for (const QString& path : {pipe, files.path(QStringLiteral("folder.mp3")), QStringLiteral("/dev/zero")}) {
        player.setFilename(path);
        media.sent.clear();
        EXPECT_EQ(player.mmPlay(), QStringLiteral("impossibile leggere il file (non è un file regolare)")) << path.toStdString();
        EXPECT_TRUE(media.sent.isEmpty()) << "the service never waits on it";
        EXPECT_FALSE(player.IsPlaying());
    }
    player.setFilename(fixture("tone-3s-8k.mp3"));
    EXPECT_EQ(player.mmPlay(), PlayMp3::Success()) << "the next file plays";
}

TEST_F(PlayMp3Test, PathsWithBlanksQuotesAndOddBytesPlay)
{
    QFile tone(fixture("tone-3s-8k.mp3"));
    ASSERT_TRUE(tone.open(QIODevice::ReadOnly));
    const QByteArray bytes = tone.readAll();
    for (const QString& name : {QStringLiteral("with blank.mp3"), QStringLiteral("\"quoted\".mp3"),
             QStringLiteral("x") + QChar(0xDCFF) + QStringLiteral(" y.mp3")}) {
        player.setFilename(files.write(name, bytes));
        EXPECT_EQ(player.mmPlay(), PlayMp3::Success()) << name.toStdString();
        EXPECT_EQ(player.LengthInSec(), 3);
        player.mmStop();
    }
}

TEST_F(PlayMp3Test, DestroyingThePlayerClosesTheDevice)
{
    {
        PlayMp3 other(playback.media);
        other.setFilename(fixture("tone-3s-8k.mp3"));
        ASSERT_EQ(other.mmPlay(), PlayMp3::Success());
        EXPECT_EQ(playback.status("mode"), QStringLiteral("playing"));
    }
    EXPECT_TRUE(playback.status("mode").isEmpty());
}
