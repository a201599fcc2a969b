// The main window with a large list: start to loaded and drawn catalogue, one
// sort by a text column, check all with the play queue following, status
// refresh, and the process's peak memory.
//   bench-window FILE.svl      (make one with: bench-listfile save FILE.svl)
// Runs on the offscreen platform unless QT_QPA_PLATFORM says otherwise.

#include "bench/PeakMemory.h"
#include "bench/Timed.h"
#include "mainwindow/CatalogueView.h"
#include "mainwindow/Form1.h"
#include "mainwindow/StatusLine.h"

#include <QApplication>
#include <QTableView>

#include <cstdio>

using namespace sonivo;

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench-window FILE.svl\n");
        return 2;
    }
    const QString list = QString::fromLocal8Bit(argv[1]);
    Form1 window;
    timed("start, load and draw", [&] {
        window.start(list);
        window.show();
        window.grab();  // paints the whole window once
        QApplication::processEvents();
    });
    std::printf("rows                         %8lld\n", qlonglong(window.document().catalogue().size()));
    timed("sort by file name, descending", [&] { window.view().headerClicked(ColFileName); });
    timed("sort by folder, ascending", [&] { window.view().sortByEntry(ColFolder); });
    timed("check all and queue sync", [&] {
        window.view().checkAll();
        window.view().reportView()->viewport()->repaint();
    });
    timed("status refresh", [&] { window.statusLine().refresh(window.document().catalogue()); });
    std::printf("peak memory                  %8ld MB\n", peakMegabytes());
    window.document().catalogue().uncheckAll();
    return 0;
}
