// Browsing by folder on a large list, each step with the time and the memory it adds.
//   bench-browse choices FILE   builds the folder choices
//   bench-browse keep FILE      keeps only the rows of the middle choice
//   bench-browse takeout FILE   takes the middle choice's rows out
//   bench-browse restore FILE   takes the middle choice out, then restores the list
//                               with the chooser closed, then opens the list again
// A list to try: bench-listfile save FILE 1000000.

#include "bench/StepMemory.h"
#include "catalogue/FolderNarrowing.h"
#include "tests/support/ScriptedDialogs.h"

#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <cstring>

using namespace sonivo;

namespace {

template <typename Step> void report(const char* what, Step step)
{
    const StepMemory memory;
    QElapsedTimer timer;
    timer.start();
    step();
    const double seconds = double(timer.nsecsElapsed()) / 1e9;
    std::printf("%-34s %7.3f s, %+.0f MB over the %.0f MB held before\n", what, seconds, memory.grownMB(), memory.beforeMB());
}

}  // namespace

int main(int argc, char** argv)
{
    const char* steps[] = {"choices", "keep", "takeout", "restore"};
    if (argc < 3 || std::none_of(std::begin(steps), std::end(steps), [&](const char* s) { return std::strcmp(argv[1], s) == 0; })) {
        std::fprintf(stderr, "usage: bench-browse choices|keep|takeout|restore FILE\n");
        return 2;
    }
    const std::string step = argv[1];
    test::ScriptedDialogs dialogs;
    const DriveInfo drives(systemMountTable());
    ListDocument document(dialogs, drives);
    FolderNarrowing filter(document);

    bool opened = false;
    report("open the list", [&] { opened = document.load(QString::fromLocal8Bit(argv[2])); });
    if (!opened) {
        std::fprintf(stderr, "cannot open the list\n");
        return 1;
    }
    const qsizetype rows = document.catalogue().size();
    report("build the choices", [&] { filter.refresh(); });
    std::printf("%lld rows, %zu choices\n", static_cast<long long>(rows), filter.choices().size() - 1);
    if (step == "choices")
        return 0;

    const FolderChoice middle = filter.choices()[filter.choices().size() / 2];
    // Each command builds the choices again afterwards, as the chooser shows them.
    if (step == "keep") {
        report("keep one folder, choices again", [&] { filter.keepOnly(middle); });
    } else {
        report("take one folder out, choices again", [&] { filter.takeOut(middle); });
        if (step == "restore") {
            // "&Mostra tutti" with the chooser closed, against opening the list
            // again over a full catalogue.
            filter.release();
            report("restore from the list", [&] { filter.restore(); });
            report("open the list again", [&] { document.load(QString::fromLocal8Bit(argv[2])); });
        }
    }
    std::printf("%lld rows left\n", static_cast<long long>(document.catalogue().size()));
    return dialogs.notices.isEmpty() ? 0 : 1;
}
