// Song changes at random phases of the half-second tick: a queue of three
// three-second songs plays through the silent output on a clock moved in
// half-second steps from a random offset, and each change of song is counted.
// A stall is a song end after which the queue has not moved on within ten ticks
// (five seconds of the song's clock, at least 200 ms in real time).
//   bench-song-changes [CHANGES]     (1000 when not given)

#include "audio/AudioMediaControl.h"
#include "player/Transport.h"
#include "tests/support/ManualClock.h"
#include "tests/support/TempFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <thread>

using namespace sonivo;
using namespace sonivo::test;

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int changes = argc > 1 ? std::atoi(argv[1]) : 1000;

    TempFiles files;
    Catalogue catalogue;
    for (const char* folder : {"a/", "b/", "c/"}) {
        const QString dir = files.path(QLatin1String(folder));
        QDir().mkpath(dir);
        QFile::copy(QStringLiteral(SONIVO_TONE), dir + QStringLiteral("tone.mp3"));
        SongRecord r;
        r.setColumn(ColFileName, QStringLiteral("tone.mp3"));
        r.setColumn(ColFolder, dir);
        catalogue.append(r);
    }
    catalogue.checkAll();
    auto clock = std::make_shared<ManualClock>();
    Transport player(catalogue, [clock] { return std::make_unique<AudioMediaControl>(AudioOptions{AudioOptions::Output::Null, clock}); });
    player.syncQueue();
    player.next();

    std::mt19937 random(1);
    int done = 0, stalls = 0, mostTicks = 0;
    QElapsedTimer timer;
    timer.start();
    while (done + stalls < changes) {
        const qsizetype before = player.queue().started();
        // To a random phase of the tick in the song's last half second, then ticks
        // half a second apart on the clock, each at a random point of the device's
        // 20 ms feed cycle in real time.
        clock->advanceMs(2500 + std::uniform_int_distribution<int>(0, 499)(random));
        int ticks = 0;
        for (; ticks < 10 && player.queue().started() == before; ++ticks) {
            clock->advanceMs(500);
            std::this_thread::sleep_for(std::chrono::microseconds(std::uniform_int_distribution<int>(0, 40000)(random)));
            player.tick();
        }
        if (player.queue().started() == before)
            ++stalls;
        else
            ++done;
        mostTicks = std::max(mostTicks, ticks);
        if (player.state() != PlayerState::Playing) {
            std::fprintf(stderr, "the player stopped after %d changes\n", done);
            return 1;
        }
    }
    std::printf("song changes                %8d\n", done);
    std::printf("stalls                      %8d\n", stalls);
    std::printf("most ticks past the last half second %3d\n", mostTicks);
    std::printf("time                        %8.3f s\n", double(timer.nsecsElapsed()) / 1e9);
    return stalls == 0 ? 0 : 1;
}
