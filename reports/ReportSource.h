#pragma once
// The songs a report lists: every catalogue row in catalogue order, or the rows a
// list of identities names (the play queue's entries) in that list's order.

#include "catalogue/Catalogue.h"

#include <span>
#include <vector>

namespace sonivo {

class ReportSource {
public:
    // Every row of the catalogue.
    explicit ReportSource(const Catalogue& catalogue);
    // The rows of the identities, in their order; a row no longer in the
    // catalogue is left out.
    ReportSource(const Catalogue& catalogue, std::span<const RowId> rows);

    qsizetype size() const { return all_ ? catalogue_.size() : qsizetype(positions_.size()); }
    const SongRecord& at(qsizetype i) const { return catalogue_.row(all_ ? i : positions_[size_t(i)]); }
    // The total play time of the songs listed.
    QString totalTime() const;
    // The totals of the whole catalogue, whichever songs are listed.
    const RowTotals& catalogueTotals() const { return catalogue_.totals(); }

private:
    const Catalogue& catalogue_;
    bool all_;
    std::vector<qsizetype> positions_;  // with !all_
};

}  // namespace sonivo
