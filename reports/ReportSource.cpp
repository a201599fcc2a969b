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

QString ReportSource::totalTime() const
{
    if (all_)
        return catalogue_.totals().time();
    RowTotals listed;
    for (const qsizetype p : positions_)
        listed.addTime(catalogue_.playSeconds(p));
    return listed.time();
}

}  // namespace sonivo
