#include "catalogue/Totals.h"

#include "catalogue/StoredText.h"
#include "common/FieldRule.h"

#include <cmath>
#include <limits>
#include <optional>
#include <tuple>

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

// A part of a duration as the program writes it: an optional minus and one to
// nine digits, read from the stored bytes; at is moved past it.
std::optional<qint64> plainNumber(QByteArrayView text, qsizetype& at)
{
    const bool negative = at < text.size() && text[at] == '-';
    qsizetype i = at + (negative ? 1 : 0);
    const qsizetype first = i;
    qint64 n = 0;
    for (; i < text.size() && i - first < 9 && text[i] >= '0' && text[i] <= '9'; ++i)
        n = n * 10 + (text[i] - '0');
    if (i == first)
        return std::nullopt;
    at = i;
    return negative ? -n : n;
}

// "03.45" or "-01.-01" straight from the stored bytes, the shape every scanned
// row has; nothing for any other text, which the general reading takes.
std::optional<std::pair<qint64, qint64>> plainDuration(QByteArrayView text)
{
    qsizetype at = 0;
    const std::optional<qint64> m = plainNumber(text, at);
    if (!m || at >= text.size() || text[at] != '.')
        return std::nullopt;
    ++at;
    const std::optional<qint64> s = plainNumber(text, at);
    if (!s || at != text.size())
        return std::nullopt;
    return std::pair{*m, *s};
}

// The marks locales group digits with: point, comma, blank, apostrophe, no-break
// and narrow no-break space, right single quotation mark, Arabic thousands mark.
bool isDigitGroupMark(char32_t c)
{
    switch (c) {
    case '.':
    case ',':
    case ' ':
    case '\'':
    case 0x00A0:
    case 0x202F:
    case 0x2019:
    case 0x066C: return true;
    default: return false;
    }
}

// The value of a decimal digit of any script (a locale may write Arabic or
// Bengali ones), or -1.
int decimalDigit(char32_t c)
{
    if (c >= '0' && c <= '9')
        return int(c - '0');
    return c >= 0x80 && QChar::isDigit(c) ? QChar::digitValue(c) : -1;
}

// A size text's kilobytes (see RowTotals::size), read from its stored bytes as they
// come: the locale, asked for each row, would cost more than all the rest of a
// list's load. More digits than any file's size has count 0.
qint64 sizeKB(QByteArrayView stored)
{
    constexpr int kMostDigits = 18;
    const auto* p = reinterpret_cast<const uchar*>(stored.data());
    const auto* end = p + stored.size();
    qint64 kb = 0;
    int digits = 0;
    while (p < end) {
        const char32_t c = *p < 0x80 ? *p++ : takeStoredChar(p, end);
        if (const int digit = decimalDigit(c); digit >= 0) {
            if (++digits > kMostDigits)
                return 0;
            kb = kb * 10 + digit;
        } else if (!isDigitGroupMark(c)) {
            break;
        }
    }
    return kb;
}

}  // namespace

qint64 playSeconds(const SongRecord& row)
{
    qint64 m = 0, s = 0;
    if (const auto plain = plainDuration(row.stored(ColDuration))) {
        std::tie(m, s) = *plain;
    } else {
        const QString duration = row.text(ColDuration);
        const QStringView dot = QStringView(u".");
        m = wholeNumber(Field(duration, 1, dot));
        s = wholeNumber(Field(duration, 2, dot));
    }
    // A song without a valid header reads "-01.-01": it has no play time to add.
    if (m < 0 || s < 0)
        return 0;
    constexpr qint64 kMost = std::numeric_limits<qint64>::max();
    return m > (kMost - s) / 60 ? kMost : m * 60 + s;
}

void RowTotals::add(const SongRecord& row, qint64 seconds)
{
    kb_ += double(sizeKB(row.stored(ColSize)));
    addTime(seconds);
}

void RowTotals::addTime(qint64 seconds)
{
    seconds_ += seconds;
    ++rows_;
}

void RowTotals::remove(const SongRecord& row, qint64 seconds)
{
    if (--rows_ == 0) {
        clear();  // no rounding left over from sums of fractions
        return;
    }
    kb_ -= double(sizeKB(row.stored(ColSize)));
    seconds_ -= seconds;
}

void RowTotals::clear()
{
    kb_ = 0;
    seconds_ = 0;
    rows_ = 0;
}

double RowTotals::size(QChar unit) const
{
    if (unit == QLatin1Char('b'))
        return kb_ * 1024;
    if (unit == QLatin1Char('m'))
        return kb_ * 1024 / 1048000;
    return kb_;
}

QString RowTotals::time() const
{
    // Held at the largest 64-bit number rather than wrapping round: a list file
    // may hold any number.
    constexpr qint64 kMost = std::numeric_limits<qint64>::max();
    const qint64 total = seconds_ > Seconds(kMost) ? kMost : qint64(seconds_);
    const qint64 hours = total / 3600;
    const qint64 minutes = total / 60 % 60;
    const qint64 secs = total % 60;
    return twoDigits(hours) + QLatin1Char(':') + twoDigits(minutes) + QLatin1Char(':') + twoDigits(secs);
}

QString formatGrouped(double value, const QLocale& locale)
{
    return locale.toString(qint64(std::llround(value)));
}

QString statusSongsText(qint64 rows, double megabytes, const QLocale& locale)
{
    return QStringLiteral("Presenti ") + QString::number(rows) + QStringLiteral(" brani. Spazio: ") + formatGrouped(megabytes, locale)
        + QStringLiteral(" MB");
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
