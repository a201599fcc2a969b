// The play queue on a large catalogue: check every row, then bring the queue in
// line with the checks and count its time, as the window does after "Seleziona
// tutti"; then a second sync with nothing changed, and uncheck all.
//   bench-queue [ROWS]     (200,000 rows when not given)

#include "bench/Timed.h"
#include "player/PlayQueue.h"

#include <cstdio>
#include <cstdlib>

using namespace sonivo;

int main(int argc, char** argv)
{
    const long rows = argc > 1 ? std::atol(argv[1]) : 200000;
    Catalogue catalogue;
    std::vector<SongRecord> records;
    records.reserve(size_t(rows));
    for (long i = 0; i < rows; ++i) {
        SongRecord r;
        r.setColumn(ColFileName, QStringLiteral("%1 - Song.mp3").arg(i % 20 + 1, 2, 10, QLatin1Char('0')));
        r.setColumn(ColFolder, QStringLiteral("/music/album %1/").arg(i / 20));
        r.setColumn(ColDuration, QStringLiteral("03.27"));
        records.push_back(std::move(r));
    }
    catalogue.append(std::move(records));
    PlayQueue queue;
    QString statistics;
    timed("check all, sync and statistics", [&] {
        catalogue.checkAll();
        queue.sync(catalogue);
        statistics = queue.statistics(catalogue);
    });
    std::printf("%s\n", qPrintable(statistics));
    timed("sync with nothing changed", [&] { queue.sync(catalogue); });
    timed("uncheck all and sync", [&] {
        catalogue.uncheckAll();
        queue.sync(catalogue);
    });
    return queue.isEmpty() ? 0 : 1;
}
