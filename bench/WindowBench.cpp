// The main window with a large list: start to loaded and drawn catalogue, one
// sort by a text column, the enabling rules per tick, check all with the play
// queue following, status refresh, the writes of the settings file when the
// window closes, and the process's peak memory.
//   bench-window FILE.svl      (make one with: bench-listfile save FILE.svl)
// Runs on the offscreen platform unless QT_QPA_PLATFORM says otherwise; the
// settings and key/value files are temporary ones.

#include "bench/Timed.h"
#include "mainwindow/CatalogueView.h"
#include "mainwindow/Form1.h"
#include "mainwindow/StatusLine.h"

#include <QApplication>
#include <QFileInfo>
#include <QTableView>
#include <QTemporaryDir>

#include <cstdio>
#include <sys/inotify.h>
#include <sys/resource.h>
#include <unistd.h>

using namespace sonivo;

namespace {

long peakMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
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

// The mean time of one call of step over many.
template <typename Step> void timedEach(const char* what, int times, Step step)
{
    QElapsedTimer timer;
    timer.start();
    for (int k = 0; k < times; ++k)
        step();
    std::printf("%-32s %8.3f ms\n", what, double(timer.nsecsElapsed()) / 1e6 / times);
}

}  // namespace

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
    const QTemporaryDir settings;
    FormServices services;
    services.settingsFile = settings.filePath(QStringLiteral("sonivo.ini"));
    services.registryFile = settings.filePath(QStringLiteral("registry.ini"));
    Form1 window(services);
    timed("start, load and draw", [&] {
        window.start(list);
        window.show();
        window.grab();  // paints the whole window once
        QApplication::processEvents();
    });
    std::printf("rows                         %8lld\n", qlonglong(window.document().catalogue().size()));
    timed("sort by file name, descending", [&] { window.view().headerClicked(ColFileName); });
    timed("sort by folder, ascending", [&] { window.view().sortByEntry(ColFolder); });
    timedEach("enabling rules, none checked", 1000, [&] { window.applyEnablingRules(); });
    timedEach("tick, none checked", 200, [&] { window.tick(); });
    timed("check all and queue sync", [&] {
        window.view().checkAll();
        window.view().reportView()->viewport()->repaint();
    });
    timedEach("enabling rules, all checked", 1000, [&] { window.applyEnablingRules(); });
    timedEach("tick, all checked", 200, [&] { window.tick(); });
    timed("status refresh", [&] { window.statusLine().refresh(window.document().catalogue()); });
    std::printf("peak memory                  %8ld MB\n", peakMegabytes());
    window.view().uncheckAll();
    const WriteCounter counter(services.settingsFile);
    window.close();
    std::printf("settings file writes on close %7d\n", counter.writes());
    return 0;
}
