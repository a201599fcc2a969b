#include "player/PlayQueue.h"

#include <algorithm>

namespace sonivo {

qsizetype PlayQueue::indexOf(RowId id) const
{
    const auto found = std::find(entries_.begin(), entries_.end(), id);
    return found == entries_.end() ? -1 : qsizetype(found - entries_.begin());
}

template <typename Leaves> void PlayQueue::removeIf(Leaves leaves)
{
    // When the entry that decides what plays next leaves, the first entry after
    // it that stays takes that part.
    const RowId anchor = started_ != 0 ? started_ : next_;
    bool anchorLeft = false;
    RowId successor = 0;
    std::erase_if(entries_, [&](RowId id) {
        const bool goes = leaves(id);
        if (goes && id == anchor)
            anchorLeft = true;
        else if (!goes && anchorLeft && successor == 0)
            successor = id;
        return goes;
    });
    if (anchorLeft) {
        started_ = 0;
        next_ = successor;
    }
    if (entries_.empty())
        forgetStarted();
}

void PlayQueue::sync(const Catalogue& catalogue)
{
    // One mark per catalogue position for the rows already queued, so that a
    // sync costs one pass over the rows however long the queue is.
    std::vector<char> queued(size_t(catalogue.size()), 0);
    removeIf([&](RowId id) {
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

void PlayQueue::append(std::span<const RowId> rows)
{
    entries_.insert(entries_.end(), rows.begin(), rows.end());
}

void PlayQueue::removeAt(qsizetype i)
{
    const RowId gone = entries_[size_t(i)];
    removeIf([gone](RowId id) { return id == gone; });
}

void PlayQueue::clear()
{
    entries_.clear();
    forgetStarted();
}

void PlayQueue::setStarted(qsizetype entry)
{
    started_ = entries_[size_t(entry)];
    next_ = 0;
}

void PlayQueue::forgetStarted()
{
    started_ = 0;
    next_ = 0;
}

qsizetype PlayQueue::started() const
{
    return started_ == 0 ? -1 : indexOf(started_);
}

qsizetype PlayQueue::following() const
{
    if (entries_.empty())
        return -1;
    if (started_ == 0)
        return next_ == 0 ? 0 : indexOf(next_);
    const qsizetype next = started() + 1;
    return next >= size() ? 0 : next;
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
        totals.addTime(catalogue.playSeconds(catalogue.position(id)));
    return QStringLiteral("Brani in lista: ") + QString::number(size()) + QStringLiteral(" - Durata brani in lista: ") + totals.time();
}

}  // namespace sonivo
