// Writing the reports of a large list: the HTML page, the text list and the M3U
// playlist of every row, or of a play queue of songs spread over the list, each
// step timed with the memory it takes beyond the loaded catalogue.
//   bench-report html|text|m3u FILE.svl OUTPUT [QUEUE]
// (make the list with: bench-listfile save FILE.svl 1000000). With QUEUE, the
// report lists that many songs, every n-th row in reverse order, as a queue.

#include "bench/StepMemory.h"
#include "catalogue/ListFile.h"
#include "reports/ReportFile.h"

#include <QElapsedTimer>
#include <QFileInfo>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <cstdlib>
#include <cstring>
#include <vector>

using namespace sonivo;

namespace {

std::vector<RowId> spreadQueue(const Catalogue& catalogue, qsizetype songs)
{
    std::vector<RowId> queue;
    const qsizetype step = std::max<qsizetype>(1, catalogue.size() / std::max<qsizetype>(1, songs));
    for (qsizetype row = catalogue.size() - 1; row >= 0 && qsizetype(queue.size()) < songs; row -= step)
        queue.push_back(catalogue.id(row));
    return queue;
}

}  // namespace

int main(int argc, char** argv)
{
    const char* kinds[] = {"text", "html", "m3u"};
    int kind = 0;
    while (argc >= 4 && kind < 3 && std::strcmp(argv[1], kinds[kind]) != 0)
        ++kind;
    if (argc < 4 || kind == 3) {
        std::fprintf(stderr, "usage: bench-report html|text|m3u FILE.svl OUTPUT [QUEUE]\n");
        return 2;
    }
    Catalogue catalogue;
    const ListFileResult loaded = ApriLista(QString::fromLocal8Bit(argv[2]), catalogue);
    if (!loaded.ok) {
        std::fprintf(stderr, "cannot load the list: %s\n", loaded.error.toLocal8Bit().constData());
        return 1;
    }
    const std::vector<RowId> queue = argc > 4 ? spreadQueue(catalogue, std::atoll(argv[4])) : std::vector<RowId>();
    const QString output = QString::fromLocal8Bit(argv[3]);

    const StepMemory memory;
    QElapsedTimer timer;
    timer.start();
    const std::clock_t cpuStart = std::clock();  // the time of a shared machine's other work left out
    const ReportSource songs = argc > 4 ? ReportSource(catalogue, queue) : ReportSource(catalogue);
    const ReportResult saved = saveReport(output, ReportKind(kind + 1), songs, {true, true}, QLocale());
    const double seconds = double(timer.nsecsElapsed()) / 1e9;
    const double cpuSeconds = double(std::clock() - cpuStart) / CLOCKS_PER_SEC;
    if (!saved.ok) {
        std::fprintf(stderr, "cannot write the report: %s\n", saved.error.toLocal8Bit().constData());
        return 1;
    }
    std::printf("%-4s %8lld songs of %lld rows: %.3f s (%.3f s CPU), %.1f MB written, %.1f MB over the %.0f MB held before\n", argv[1],
        static_cast<long long>(songs.size()), static_cast<long long>(catalogue.size()), seconds, cpuSeconds, QFileInfo(output).size() / 1048576.0,
        memory.grownMB(), memory.beforeMB());
    return 0;
}
