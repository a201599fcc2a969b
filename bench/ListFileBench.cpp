// Save and load of a large list file, each timed in its own process so that the
// peak memory is that of the step alone.
//   bench-listfile save FILE [ROWS]   writes ROWS (200,000) generated rows
//   bench-listfile load FILE          reads them back
//   bench-listfile plain FILE         reads the file into lines and fields only

#include "bench/PeakMemory.h"
#include "catalogue/ListFile.h"

#include <QElapsedTimer>
#include <QFile>

#include <cstdio>
#include <cstring>

using namespace sonivo;

namespace {

// Rows as varied as a real collection: thousands of artists and albums, accented
// and non-Latin names, tags of every length, one song in ten from a CD.
SongRecord generatedRow(int i)
{
    static const QStringList words = {
        QStringLiteral("Amore"),
        QStringLiteral("Città"),
        QStringLiteral("Notte"),
        QStringLiteral("Über"),
        QStringLiteral("Señora"),
        QStringLiteral("Łódź"),
        QStringLiteral("Crème"),
        QStringLiteral("Δέλτα"),
        QStringLiteral("Ночь"),
        QStringLiteral("Blue"),
        QStringLiteral("Strada"),
        QStringLiteral("Živé"),
        QStringLiteral("Fjörður"),
        QStringLiteral("Sole"),
        QStringLiteral("音楽"),
        QStringLiteral("Mare"),
    };
    auto phrase = [&](quint32 seed, int n) {
        QStringList out;
        for (int k = 0; k < n; ++k) {
            seed = seed * 1103515245u + 12345u;
            out << words.at(int((seed >> 16) % quint32(words.size())));
        }
        return out.join(QLatin1Char(' '));
    };
    const quint32 h = quint32(i) * 2654435761u;
    const int albumNo = i / 11;  // songs of an album come together, as a scan finds them
    const int artistNo = albumNo * 7 % 5000;
    const QString artist = phrase(quint32(artistNo), 1 + artistNo % 3) + QStringLiteral(" %1").arg(artistNo);
    const QString album = phrase(quint32(albumNo) + 7u, 1 + albumNo % 4);
    const QString title = phrase(h, 1 + int(h % 6));
    const bool cd = i % 10 == 0;
    const QString folder = cd ? QStringLiteral("/media/cdrom/%1/").arg(album)
                              : QStringLiteral("/home/user/Musica/%1/%2 (%3)/").arg(artist, album).arg(1960 + albumNo % 60);
    const int seconds = 90 + int(h % 400);
    return SongRecord({
        QStringLiteral("%1 - %2.mp3").arg(i % 11 + 1, 2, 10, QLatin1Char('0')).arg(title),
        QStringLiteral("%L1 KB").arg(1500 + int(h % 9000)),
        QStringLiteral("%1/%2/%3 %4.%5")
            .arg(1 + i % 28, 2, 10, QLatin1Char('0'))
            .arg(1 + i % 12, 2, 10, QLatin1Char('0'))
            .arg(i % 30, 2, 10, QLatin1Char('0'))
            .arg(i % 24, 2, 10, QLatin1Char('0'))
            .arg(i % 60, 2, 10, QLatin1Char('0')),
        folder,
        QString::number(QList<int>{128, 160, 192, 256, 320}.at(int(h % 5))),
        QString::number(seconds * 38),
        QStringLiteral("%1.%2").arg(seconds / 60, 2, 10, QLatin1Char('0')).arg(seconds % 60, 2, 10, QLatin1Char('0')),
        QStringLiteral("MPEG - 1.0 Layer 3"),
        h % 3 ? QStringLiteral("44100hz Joint Stereo") : QStringLiteral("48000hz Stereo"),
        artist.left(30),
        title.left(30),
        album.left(30),
        QString::number(1960 + albumNo % 60),
        QList<QString>{QStringLiteral("Rock"), QStringLiteral("Pop"), QStringLiteral("Jazz"), QStringLiteral("Classical")}.at(int(h % 4)),
        h % 7 ? QString() : QStringLiteral("ripped by a friend"),
        QStringLiteral("False"),
        QStringLiteral("False"),
        QStringLiteral("None"),
        QStringLiteral("True"),
        QStringLiteral("True"),
        QStringLiteral("Normal"),
        cd ? album.left(12) + QStringLiteral("/1A2B-3C4D") : QString(),
    });
}

// What any program must do to read the file: read it, cut it into lines and
// the lines into fields. The load is reported against it.
qint64 plainRead(const QString& file)
{
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    qint64 fields = 0;
    QByteArray pending;
    for (;;) {
        const QByteArray chunk = f.read(1 << 20);
        if (chunk.isEmpty())
            break;
        pending += chunk;
        qsizetype start = 0;
        for (qsizetype i = 0; i < pending.size(); ++i) {
            if (pending[i] != '\n')
                continue;
            const QByteArray line = pending.sliced(start, i - start);
            fields += line.split(';').size();
            start = i + 1;
        }
        pending.remove(0, start);
    }
    return fields;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3 || (std::strcmp(argv[1], "save") != 0 && std::strcmp(argv[1], "load") != 0 && std::strcmp(argv[1], "plain") != 0)) {
        std::fprintf(stderr, "usage: bench-listfile save|load|plain FILE [ROWS]\n");
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
    } else if (std::strcmp(argv[1], "plain") == 0) {
        timer.start();
        const qint64 fields = plainRead(file);
        std::printf("plain read, %lld fields: %.3f s, peak memory %ld MB\n", static_cast<long long>(fields),
            double(timer.nsecsElapsed()) / 1e9, peakMegabytes());
        return fields < 0 ? 1 : 0;
    } else {
        timer.start();
        result = ApriLista(file, catalogue);
    }
    const double seconds = double(timer.nsecsElapsed()) / 1e9;
    if (!result.ok) {
        std::fprintf(stderr, "failed: %s\n", result.error.toLocal8Bit().constData());
        return 1;
    }
    std::printf("%s %lld rows: %.3f s, peak memory %ld MB\n", argv[1], static_cast<long long>(catalogue.size()), seconds, peakMegabytes());
    return 0;
}
