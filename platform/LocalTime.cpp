#include "platform/LocalTime.h"

#include <ctime>

namespace sonivo {

LocalDateTime toLocal(const QDateTime& instant)
{
    if (!instant.isValid())
        return {};
    const qint64 ms = instant.toMSecsSinceEpoch();
    const std::time_t seconds = std::time_t(ms >= 0 ? ms / 1000 : -((-ms + 999) / 1000));  // floor
    std::tm parts{};
    if (!::localtime_r(&seconds, &parts))
        return {};
    return {QDate(parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday), QTime(parts.tm_hour, parts.tm_min, parts.tm_sec)};
}

}  // namespace sonivo
