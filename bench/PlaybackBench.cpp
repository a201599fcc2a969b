// Figures of the media-control service, as a timed command:
//   bench-playback [--output null|default|own-server] [--seconds N] [--drift-seconds N] [FILE.mp3]
// own-server plays through a PulseAudio server the bench starts, with a null sink
// whose monitor it records; default is the user's sound server.
// - CPU use while FILE plays in real time for N seconds (default 20), all threads
//   of the process counted, as a share of one core;
// - time from PlayMp3::mmPlay (open and play) to its return, by when the first
//   decoded samples have been handed to the output (median and worst of 50);
// - drift of the reported position against the time the output has been playing,
//   over five minutes in real time (--drift-seconds N, 0 to leave it out), and the
//   jitter of single readings.
// - with own-server, time from mmPlay to the first audible 20 ms handed over by
//   the recorder of the sink's monitor, the recorder's latency included (median
//   and worst of 20, the tone fixture);
// Without FILE a 320 kbit/s file of silent frames is made, which decodes faster
// than music: pass a real 320 kbit/s file for the CPU figure.

#include "audio/AudioMediaControl.h"
#include "player/PlayMp3.h"
#include "tests/support/MediaFixtures.h"
#include "tests/support/Mp3Builder.h"
#include "tests/support/SoundServer.h"
#include "tests/support/TempFiles.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <algorithm>
#include <cstdio>
#include <memory>
#include <sys/resource.h>
#include <vector>

using namespace sonivo;
using namespace sonivo::test;

namespace {

double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) + double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

QString silentFile(TempFiles& files, int seconds)
{
    FrameFields shape;
    shape.bitRateIndex = 14;  // 320 kbit/s
    const int count = seconds * 44100 / 1152;
    return files.write(QStringLiteral("320.mp3"), xingFrame(shape, count) + frames(shape, count));
}

void measureCpu(const AudioOptions& options, const QString& file, int seconds)
{
    AudioMediaControl media(options);
    PlayMp3 player(media);
    player.setFilename(file);
    if (player.mmPlay() != PlayMp3::Success()) {
        std::printf("cannot play %s\n", qPrintable(file));
        return;
    }
    QThread::msleep(500);  // past the opening scan of the file
    const double cpuBefore = cpuSeconds();
    QElapsedTimer wall;
    wall.start();
    QThread::msleep(ulong(seconds) * 1000);
    const double cpu = cpuSeconds() - cpuBefore;
    std::printf("CPU while playing: %.2f %% of one core over %.1f s (playing: %s)\n", 100.0 * cpu / (double(wall.nsecsElapsed()) / 1e9),
        double(wall.nsecsElapsed()) / 1e9, player.IsPlaying() ? "yes" : "no, the file is shorter");
}

void measureStart(const AudioOptions& options, const QString& file)
{
    AudioMediaControl media(options);
    std::vector<double> ms;
    for (int i = 0; i < 50; ++i) {
        PlayMp3 player(media);
        player.setFilename(file);
        QElapsedTimer timer;
        timer.start();
        const QString result = player.mmPlay();
        ms.push_back(double(timer.nsecsElapsed()) / 1e6);
        if (result != PlayMp3::Success())
            return;
    }
    std::sort(ms.begin(), ms.end());
    std::printf("mmPlay to first samples handed to the output: median %.2f ms, worst %.2f ms\n", ms[ms.size() / 2], ms.back());
}

