#include "catalogue/Totals.h"

#include "common/FieldRule.h"

#include <cmath>
#include <limits>

namespace sonivo {
namespace {

QString twoDigits(qint64 n)
{
    return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
}

qint64 wholeNumber(QStringView text)
{
    bool ok = false;
    const qint64 n = text.trimmed().toLongLong(&ok);
    return ok ? n : 0;
}

}  // namespace

double totalSizeKB(std::span<const SongRecord> rows, const QLocale& locale)
{
    double sum = 0;
    for (const SongRecord& r : rows) {
        const QStringView size = r.column(ColSize);
        const qsizetype blank = size.indexOf(QLatin1Char(' '));
        bool ok = false;
        const double kb = locale.toDouble(blank < 0 ? size : size.left(blank), &ok);
        if (ok)
            sum += kb;
    }
    return sum;
}

double totalSize(std::span<const SongRecord> rows, QChar unit, const QLocale& locale)
{
    const double kb = totalSizeKB(rows, locale);
    if (unit == QLatin1Char('b'))
        return kb * 1024;
    if (unit == QLatin1Char('m'))
        return kb * 1024 / 1048000;
    return kb;
}

QString totalTime(std::span<const SongRecord> rows)
{
    // Seconds, held at the largest number rather than wrapping round: a list
    // file may hold any number.
    constexpr qint64 kMost = std::numeric_limits<qint64>::max();
    qint64 total = 0;
    for (const SongRecord& r : rows) {
        const QStringView duration = r.column(ColDuration);
        const QStringView dot = QStringView(u".");
        const qint64 m = wholeNumber(Field(duration, 1, dot));
        const qint64 s = wholeNumber(Field(duration, 2, dot));
        // A song without a valid header reads "-01.-01": it has no play time to add.
        if (m < 0 || s < 0)
            continue;
        qint64 song = 0;
        if (__builtin_mul_overflow(m, qint64(60), &song) || __builtin_add_overflow(song, s, &song)
            || __builtin_add_overflow(total, song, &total))
            total = kMost;
    }
    const qint64 hours = total / 3600;
    const qint64 minutes = total / 60 % 60;
    const qint64 seconds = total % 60;
    return twoDigits(hours) + QLatin1Char(':') + twoDigits(minutes) + QLatin1Char(':') + twoDigits(seconds);
}

QString statusSongsText(qint64 rows, double megabytes, const QLocale& locale)
{
    // "#,##0": whole megabytes with the locale's grouping.
    const qint64 whole = qint64(std::llround(megabytes));
    return QStringLiteral("Presenti ") + QString::number(rows) + QStringLiteral(" brani. Spazio: ")
        + locale.toString(whole) + QStringLiteral(" MB");
}

QString statusTimeText(const QString& totalTime)
{
    return QStringLiteral("Durata totale ") + totalTime;
}

QString startSongsText()
{
    return QStringLiteral("Presenti 0 brani. Spazio: 0 KB");
}

QString startTimeText()
{
    return statusTimeText(QStringLiteral("00:00:00"));
}

QString loadingText()
{
    return QStringLiteral("Caricamento lista in corso....");
}

QString scanningText(qint64 total)
{
    return QStringLiteral("Scansione cartelle in corso... ") + QString::number(total) + QStringLiteral(" brani rilevati.");
}

int progressPercent(qint64 found, qint64 done)
{
    if (found <= 0)
        return 0;
    return int(std::nearbyint(double(done) * 100.0 / double(found)));  // halves to even
}

QString progressFoundText(qint64 found)
{
    return QStringLiteral("Totale brani individuati: ") + QString::number(found);
}

}  // namespace sonivo
