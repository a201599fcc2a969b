#include "audio/MediaCommand.h"
#include "audio/MediaControl.h"

#include <gtest/gtest.h>

using namespace sonivo;

namespace {

MediaCommand parsed(const QString& text)
{
    MediaCommand command;
    EXPECT_EQ(parseMediaCommand(text, command), kMediaOk) << text.toStdString();
    return command;
}

int errorOf(const char* text)
{
    MediaCommand command;
    return parseMediaCommand(QString::fromUtf8(text), command);
}

}  // namespace

TEST(MediaCommand, OpenTakesEverythingBeforeTheClausesAsThePath)
{
    MediaCommand c = parsed(QStringLiteral("open /music/a.mp3 type MPEGVideo Alias MP3Play"));
    EXPECT_EQ(c.verb, MediaCommand::Verb::Open);
    EXPECT_EQ(c.path, QStringLiteral("/music/a.mp3"));
    EXPECT_EQ(c.deviceType, QStringLiteral("MPEGVideo"));
    EXPECT_EQ(c.alias, QStringLiteral("MP3Play"));

    c = parsed(QStringLiteral("OPEN \"/m/two  blanks \"q\" type x.mp3\" alias A TYPE mpegvideo"));
    EXPECT_EQ(c.path, QStringLiteral("/m/two  blanks \"q\" type x.mp3"));
    EXPECT_EQ(c.alias, QStringLiteral("A"));
    // Only one pair of quotes comes off: a name that begins and ends with one keeps them.
    EXPECT_EQ(parsed(QStringLiteral("open \"\"x\"\" type MPEGVideo alias a")).path, QStringLiteral("\"x\""));
    const QString lossless = QStringLiteral("/m/caf") + QChar(0xDCE9) + QStringLiteral(".mp3");
    EXPECT_EQ(parsed(QStringLiteral("open ") + lossless + QStringLiteral(" type MPEGVideo alias a")).path, lossless);
}

TEST(MediaCommand, DeviceCommandsAndTheirNumbers)
{
    EXPECT_EQ(parsed(QStringLiteral("play MP3Play")).position, -1);
    MediaCommand c = parsed(QStringLiteral("play MP3Play from 90000"));
    EXPECT_EQ(c.verb, MediaCommand::Verb::Play);
    EXPECT_EQ(c.position, 90000);
    c = parsed(QStringLiteral("seek MP3Play to 360000000"));
    EXPECT_EQ(c.verb, MediaCommand::Verb::Seek);
    EXPECT_EQ(c.position, 360000000);
    EXPECT_EQ(parsed(QStringLiteral("status MP3Play length")).item, MediaCommand::Item::Length);
    EXPECT_EQ(parsed(QStringLiteral("set MP3Play time format milliseconds")).verb, MediaCommand::Verb::SetTimeFormat);
    EXPECT_EQ(parsed(QStringLiteral("close MP3Play")).verb, MediaCommand::Verb::Close);
}

TEST(MediaCommand, MalformedCommandsAreRefused)
{
    EXPECT_EQ(errorOf(""), kMediaUnknownCommand);
    EXPECT_EQ(errorOf("rewind MP3Play"), kMediaUnknownCommand);
    EXPECT_EQ(errorOf("play"), kMediaBadParameter);
    EXPECT_EQ(errorOf("play MP3Play from -5"), kMediaBadParameter);
    EXPECT_EQ(errorOf("play MP3Play from 1e3"), kMediaBadParameter);
    EXPECT_EQ(errorOf("seek MP3Play 100"), kMediaBadParameter);
    EXPECT_EQ(errorOf("status MP3Play volume"), kMediaBadParameter);
    EXPECT_EQ(errorOf("set MP3Play time format frames"), kMediaBadParameter);
    EXPECT_EQ(errorOf("open a.mp3 alias MP3Play"), kMediaBadParameter);
    EXPECT_EQ(errorOf("open  type MPEGVideo alias a"), kMediaBadParameter);
    EXPECT_EQ(errorOf("pause MP3Play now"), kMediaBadParameter);
}
