#include "reports/ReportSource.h"

namespace sonivo {

ReportSource::ReportSource(const Catalogue& catalogue) : catalogue_(catalogue), all_(true) {}

ReportSource::ReportSource(const Catalogue& catalogue, std::span<const RowId> rows) : catalogue_(catalogue), all_(false)
{
    positions_.reserve(rows.size());
    for (const RowId id : rows)
        if (const qsizetype p = catalogue.position(id); p != Catalogue::kGone)
            positions_.push_back(p);
}

RowTotals ReportSource::totals() const
{
    RowTotals totals;
    for (qsizetype i = 0; i < size(); ++i)
        totals.add(at(i));
    return totals;
}

}  // namespace sonivo
