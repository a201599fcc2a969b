// Playback through the real sound server path: the test runs a PulseAudio server of
// its own with a null sink and records that sink's monitor.

#include "tests/support/MediaFixtures.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <cmath>
#include <gtest/gtest.h>

using namespace sonivo;
using namespace sonivo::test;

namespace {

constexpr int kRecordRate = 8000;

class SoundServer {
public:
    // An empty text when the server runs, else why it does not.
    QString start()
    {
        const QString program = QStandardPaths::findExecutable(QStringLiteral("pulseaudio"));
        if (program.isEmpty())
            return QStringLiteral("pulseaudio is not installed");
        if (!runtime_.isValid())
            return QStringLiteral("no temporary folder");
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime_.path());
        env.insert(QStringLiteral("HOME"), runtime_.path());
        server_.setProcessEnvironment(env);
        server_.setProcessChannelMode(QProcess::MergedChannels);
        // -n: no default configuration; --system=false lets root run a user server.
        server_.start(program,
            {QStringLiteral("-n"), QStringLiteral("--daemonize=no"), QStringLiteral("--system=false"),
                QStringLiteral("--exit-idle-time=-1"), QStringLiteral("--use-pid-file=false"), QStringLiteral("--disallow-exit"),
                QStringLiteral("-L"), QStringLiteral("module-null-sink sink_name=sonivo_test"), QStringLiteral("-L"),
                QStringLiteral("module-native-protocol-unix auth-anonymous=1 socket=") + socket()});
        if (!server_.waitForStarted(5000))
            return QStringLiteral("pulseaudio does not start");
        if (!eventually([&] { return QFile::exists(socket()) || server_.state() == QProcess::NotRunning; })
            || server_.state() == QProcess::NotRunning)
            return QStringLiteral("pulseaudio ended: ") + QString::fromLocal8Bit(server_.readAll());
        return {};
    }
    // Ends the server as a crash would; its socket goes, so that a new start waits
    // for the new server's.
    void kill()
    {
        server_.kill();
        server_.waitForFinished(5000);
        QFile::remove(socket());
    }
    ~SoundServer() { kill(); }
    QString socket() const { return runtime_.filePath(QStringLiteral("native")); }
    QString address() const { return QStringLiteral("unix:") + socket(); }

private:
    QTemporaryDir runtime_;
    QProcess server_;
};

// Mono 16-bit samples of the null sink's monitor, from start to stop.
class Recorder {
public:
    explicit Recorder(const QString& server)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("PULSE_SERVER"), server);
        parec_.setProcessEnvironment(env);
        parec_.start(QStringLiteral("parec"),
            {QStringLiteral("-d"), QStringLiteral("sonivo_test.monitor"), QStringLiteral("--raw"), QStringLiteral("--format=s16le"),
                QStringLiteral("--rate=%1").arg(kRecordRate), QStringLiteral("--channels=1"), QStringLiteral("--latency-msec=20")});
    }
    // Waits for the first recorded bytes, so that nothing played is missed.
    bool started() { return parec_.waitForStarted(5000) && parec_.waitForReadyRead(5000); }
    QByteArray stop()
    {
        parec_.terminate();
        parec_.waitForFinished(5000);
        return parec_.readAllStandardOutput();
    }

private:
    QProcess parec_;
};

// Milliseconds from the first to the last 20 ms window whose level is well above
// silence; -1 when none is.
qint64 audibleSpanMs(const QByteArray& recording)
{
    const auto* samples = reinterpret_cast<const qint16*>(recording.constData());
    const qsizetype count = recording.size() / 2;
    const qsizetype window = kRecordRate / 50;
    qsizetype first = -1;
    qsizetype last = -1;
    for (qsizetype at = 0; at + window <= count; at += window) {
        double energy = 0;
        for (qsizetype i = at; i < at + window; ++i)
            energy += double(samples[i]) * samples[i];
        if (std::sqrt(energy / window) > 2000) {  // the tone's level is about 8,500
            if (first < 0)
                first = at;
            last = at + window;
        }
    }
    return first < 0 ? -1 : (last - first) * 1000 / kRecordRate;
}

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

TEST_F(SoundServerTest, AToneIsHeardForItsLength)
{
    Recorder recorder(server.address());
    ASSERT_TRUE(recorder.started());
    playTone();
    ASSERT_TRUE(ends());
    EXPECT_EQ(status("position"), QStringLiteral("3000"));
    QThread::msleep(300);
    const qint64 span = audibleSpanMs(recorder.stop());
    EXPECT_NEAR(span, 3000, 100);
}

TEST_F(SoundServerTest, WhenTheServerGoesTheSongEndsOnTheSilentOutput)
{
    // The second song's device has a thread of its own, not the first one's.
    playTone();
    ASSERT_TRUE(eventually([&] { return status("position").toLongLong() >= 200; }));
    ASSERT_EQ(media->send(QStringLiteral("close a")).code, kMediaOk);
    playTone();
    ASSERT_TRUE(eventually([&] { return status("position").toLongLong() >= 500; }));
    server.kill();
    // It goes on from where the sound stopped, not from the start.
    QThread::msleep(100);
    EXPECT_GE(status("position").toLongLong(), 500);
    ASSERT_TRUE(ends());
    EXPECT_EQ(status("position"), QStringLiteral("3000"));
}

TEST_F(SoundServerTest, TheEnvironmentCanAskForSilence)
{
    qputenv("SONIVO_AUDIO", "null");
    Recorder recorder(server.address());
    ASSERT_TRUE(recorder.started());
    playTone();
    ASSERT_TRUE(ends());
    EXPECT_EQ(status("position"), QStringLiteral("3000"));
    EXPECT_EQ(audibleSpanMs(recorder.stop()), -1);
}

TEST_F(SoundServerTest, AfterTheServerReturnsTheNextSongIsHeardAgain)
{
    for (int round = 0; round < 2; ++round) {
        playTone();
        ASSERT_TRUE(eventually([&] { return status("position").toLongLong() >= 300; }));
        server.kill();
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
