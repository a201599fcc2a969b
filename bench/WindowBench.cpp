// The main window with a large list: start to loaded and drawn catalogue, one
// sort by a text column, the enabling rules per tick, "Seleziona tutti" until
// the check marks, the queue and its view are drawn, status refresh, queueing
// many songs selected in "Ricerca brani" and an album of as many songs from
// "Ricerca per Album", the process's peak memory and the writes of the settings
// file when the window closes.
//   bench-window FILE.svl [SONGS] [RUNS]   (make one with: bench-listfile save FILE.svl)
// SONGS (10,000) songs are queued; each figure that repeats is the median of
// RUNS (5) runs. Runs on the offscreen platform unless QT_QPA_PLATFORM says
// otherwise; the settings and key/value files are temporary ones.

#include "bench/BenchWindow.h"
#include "bench/PeakMemory.h"
#include "bench/Timed.h"
#include "catalogue/SongSearch.h"
#include "dialogs/frmSearch.h"
#include "dialogs/frmSearchTag.h"
#include "mainwindow/CatalogueView.h"
#include "mainwindow/Form1.h"
#include "mainwindow/StatusLine.h"
#include "player/Transport.h"
#include "tests/support/ScriptedDialogs.h"

#include <QApplication>
#include <QFileInfo>
#include <QItemSelection>
#include <QListView>
#include <QTableView>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <sys/inotify.h>
#include <unistd.h>

using namespace sonivo;

namespace {

// The window's views drawn, as the user sees them after a change.
void drawViews(Form1& window)
{
    QApplication::processEvents();
    window.view().reportView()->viewport()->repaint();
    window.findChild<QListView*>(QStringLiteral("lstPlay"))->viewport()->repaint();
}

// Every step-th of the dialog's songs selected, as a user selects them by hand.
void selectEvery(QDialog& dialog, int step)
{
    auto* list = dialog.findChild<QListView*>(QStringLiteral("List1"));
    QItemSelection selection;
    for (int r = 0; r < list->model()->rowCount(); r += step)
        selection.select(list->model()->index(r, 0), list->model()->index(r, 0));
    list->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
}

// Gives songs rows, spread over the catalogue, one album of their own.
const QString kBenchAlbum = QStringLiteral("Raccolta del banco");
void makeAlbum(Catalogue& catalogue, qsizetype songs)
{
    const qsizetype step = std::max<qsizetype>(1, catalogue.size() / songs);
    for (qsizetype i = step / 2, made = 0; i < catalogue.size() && made < songs; i += step, ++made) {
        SongRecord r = catalogue.row(i);
        r.setColumn(ColAlbum, kBenchAlbum);
        catalogue.replaceRow(i, std::move(r));
    }
}

void selectAlbum(QDialog& dialog)
{
    auto* list = dialog.findChild<QListView*>(QStringLiteral("List1"));
    const QModelIndexList found = list->model()->match(list->model()->index(0, 0), Qt::DisplayRole, kBenchAlbum, 1, Qt::MatchExactly);
    list->setCurrentIndex(found.value(0));
}

void queueing(Form1& window, int songs, int runs)
{
    Catalogue& catalogue = window.document().catalogue();
    Transport& transport = window.transport();
    test::ScriptedDialogs dialogs;
    auto empty = [&] {
        transport.clearQueue();
        QApplication::processEvents();
    };
    {
        frmSearch search(catalogue, transport, dialogs);
        selectEvery(search, std::max(1, int(catalogue.size() / songs)));
        timedMedian("queue selected songs", runs, empty, [&] {
            search.addSelected();
            drawViews(window);
        });
    }
    std::printf("queued                       %8lld\n", qlonglong(transport.queue().size()));
    makeAlbum(catalogue, songs);
    frmSearchTag albums(catalogue, transport, dialogs);
    selectAlbum(albums);
    timedMedian("queue an album", runs, empty, [&] {
        albums.queueAlbum();
        drawViews(window);
    });
    std::printf("queued                       %8lld\n", qlonglong(transport.queue().size()));
    empty();
}

// Counts the times a file is written: written in place or renamed onto.
class WriteCounter {
public:
    explicit WriteCounter(const QString& file)
        : fd_(inotify_init1(IN_NONBLOCK)), name_(QFileInfo(file).fileName().toLocal8Bit())
    {
        inotify_add_watch(fd_, QFileInfo(file).absolutePath().toLocal8Bit().constData(), IN_CLOSE_WRITE | IN_MOVED_TO);
    }
    ~WriteCounter() { close(fd_); }
    int writes() const
    {
        int count = 0;
        alignas(inotify_event) char buffer[4096];
        for (ssize_t n; (n = read(fd_, buffer, sizeof buffer)) > 0;) {
            for (char* p = buffer; p < buffer + n;) {
                const auto* event = reinterpret_cast<const inotify_event*>(p);
                count += event->len > 0 && name_ == event->name;
                p += sizeof(inotify_event) + event->len;
            }
        }
        return count;
    }

private:
    int fd_;
    QByteArray name_;
};

}  // namespace

int main(int argc, char** argv)
{
    offscreenUnlessAsked();
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench-window FILE.svl [SONGS] [RUNS]\n");
        return 2;
    }
    const int songs = argc > 2 ? std::atoi(argv[2]) : 10000;
    const int runs = argc > 3 ? std::atoi(argv[3]) : 5;
    const QString list = QString::fromLocal8Bit(argv[1]);
    const QTemporaryDir settings;
    const FormServices services = servicesIn(settings);
    Form1 window(services);
    timed("start, load and draw", [&] {
        window.start(list);
        window.show();
        window.grab();  // paints the whole window once
        QApplication::processEvents();
    });
    std::printf("rows                         %8lld\n", qlonglong(window.document().catalogue().size()));
    std::printf("peak memory after start      %8ld MB\n", peakMegabytes());
    timed("sort by file name, descending", [&] { window.view().headerClicked(ColFileName); });
    timed("sort by folder, ascending", [&] { window.view().sortByEntry(ColFolder); });
    timedEach("enabling rules, none checked", 1000, [&] { window.applyEnablingRules(); });
    timedEach("tick, none checked", 200, [&] { window.app().tick(); });
    const auto uncheckAll = [&] {
        window.app().uncheckAll();
        QApplication::processEvents();
    };
    timedMedian("Seleziona tutti, views drawn", runs, uncheckAll, [&] {
        window.app().checkAll();
        drawViews(window);
    });
    timedEach("enabling rules, all checked", 1000, [&] { window.applyEnablingRules(); });
    timedEach("tick, all checked", 200, [&] { window.app().tick(); });
    timed("status refresh", [&] { window.statusLine().refresh(window.document().catalogue()); });
    uncheckAll();
    queueing(window, songs, runs);
    std::printf("peak memory                  %8ld MB\n", peakMegabytes());
    const WriteCounter counter(services.settingsFile);
    window.close();
    std::printf("settings file writes on close %7d\n", counter.writes());
    return 0;
}
