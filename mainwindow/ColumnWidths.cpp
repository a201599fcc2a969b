#include "mainwindow/ColumnWidths.h"

#include <algorithm>
#include <vector>

namespace sonivo {

int widestText(const Catalogue& catalogue, int column, const QFontMetrics& metrics, int candidates)
{
    std::vector<QStringView> texts;
    texts.reserve(size_t(catalogue.size()));
    for (const SongRecord& r : catalogue.rows())
        texts.push_back(r.column(column));
    const auto longerFirst = [](QStringView a, QStringView b) { return a.size() > b.size(); };
    const size_t n = std::min(texts.size(), size_t(candidates));
    std::partial_sort(texts.begin(), texts.begin() + qsizetype(n), texts.end(), longerFirst);
    int widest = 0;
    for (size_t i = 0; i < n; ++i)
        widest = std::max(widest, metrics.horizontalAdvance(texts[i].toString()));
    return widest;
}

}  // namespace sonivo
