#pragma once
// Local calendar date and clock time of an instant, from the C library's time zone
// rules. Unlike QDateTime::toLocalTime it does not re-read the zone on every call,
// which matters when tens of thousands of file dates are shown at once.

#include <QDate>
#include <QDateTime>
#include <QTime>

namespace sonivo {

struct LocalDateTime {
    QDate date;
    QTime time;  // to the second
};

// The instant in local time; an invalid date time gives invalid parts.
LocalDateTime toLocal(const QDateTime& instant);

}  // namespace sonivo
