#pragma once
// The play queue: the checked rows of the catalogue in the order they were
// checked. Entries are row identities, so they follow their rows through sorts
// and removals, and two songs of the same name in different folders are two
// entries. The queue position is the entry last started from the queue.

#include "catalogue/Catalogue.h"

#include <vector>

namespace sonivo {

class PlayQueue {
public:
    qsizetype size() const { return qsizetype(entries_.size()); }
    bool isEmpty() const { return entries_.empty(); }
    RowId at(qsizetype i) const { return entries_[size_t(i)]; }
    const std::vector<RowId>& entries() const { return entries_; }
    // The entry of a row, or -1 when the row is not queued.
    qsizetype indexOf(RowId id) const;

    // Brings the queue in line with the check marks: entries whose rows are gone
    // or unchecked leave, checked rows not yet queued come at the end in
    // catalogue order; the other entries keep their order.
    void sync(const Catalogue& catalogue);
    void removeAt(qsizetype i);
    void clear();

    qsizetype position() const { return position_; }
    void setPosition(qsizetype position) { position_ = position; }
    // The entry after `from` going forward (step 1) or back (step -1), wrapping
    // round; an index at or past the end counts as past the last entry, so a
    // queue that shrank while it played goes on from its first entry.
    qsizetype neighbour(qsizetype from, int step) const;

    // "Brani in lista: N - Durata brani in lista: hh:mm:ss".
    QString statistics(const Catalogue& catalogue) const;

private:
    std::vector<RowId> entries_;
    qsizetype position_ = 0;
};

}  // namespace sonivo
