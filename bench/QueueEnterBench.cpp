// Time from Enter on a play-queue entry to its sound, in the whole window. The
// bench runs a PulseAudio server of its own with a null sink; the window (on the
// offscreen platform unless another is asked for) holds three 30-second songs of
// the tone fixture, all queued. Each run stops the player, starts recording the
// sink's monitor, selects an entry and presses Enter on the queue; the time counts
// to the moment the recorder hands over the first audible 20 ms, so the
// recorder's own latency is in.
//   bench-queue-enter [RUNS]     (20 when not given)

#include "mainwindow/Form1.h"
#include "mainwindow/PlayerPanel.h"
#include "tests/support/MediaFixtures.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/SoundServer.h"
#include "tests/support/TempFiles.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QListView>
#include <QThread>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

using namespace sonivo;
using namespace sonivo::test;

namespace {

constexpr qint64 kGiveUpMs = 10000;

// Milliseconds from Enter on the queue's entry to sound recorded at the sink; -1
// when none is heard within kGiveUpMs.
qint64 enterToSound(Form1& window, const SoundServer& server, int entry)
{
    window.transport().stop();
    QApplication::processEvents();
    QThread::msleep(300);  // the last song's sound has left the sink
    Recorder recorder(server.address());
    if (!recorder.started())
        return -1;
    recorder.take(50);  // what was recorded before the key
    QListView* queue = window.player().queueView();
    queue->setCurrentIndex(queue->model()->index(entry, 0));
    QElapsedTimer timer;
    timer.start();
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(queue, &enter);
    QByteArray recording;
    while (timer.elapsed() < kGiveUpMs) {
        QApplication::processEvents();
        recording += recorder.take(5);
        if (firstAudibleMs(recording) >= 0)
            return timer.elapsed();
    }
    return -1;
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;
    qunsetenv("SONIVO_AUDIO");
    SoundServer server;
    if (const QString why = server.start(); !why.isEmpty()) {
        std::fprintf(stderr, "no sound server: %s\n", qPrintable(why));
        return 1;
    }
    qputenv("PULSE_SERVER", server.address().toUtf8());

    TempFiles files;
    QFile tone(fixture("tone-3s-8k-no-info.mp3"));
    if (!tone.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "the tone fixture cannot be read\n");
        return 1;
    }
    const QByteArray song = tone.readAll().repeated(10);
    ScriptedDialogs dialogs;
    FormServices services;
    services.dialogs = &dialogs;
    services.settingsFile = files.path(QStringLiteral("config/sonivo.ini"));
    services.registryFile = files.path(QStringLiteral("config/registry.ini"));
    Form1 window(services);
    window.start(QString());
    for (const char* name : {"one.mp3", "two.mp3", "three.mp3"}) {
        SongRecord r;
        r.setColumn(ColFileName, QLatin1String(name));
        r.setColumn(ColFolder, QFileInfo(files.write(QLatin1String(name), song)).absolutePath() + QLatin1Char('/'));
        window.document().catalogue().append(r);
    }
    window.app().checkAll();
    window.show();
    QApplication::processEvents();

    std::vector<qint64> ms;
    int never = 0;
    for (int i = 0; i < runs; ++i) {
        const qint64 heard = enterToSound(window, server, i % 3);
        if (heard < 0)
            ++never;
        else
            ms.push_back(heard);
    }
    window.transport().shutdown();
    std::sort(ms.begin(), ms.end());
    if (ms.empty()) {
        std::printf("Enter on a queue entry: never heard (%d runs)\n", never);
        return 1;
    }
    std::printf("Enter on a queue entry to sound: median %lld ms, best %lld ms, worst %lld ms over %zu runs; never heard: %d\n",
        static_cast<long long>(ms[ms.size() / 2]), static_cast<long long>(ms.front()), static_cast<long long>(ms.back()), ms.size(), never);
    return 0;
}
