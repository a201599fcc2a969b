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

TEST(MediaCommand, MalformedCommandsAreRefused)
{
    EXPECT_EQ(errorOf(""), kMediaUnknownCommand);
    EXPECT_EQ(errorOf("rewind MP3Play"), kMediaUnknownCommand);
    for (const char* text : {"play", "play MP3Play from -5", "play MP3Play from 1e3", "seek MP3Play 100", "status MP3Play volume",
             "set MP3Play time format frames", "open a.mp3 alias MP3Play", "open  type MPEGVideo alias a", "pause MP3Play now"})
        EXPECT_EQ(errorOf(text), kMediaBadParameter) << text;
}
