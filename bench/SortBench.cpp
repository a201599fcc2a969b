// The sort of a large list by file name, descending as a first click on the
// column header sorts it, after the list is loaded.
//   bench-sort FILE.svl [varied|distinct|same|sorted|reversed] [RUNS]
// varied sorts the rows as loaded; distinct gives every row a name of its own,
// same gives them all one name, sorted and reversed put the rows in the order
// the sort makes, or the opposite one, before the sort that is timed. Each of
// RUNS (5) sorts starts from the rows in their loaded order; the median and
// every run are printed, on the clock and in processor time.

#include "bench/Timed.h"
#include "catalogue/Catalogue.h"
#include "catalogue/ListFile.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <sys/resource.h>

using namespace sonivo;

namespace {

// Every row's text in the column set to text(i), order and everything else kept.
template <typename Text> void setAll(Catalogue& catalogue, int column, Text text)
{
    for (qsizetype i = 0; i < catalogue.size(); ++i) {
        SongRecord record = catalogue.row(i);
        record.setColumn(column, text(i));
        catalogue.replaceRow(i, std::move(record));
    }
}

// The processor time of the process so far, its threads' added: on a busy
// machine it moves less than the time on the clock.
double processorSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

}  // namespace

int main(int argc, char** argv)
{
    const char* input = argc > 2 ? argv[2] : "varied";
    const int runs = argc > 3 ? std::max(1, std::atoi(argv[3])) : 5;
    const char* inputs[] = {"varied", "distinct", "same", "sorted", "reversed"};
    if (argc < 2 || std::none_of(std::begin(inputs), std::end(inputs), [&](const char* k) { return std::strcmp(k, input) == 0; })) {
        std::fprintf(stderr, "usage: bench-sort FILE.svl [varied|distinct|same|sorted|reversed] [RUNS]\n");
        return 2;
    }
    Catalogue catalogue;
    const ListFileResult loaded = ApriLista(QString::fromLocal8Bit(argv[1]), catalogue);
    if (!loaded.ok) {
        std::fprintf(stderr, "failed: %s\n", loaded.error.toLocal8Bit().constData());
        return 1;
    }
    if (std::strcmp(input, "distinct") == 0) {
        // Numbers spread over the rows, so that the names' order is not the rows'.
        const auto n = quint64(catalogue.size());
        setAll(catalogue, ColFileName,
            [&](qsizetype i) { return QStringLiteral("Brano %1.mp3").arg(quint64(i) * 2654435761u % (n * 16), 9, 10, QLatin1Char('0')); });
    } else if (std::strcmp(input, "same") == 0) {
        setAll(catalogue, ColFileName, [](qsizetype) { return QStringLiteral("Senza titolo.mp3"); });
    }
    std::printf("rows                             %8lld\n", qlonglong(catalogue.size()));
    // Each row's number in a column of its own puts the rows back in their
    // loaded order between the runs.
    constexpr int kLoadedOrder = ColComment;
    setAll(catalogue, kLoadedOrder, [](qsizetype i) { return QStringLiteral("%1").arg(i, 9, 10, QLatin1Char('0')); });
    std::vector<double> clock;
    std::vector<double> processor;
    for (int run = 0; run < runs; ++run) {
        catalogue.sortBy(kLoadedOrder, true);
        if (std::strcmp(input, "sorted") == 0)
            catalogue.sortBy(ColFileName, false);
        else if (std::strcmp(input, "reversed") == 0)
            catalogue.sortBy(ColFileName, true);
        const double processorBefore = processorSeconds();
        clock.push_back(secondsOf([&] { catalogue.sortBy(ColFileName, false); }));
        processor.push_back(processorSeconds() - processorBefore);
    }
    printMedian(input, clock);
    printMedian("processor time", processor);
    return 0;
}
