#include "player/PlayQueue.h"

#include <algorithm>

namespace sonivo {

qsizetype PlayQueue::indexOf(RowId id) const
{
    const auto found = std::find(entries_.begin(), entries_.end(), id);
    return found == entries_.end() ? -1 : qsizetype(found - entries_.begin());
}

void PlayQueue::sync(const Catalogue& catalogue)
{
    // One mark per catalogue position for the rows already queued, so that a
    // sync costs one pass over the rows however long the queue is.
    std::vector<char> queued(size_t(catalogue.size()), 0);
    std::erase_if(entries_, [&](RowId id) {
        const qsizetype p = catalogue.position(id);
        if (p == Catalogue::kGone || !catalogue.isChecked(p))
            return true;
        queued[size_t(p)] = 1;
        return false;
    });
    for (qsizetype i = 0; i < catalogue.size(); ++i)
        if (!queued[size_t(i)] && catalogue.isChecked(i))
            entries_.push_back(catalogue.id(i));
}

void PlayQueue::removeAt(qsizetype i)
{
    entries_.erase(entries_.begin() + i);
}

void PlayQueue::clear()
{
    entries_.clear();
    position_ = 0;
}

qsizetype PlayQueue::neighbour(qsizetype from, int step) const
{
    if (entries_.empty())
        return -1;
    if (step > 0)
        return from + 1 >= size() || from < 0 ? 0 : from + 1;
    return from < 1 || from > size() ? size() - 1 : from - 1;
}

QString PlayQueue::statistics(const Catalogue& catalogue) const
{
    RowTotals totals;
    for (RowId id : entries_)
        totals.add(catalogue.row(catalogue.position(id)));
    return QStringLiteral("Brani in lista: ") + QString::number(size()) + QStringLiteral(" - Durata brani in lista: ") + totals.time();
}

}  // namespace sonivo
