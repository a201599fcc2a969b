#include "common/FieldRule.h"

namespace sonivo {

QStringView Field(QStringView text, int n, QStringView separator)
{
    if (n < 1 || separator.isEmpty())
        return n == 1 ? text : QStringView();
    qsizetype start = 0;
    for (int piece = 1; piece < n; ++piece) {
        const qsizetype next = text.indexOf(separator, start);
        if (next < 0)
            return {};
        start = next + separator.size();
    }
    const qsizetype end = text.indexOf(separator, start);
    return text.mid(start, end < 0 ? -1 : end - start);
}

}  // namespace sonivo
