// Playback through the real sound server path: the test runs a PulseAudio server of
// its own with a null sink and records that sink's monitor.

#include "tests/support/MediaFixtures.h"
#include "tests/support/SoundServer.h"

#include <QThread>
#include <gtest/gtest.h>

using namespace sonivo;
using namespace sonivo::test;

namespace {

class SoundServerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (const QString why = server.start(); !why.isEmpty())
            GTEST_SKIP() << "no sound server for the test: " << why.toStdString();
        qputenv("PULSE_SERVER", server.address().toUtf8());
        qunsetenv("SONIVO_AUDIO");
    }
    void playTone()
    {
        if (!media)
            media = std::make_unique<AudioMediaControl>();
        ASSERT_EQ(
            media->send(QStringLiteral("open ") + fixture("tone-3s-8k.mp3") + QStringLiteral(" type MPEGVideo alias a")).code, kMediaOk);
        ASSERT_EQ(media->send(QStringLiteral("play a")).code, kMediaOk);
        EXPECT_EQ(status("mode"), QStringLiteral("playing"));
    }
    QString status(const char* item) { return media->send(QStringLiteral("status a ") + QLatin1String(item)).text; }
    bool ends()
    {
        return eventually([&] { return status("mode") == QStringLiteral("stopped"); });
    }

    SoundServer server;
    std::unique_ptr<AudioMediaControl> media;
};

}  // namespace

TEST_F(SoundServerTest, WhatIsHeardFollowsTheEnvironmentAndTheServerGoingAndComingBack)
{
    // First the environment asks for silence: the song plays to its end unheard.
    qputenv("SONIVO_AUDIO", "null");
    {
        Recorder recorder(server.address());
        ASSERT_TRUE(recorder.started());
        playTone();
        ASSERT_TRUE(ends());
        EXPECT_EQ(status("position"), QStringLiteral("3000"));
        EXPECT_EQ(audibleSpanMs(recorder.stop()), -1);
    }
    qunsetenv("SONIVO_AUDIO");
    media.reset();
    // Twice: the second round's songs play on devices opened after others closed,
    // each with a thread of its own.
    for (int round = 0; round < 2; ++round) {
        playTone();
        ASSERT_TRUE(eventually([&] { return status("position").toLongLong() >= 300; }));
        server.kill();
        // It goes on from where the sound stopped, not from the start.
        QThread::msleep(100);
        EXPECT_GE(status("position").toLongLong(), 300);
        ASSERT_TRUE(ends());
        EXPECT_EQ(status("position"), QStringLiteral("3000"));
        ASSERT_TRUE(server.start().isEmpty());
        ASSERT_EQ(media->send(QStringLiteral("close a")).code, kMediaOk);
        Recorder recorder(server.address());
        ASSERT_TRUE(recorder.started());
        playTone();
        ASSERT_TRUE(ends());
        QThread::msleep(300);
        EXPECT_NEAR(audibleSpanMs(recorder.stop()), 3000, 150) << "round " << round;
        ASSERT_EQ(media->send(QStringLiteral("close a")).code, kMediaOk);
    }
}
