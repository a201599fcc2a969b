// Save and load of a large list file, each timed in its own process so that the
// peak memory is that of the step alone.
//   bench-listfile save FILE [ROWS]   writes ROWS (200,000) generated rows
//   bench-listfile load FILE          reads them back

#include "catalogue/ListFile.h"

#include <QElapsedTimer>

#include <cstdio>
#include <cstring>
#include <sys/resource.h>

using namespace sonivo;

namespace {

SongRecord generatedRow(int i)
{
    return SongRecord({
        QStringLiteral("%1 - Some Artist - A Song Title.mp3").arg(i, 6, 10, QLatin1Char('0')),
        QStringLiteral("4.567 KB"), QStringLiteral("09/03/24 07.05"),
        QStringLiteral("/home/user/Musica/Artist %1/Album %2/").arg(i / 200).arg(i / 12),
        QStringLiteral("192"), QStringLiteral("8765"), QStringLiteral("03.49"),
        QStringLiteral("MPEG - 1.0 Layer 3"), QStringLiteral("44100hz Joint Stereo"),
        QStringLiteral("Some Artist"), QStringLiteral("A Song Title"), QStringLiteral("An Album"),
        QStringLiteral("1999"), QStringLiteral("Rock"), QStringLiteral("ripped"), QStringLiteral("False"),
        QStringLiteral("False"), QStringLiteral("None"), QStringLiteral("True"), QStringLiteral("True"),
        QStringLiteral("Normal"), QString(),
    });
}

long peakMegabytes()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3 || (std::strcmp(argv[1], "save") != 0 && std::strcmp(argv[1], "load") != 0)) {
        std::fprintf(stderr, "usage: bench-listfile save|load FILE [ROWS]\n");
        return 2;
    }
    const QString file = QString::fromLocal8Bit(argv[2]);
    Catalogue catalogue;
    QElapsedTimer timer;
    ListFileResult result;
    if (std::strcmp(argv[1], "save") == 0) {
        const int rows = argc > 3 ? std::atoi(argv[3]) : 200000;
        for (int i = 0; i < rows; ++i)
            catalogue.append(generatedRow(i));
        timer.start();
        result = SalvaLista(file, catalogue);
    } else {
        timer.start();
        result = ApriLista(file, catalogue);
    }
    const double seconds = double(timer.nsecsElapsed()) / 1e9;
    if (!result.ok) {
        std::fprintf(stderr, "failed: %s\n", result.error.toLocal8Bit().constData());
        return 1;
    }
    std::printf("%s %lld rows: %.3f s, peak memory %ld MB\n", argv[1], static_cast<long long>(catalogue.size()),
                seconds, peakMegabytes());
    return 0;
}
