#pragma once
// The songs of the catalogue in their order, each with its check mark, the
// number of its file-type icon and an identity that follows the row through
// sorts, removals of other rows and edits. A folder's songs are identified by the
// folder and the CD identifier (empty for songs not read from a CD), so that an
// update of a folder never touches the rows of another disc.
//
// Every change is told to the observer, if one is set, before and after it is
// made, so that a view over the rows never has to be told by hand.

#include "catalogue/CatalogueObserver.h"
#include "catalogue/FolderIndex.h"
#include "catalogue/SongRecord.h"
#include "catalogue/Totals.h"
#include "platform/LargePages.h"

#include <span>
#include <vector>

namespace sonivo {

class Catalogue {
public:
    qsizetype size() const { return qsizetype(rows_.size()); }
    bool isEmpty() const { return rows_.empty(); }
    const SongRecord& row(qsizetype i) const { return rows_[size_t(i)]; }
    const std::vector<SongRecord>& rows() const { return rows_; }
    // Puts a changed record in place of row i; the row keeps its identity.
    void replaceRow(qsizetype i, SongRecord record);

    // New rows come unchecked, without an icon and with new identities.
    void append(SongRecord record);
    void append(std::vector<SongRecord>&& records);
    // Takes every row out; the rows that come next get identities never used before.
    void clear();

    // The identity of the row at position i, and the position of a row by its
    // identity: kGone when that row is no longer in the catalogue.
    RowId id(qsizetype i) const { return ids_[size_t(i)]; }
    qsizetype position(RowId id) const;
    static constexpr qsizetype kGone = -1;

    // The size and time of all rows, kept up to date as rows change.
    const RowTotals& totals() const { return totals_; }
    // The play time of row i in seconds, as the totals count it.
    qint64 playSeconds(qsizetype i) const { return seconds_[size_t(i)]; }

    // True when a row has this folder (ending with "/") and CD identifier.
    bool FolderPresent(const QString& folder, const QString& cdIdentifier) const;
    // Removes those rows, keeping the order of the others; returns how many went.
    qsizetype removeFolder(const QString& folder, const QString& cdIdentifier);
    // The same, handing the rows over in their order.
    std::vector<SongRecord> takeFolder(const QString& folder, const QString& cdIdentifier);
    // Removes every row of other folders in one pass, keeping the order of the
    // folder's rows; returns how many went. A folder without rows changes nothing,
    // so that a stale choice never empties the catalogue.
    qsizetype keepOnlyFolder(const QString& folder, const QString& cdIdentifier);

    bool isChecked(qsizetype i) const { return checked_[size_t(i)] != 0; }
    void setChecked(qsizetype i, bool checked);
    // Checks the rows at these positions, telling the observer once.
    void check(std::span<const qsizetype> rows);
    void checkAll();
    void uncheckAll();
    void invertChecks();
    // Whether a row is checked: what the window asks at every tick.
    bool anyChecked() const;
    // Removes every checked row, keeping the order of the others; returns how many went.
    qsizetype removeChecked();

    // The row's icon number, 0 while it has none.
    quint32 icon(qsizetype i) const { return icons_[size_t(i)]; }
    // Gives every row without an icon the number iconOf returns for it (0 leaves
    // it without); returns how many rows got one.
    template <typename IconOf> qsizetype assignIcons(IconOf iconOf);

    // Puts the rows in order of the column's texts compared without regard to
    // letter case, character by character (numbers and dates by their text). Rows whose texts compare
    // equal keep their order, so sorting by one column and then another nests.
    void sortBy(int column, bool ascending);

    // The observer told of every change; null for none.
    void setObserver(CatalogueObserver* observer) { observer_ = observer; }

private:
    // Removes the rows for which remove(i) is true, telling the observer of each
    // run of neighbouring rows, or of a reset when the runs are too many.
    template <typename Remove> qsizetype removeIf(Remove remove, std::vector<SongRecord>* taken = nullptr);
    // Folder and identifier in their stored form.
    bool inFolder(size_t i, const std::string& folder, const std::string& cdIdentifier) const;
    // Takes the rows out, and out of the folder lookup and the totals when uncount.
    void eraseRange(size_t first, size_t last, std::vector<SongRecord>* taken, bool uncount);
    // Counts the folder lookup and the totals again from the rows outside the runs.
    void countAllBut(const std::vector<std::pair<size_t, size_t>>& runs);
    void renumberFrom(size_t first);
    void newIds(size_t count);
    void changed(qsizetype first, qsizetype last, RowChange what);

    std::vector<SongRecord> rows_;
    FolderIndex folders_;          // the folders of rows_
    RowTotals totals_;             // of rows_
    LargeVector<char> checked_;    // one per row
    LargeVector<quint32> icons_;   // one per row
    LargeVector<RowId> ids_;       // one per row
    LargeVector<qint64> seconds_;  // one per row: its play seconds
    // The position of every identity given since the last clear, from firstId_
    // on: kGone once its row went.
    LargeVector<qsizetype> positions_;
    RowId firstId_ = 1;
    RowId nextId_ = 1;
    CatalogueObserver* observer_ = nullptr;
};

template <typename IconOf> qsizetype Catalogue::assignIcons(IconOf iconOf)
{
    qsizetype given = 0;
    for (size_t i = 0; i < rows_.size(); ++i) {
        if (icons_[i] != 0)
            continue;
        icons_[i] = iconOf(rows_[i]);
        given += icons_[i] != 0;
    }
    if (given > 0)
        changed(0, size() - 1, RowChange::Icons);
    return given;
}

}  // namespace sonivo
