#pragma once
// The play queue: the checked rows of the catalogue in the order they were
// checked. Entries are row identities, so they follow their rows through sorts
// and removals, and two songs of the same name in different folders are two
// entries. The queue remembers the entry last started from it by its row, so
// that entries added or removed before it never change what plays after it.

#include "catalogue/Catalogue.h"

#include <span>
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
    // Puts rows that are checked and not yet queued at the end, in this order.
    void append(std::span<const RowId> rows);
    void removeAt(qsizetype i);
    void clear();

    // The entry last started from the queue; the song that plays next follows it.
    void setStarted(qsizetype entry);
    // A song from outside the queue started: the queue begins again at its first entry.
    void forgetStarted();
    // The index of the entry last started, -1 when it left or none was.
    qsizetype started() const;
    // The entry to play when the song started last has ended: the one that follows
    // it now (the one that took its place, when it left the queue), wrapping
    // round; the first entry when none was started; -1 for an empty queue.
    qsizetype following() const;
    // The entry after `from` going forward (step 1) or back (step -1), wrapping
    // round; an index at or past the end counts as past the last entry, so a
    // queue that shrank while it played goes on from its first entry.
    qsizetype neighbour(qsizetype from, int step) const;

    // "Brani in lista: N - Durata brani in lista: hh:mm:ss".
    QString statistics(const Catalogue& catalogue) const;

private:
    // Takes out the entries for which leaves(id) is true, keeping track of the
    // entry that plays after the started one.
    template <typename Leaves> void removeIf(Leaves leaves);

    std::vector<RowId> entries_;
    RowId started_ = 0;  // the row of the entry last started; 0 for none
    RowId next_ = 0;     // once that entry left, the row of the one after it; 0: the first
};

}  // namespace sonivo