void measureHeard(const AudioOptions& options, const SoundServer& server)
{
    AudioMediaControl media(options);
    std::vector<double> ms;
    for (int i = 0; i < 20; ++i) {
        Recorder recorder(server.address());
        if (!recorder.started())
            return;
        PlayMp3 player(media);
        player.setFilename(fixture("tone-3s-8k.mp3"));
        QElapsedTimer timer;
        timer.start();
        if (player.mmPlay() != PlayMp3::Success())
            return;
        QByteArray recording;
        while (firstAudibleMs(recording) < 0 && timer.elapsed() < 5000)
            recording += recorder.take(5);
        if (firstAudibleMs(recording) < 0) {
            std::printf("the tone is not heard\n");
            return;
        }
        ms.push_back(double(timer.nsecsElapsed()) / 1e6);
        player.mmStop();
    }
    std::sort(ms.begin(), ms.end());
    std::printf("mmPlay to sound at the sink's monitor: median %.1f ms, worst %.1f ms\n", ms[ms.size() / 2], ms.back());
}

// Real time: the reported position against the time the output has been playing,
// polled every half second like the window does. The output's latency makes a
// constant offset, not drift: drift is how far the mean offset of the last minute
// is from that of the first minute after the start has settled (from 5 s);
// jitter is the widest single reading from the first offset.
void measureDrift(const AudioOptions& options, const QString& file, int seconds)
{
    AudioMediaControl media(options);
    PlayMp3 player(media);
    player.setFilename(file);
    if (player.mmPlay() != PlayMp3::Success())
        return;
    const QString position = QStringLiteral("status ") + QLatin1String(PlayMp3::kAlias) + QStringLiteral(" position");
    QElapsedTimer wall;
    wall.start();
    std::vector<qint64> gaps;  // played time less the reported position
    for (int tick = 1; tick <= seconds * 2 && player.IsPlaying(); ++tick) {
        QThread::msleep(500);
        gaps.push_back(wall.elapsed() - media.send(position).text.toLongLong());
    }
    const size_t window = 120;
    if (gaps.size() < 10 + 2 * window)
        return;
    auto mean = [&](size_t from) {
        qint64 sum = 0;
        for (size_t i = from; i < from + window; ++i)
            sum += gaps[i];
        return double(sum) / window;
    };
    const double offset = mean(10);
    double jitter = 0;
    for (size_t i = 10; i < gaps.size(); ++i)
        jitter = std::max(jitter, std::abs(double(gaps[i]) - offset));
    std::printf("position over %.0f s of playing: drift %.1f ms, jitter %.0f ms (latency %.0f ms)\n", double(gaps.size()) / 2,
        mean(gaps.size() - window) - offset, jitter, offset);
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    AudioOptions options;
    options.output = AudioOptions::Output::Null;
    int seconds = 20;
    int driftSeconds = 300;
    QString file;
    std::unique_ptr<SoundServer> server;
    const QStringList args = app.arguments().mid(1);
    for (qsizetype i = 0; i < args.size(); ++i) {
        if (args.at(i) == QStringLiteral("--output") && i + 1 < args.size()) {
            const QString output = args.at(++i);
            options.output = output == QStringLiteral("null") ? AudioOptions::Output::Null : AudioOptions::Output::Default;
            if (output == QStringLiteral("own-server"))
                server = std::make_unique<SoundServer>();
        }
        else if (args.at(i) == QStringLiteral("--seconds") && i + 1 < args.size())
            seconds = args.at(++i).toInt();
        else if (args.at(i) == QStringLiteral("--drift-seconds") && i + 1 < args.size())
            driftSeconds = args.at(++i).toInt();
        else
            file = args.at(i);
    }
    if (server) {
        if (const QString why = server->start(); !why.isEmpty()) {
            std::printf("no sound server: %s\n", qPrintable(why));
            return 1;
        }
        qputenv("PULSE_SERVER", server->address().toUtf8());
        qunsetenv("SONIVO_AUDIO");
    }
    TempFiles files;
    const QString silent = silentFile(files, std::max(seconds, driftSeconds) + 10);
    if (file.isEmpty())
        file = silent;
    measureCpu(options, file, seconds);
    measureStart(options, file);
    if (server)
        measureHeard(options, *server);
    if (driftSeconds > 0)
        measureDrift(options, silent, driftSeconds);
    return 0;
}
