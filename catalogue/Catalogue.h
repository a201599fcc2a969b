#pragma once
// The songs of the catalogue in their order, each with its check mark and the
// number of its file-type icon. A folder's songs are identified by the folder and
// the CD identifier (empty for songs not read from a CD), so that an update of a
// folder never touches the rows of another disc.

#include "catalogue/FolderIndex.h"
#include "catalogue/SongRecord.h"

#include <vector>

namespace sonivo {

class Catalogue {
public:
    qsizetype size() const { return qsizetype(rows_.size()); }
    bool isEmpty() const { return rows_.empty(); }
    const SongRecord& row(qsizetype i) const { return rows_[size_t(i)]; }
    // A row that may be changed: the folder index is made again at the next lookup.
    SongRecord& row(qsizetype i) { foldersStale_ = true; return rows_[size_t(i)]; }
    const std::vector<SongRecord>& rows() const { return rows_; }

    // New rows come unchecked and without an icon.
    void append(SongRecord record);
    void append(std::vector<SongRecord>&& records);
    void clear();

    // True when a row has this folder (ending with "/") and CD identifier.
    bool FolderPresent(const QString& folder, const QString& cdIdentifier) const;
    // Removes those rows, keeping the order of the others; returns how many went.
    qsizetype removeFolder(const QString& folder, const QString& cdIdentifier);
    // The same, handing the rows over in their order.
    std::vector<SongRecord> takeFolder(const QString& folder, const QString& cdIdentifier);

    bool isChecked(qsizetype i) const { return checked_[size_t(i)] != 0; }
    void setChecked(qsizetype i, bool checked) { checked_[size_t(i)] = checked; }
    void checkAll();
    void uncheckAll();
    void invertChecks();
    qsizetype checkedCount() const;
    // Removes every checked row, keeping the order of the others; returns how many went.
    qsizetype removeChecked();

    // The row's icon number, 0 while it has none.
    quint32 icon(qsizetype i) const { return icons_[size_t(i)]; }
    void setIcon(qsizetype i, quint32 icon) { icons_[size_t(i)] = icon; }

    // Puts the rows in order of the column's texts compared without regard to
    // letter case, character by character (numbers and dates by their text). Rows whose texts compare
    // equal keep their order, so sorting by one column and then another nests.
    void sortBy(int column, bool ascending);

private:
    template <typename Remove>
    qsizetype removeIf(Remove remove, std::vector<SongRecord>* taken = nullptr);
    bool inFolder(size_t i, const QString& folder, const QString& cdIdentifier) const;

    std::vector<SongRecord> rows_;
    mutable FolderIndex folders_;       // the folders of rows_
    mutable bool foldersStale_ = false; // a row may have changed since folders_ was made
    std::vector<char> checked_;  // one per row
    std::vector<quint32> icons_; // one per row
};

}  // namespace sonivo
