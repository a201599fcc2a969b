#include "player/PlayMp3.h"
#include "tests/support/MediaFixtures.h"
#include "tests/support/TempFiles.h"

#include <QStringList>
#include <gtest/gtest.h>
#include <utility>

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

TEST(PlayMp3Text, TimesUpToAHundredHoursAreSecondsAndTexts)
{
    const std::pair<qint64, const char*> texts[] = {
        {0, "0:00"}, {5, "0:05"}, {59, "0:59"}, {60, "01:00"}, {75, "01:15"}, {3600, "60:00"}, {7507, "125:07"}};
    for (const auto& [seconds, text] : texts)
        EXPECT_EQ(PlayMp3::timeText(seconds), QLatin1String(text)) << seconds;

    FixedReplyMedia media(QStringLiteral("360000999"));
    PlayMp3 player(media);
    EXPECT_EQ(player.PositionInSec(), 360000);
    EXPECT_EQ(player.Length(), QStringLiteral("6000:00"));
    FixedReplyMedia edge(QStringLiteral("59999"));
    PlayMp3 second(edge);
    EXPECT_EQ(second.PositionInSec(), 59);
    EXPECT_EQ(second.Position(), QStringLiteral("0:59"));
}

TEST_F(PlayMp3Test, ASecondPlayKeepsTheFirstFileAndSeekToPlaysOnWhilePlayingAndOnlyMovesWhilePaused)
{
    player.setFilename(fixture("tone-3s-8k.mp3"));
    ASSERT_EQ(player.mmPlay(), PlayMp3::Success());
    ASSERT_TRUE(advance(1000));
    player.setFilename(fixture("vbr-2s-8k-no-info.mp3"));
    EXPECT_EQ(player.mmPlay(), media.errorText(kMediaAliasInUse)) << "played without a stop";
    EXPECT_TRUE(player.IsPlaying());
    EXPECT_EQ(player.LengthInSec(), 3);
    EXPECT_EQ(player.PositionInSec(), 1);

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

TEST_F(PlayMp3Test, PathsWithBlanksQuotesAndOddBytesPlay)
{
    const QByteArray bytes = TempFiles::read(fixture("tone-3s-8k.mp3"));
    for (const QString& name : {QStringLiteral("with blank.mp3"), QStringLiteral("\"quoted\".mp3"),
             QStringLiteral("x") + QChar(0xDCFF) + QStringLiteral(" y.mp3")}) {
        player.setFilename(files.write(name, bytes));
        EXPECT_EQ(player.mmPlay(), PlayMp3::Success()) << name.toStdString();
        EXPECT_EQ(player.LengthInSec(), 3);
        player.mmStop();
    }
}
