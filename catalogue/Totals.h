#pragma once
// Totals of a set of catalogue rows for the status line and the reports: the song
// count, the sum of the sizes and of the durations, and the texts that show them.

#include "catalogue/SongRecord.h"

#include <QLocale>

namespace sonivo {

// The play time of a row's duration ("minutes.seconds") in seconds: 0 for a
// negative duration (a file without a valid header), held at the largest 64-bit
// number, which the total time shows at most anyway.
qint64 playSeconds(const SongRecord& row);

// Totals of a set of rows kept as rows come and go, so that showing them costs
// nothing however many rows there are.
class RowTotals {
public:
    void add(const SongRecord& row) { add(row, playSeconds(row)); }
    // The same with the row's play seconds known already.
    void add(const SongRecord& row, qint64 seconds);
    // Adds only a row's play seconds, for a set whose size is not shown.
    void addTime(qint64 seconds);
    void remove(const SongRecord& row, qint64 seconds);
    void clear();
    // The kilobyte sum in a unit: 'k' kilobytes, 'b' the sum × 1024, 'm' megabytes
    // (the sum × 1024 ÷ 1,048,000); any other letter the kilobyte sum. A size is a
    // whole number, whatever locale grouped its digits: "4.002 KB", "4,002 KB",
    // "4 002 KB" and "4’002 KB" are all 4002. The digits at the start of the text
    // count, the grouping between them is skipped and what follows is the unit; a
    // text that does not start with a number counts 0.
    double size(QChar unit) const;
    // "hh:mm:ss" of the durations ("minutes.seconds"), each part at least two
    // digits; a negative duration (a file without a valid header) counts nothing.
    QString time() const;

private:
    __extension__ using Seconds = __int128;  // wide enough never to overflow

    double kb_ = 0;
    Seconds seconds_ = 0;
    qint64 rows_ = 0;
};

// "#,##0": the nearest whole number, thousands grouped as the locale groups them.
QString formatGrouped(double value, const QLocale& locale = QLocale());

// The status line's texts.
QString statusSongsText(qint64 rows, double megabytes, const QLocale& locale = QLocale());
QString statusTimeText(const QString& totalTime);
QString startSongsText();            // "Presenti 0 brani. Spazio: 0 KB"
QString startTimeText();             // "Durata totale 00:00:00"
QString loadingText();               // "Caricamento lista in corso...."
QString scanningText(qint64 total);  // "Scansione cartelle in corso... 12 brani rilevati."

// The scan's progress: done × 100 ÷ found, rounded halves to even; 0 when nothing was found.
int progressPercent(qint64 found, qint64 done);
QString progressFoundText(qint64 found);

}  // namespace sonivo
