#include "mainwindow/ColumnWidths.h"

#include <algorithm>
#include <vector>

namespace sonivo {

qsizetype widestRow(const Catalogue& catalogue, int column, const QFontMetrics& metrics, int candidates)
{
    std::vector<qsizetype> rows(size_t(catalogue.size()));
    for (qsizetype i = 0; i < catalogue.size(); ++i)
        rows[size_t(i)] = i;
    const auto longerFirst
        = [&](qsizetype a, qsizetype b) { return catalogue.row(a).stored(column).size() > catalogue.row(b).stored(column).size(); };
    const size_t n = std::min(rows.size(), size_t(candidates));
    std::partial_sort(rows.begin(), rows.begin() + qsizetype(n), rows.end(), longerFirst);
    qsizetype widest = -1;
    int widestWidth = -1;
    for (size_t i = 0; i < n; ++i) {
        const int width = metrics.horizontalAdvance(catalogue.row(rows[i]).text(column));
        if (width > widestWidth) {
            widestWidth = width;
            widest = rows[i];
        }
    }
    return widest;
}

}  // namespace sonivo
