// Time from the sound server's return to sound heard again, while a queue plays.
// The bench runs a PulseAudio server of its own with a null sink; a queue of three
// 30-second songs (the tone fixture repeated) plays through the Transport, ticked
// every half second as the window does. The server is killed as a crash would,
// started again after a while, and the sink's monitor is recorded until it holds
// sound again; the time counts from the new server's socket to the moment the
// recorder hands over the first audible 20 ms, so the recorder's own latency is in.
//   bench-sound-return [RUNS]     (5 when not given)
// Each run has one death and return; as many runs again have two in a row.

#include "audio/AudioMediaControl.h"
#include "player/Transport.h"
#include "tests/support/MediaFixtures.h"
#include "tests/support/SoundServer.h"
#include "tests/support/TempFiles.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <vector>

using namespace sonivo;
using namespace sonivo::test;

namespace {

constexpr int kSongSeconds = 30;
constexpr qint64 kGiveUpMs = 10000;

// A song of the tone fixture (no info header) repeated to kSongSeconds.
QString toneSong(TempFiles& files, const QString& name)
{
    QFile tone(fixture("tone-3s-8k-no-info.mp3"));
    if (!tone.open(QIODevice::ReadOnly))
        return {};
    return files.write(name, tone.readAll().repeated(kSongSeconds / 3));
}

// The window's half-second tick, while the caller waits on the recorder.
class Ticking {
public:
    explicit Ticking(Transport& player) : player_(player) { sinceTick_.start(); }
    void tick()
    {
        if (sinceTick_.elapsed() >= 500) {
            player_.tick();
            sinceTick_.restart();
        }
    }
    void idle(qint64 ms)
    {
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < ms) {
            tick();
            QThread::msleep(10);
        }
    }

private:
    Transport& player_;
    QElapsedTimer sinceTick_;
};

// Milliseconds from now until the monitor records sound; -1 when it has not
// within kGiveUpMs.
qint64 untilHeard(const SoundServer& server, Ticking& ticking)
{
    QElapsedTimer timer;
    timer.start();
    Recorder recorder(server.address());
    QByteArray recording;
    while (timer.elapsed() < kGiveUpMs) {
        ticking.tick();
        recording += recorder.take(10);
        if (firstAudibleMs(recording) >= 0)
            return timer.elapsed();
    }
    return -1;
}

struct Run {
    std::vector<qint64> returns;  // ms to sound after each return; -1 for never
    int notices = 0;
};

Run playThroughDeaths(const QStringList& songs, int deaths, std::mt19937& random)
{
    Run run;
    SoundServer server;
    if (const QString why = server.start(); !why.isEmpty()) {
        std::fprintf(stderr, "no sound server: %s\n", qPrintable(why));
        std::exit(1);
    }
    qputenv("PULSE_SERVER", server.address().toUtf8());
    Catalogue catalogue;
    for (const QString& song : songs) {
        SongRecord r;
        r.setColumn(ColFileName, QFileInfo(song).fileName());
        r.setColumn(ColFolder, QFileInfo(song).absolutePath() + QLatin1Char('/'));
        catalogue.append(r);
    }
    catalogue.checkAll();
    Transport player(catalogue, [] { return std::make_unique<AudioMediaControl>(); });
    QObject::connect(&player, &Transport::notice, [&run](const QString&) { ++run.notices; });
    player.syncQueue();
    player.next();
    Ticking ticking(player);
    if (untilHeard(server, ticking) < 0) {
        std::fprintf(stderr, "nothing is heard from the start\n");
        std::exit(1);
    }
    for (int death = 0; death < deaths; ++death) {
        ticking.idle(std::uniform_int_distribution<int>(500, 1500)(random));
        server.kill();
        ticking.idle(std::uniform_int_distribution<int>(500, 2500)(random));
        if (!server.start().isEmpty()) {
            std::fprintf(stderr, "the sound server does not start again\n");
            std::exit(1);
        }
        run.returns.push_back(untilHeard(server, ticking));
    }
    player.shutdown();
    return run;
}

void report(const char* what, std::vector<qint64> ms)
{
    const auto never = std::count(ms.begin(), ms.end(), -1);
    ms.erase(std::remove(ms.begin(), ms.end(), -1), ms.end());
    std::sort(ms.begin(), ms.end());
    if (ms.empty()) {
        std::printf("%-34s never heard again (%td returns)\n", what, never);
        return;
    }
    std::printf("%-34s median %5lld ms, best %5lld ms, worst %5lld ms over %zu returns; never heard: %td\n", what,
        static_cast<long long>(ms[ms.size() / 2]), static_cast<long long>(ms.front()), static_cast<long long>(ms.back()), ms.size(), never);
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    qunsetenv("SONIVO_AUDIO");
    TempFiles files;
    QStringList songs;
    for (const char* name : {"one.mp3", "two.mp3", "three.mp3"})
        songs << toneSong(files, QLatin1String(name));
    if (songs.contains(QString())) {
        std::fprintf(stderr, "the tone fixture cannot be read\n");
        return 1;
    }
    std::mt19937 random(1);
    std::vector<qint64> once, first, second;
    int notices = 0;
    for (int i = 0; i < runs; ++i) {
        const Run run = playThroughDeaths(songs, 1, random);
        once.push_back(run.returns.at(0));
        notices += run.notices;
    }
    for (int i = 0; i < runs; ++i) {
        const Run run = playThroughDeaths(songs, 2, random);
        first.push_back(run.returns.at(0));
        second.push_back(run.returns.at(1));
        notices += run.notices;
    }
    report("one death, return to sound", once);
    report("two deaths, first return", first);
    report("two deaths, second return", second);
    std::printf("notices of playing without sound: %d over %d deaths\n", notices, 3 * runs);
    return 0;
}
