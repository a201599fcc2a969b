#pragma once
// The songs of the catalogue in their order. A folder's songs are identified by the
// folder and the CD identifier (empty for songs not read from a CD), so that an
// update of a folder never touches the rows of another disc.

#include "catalogue/SongRecord.h"

#include <vector>

namespace sonivo {

class Catalogue {
public:
    qsizetype size() const { return qsizetype(rows_.size()); }
    bool isEmpty() const { return rows_.empty(); }
    const SongRecord& row(qsizetype i) const { return rows_[size_t(i)]; }
    SongRecord& row(qsizetype i) { return rows_[size_t(i)]; }
    const std::vector<SongRecord>& rows() const { return rows_; }

    void append(SongRecord record) { rows_.push_back(std::move(record)); }
    void append(std::vector<SongRecord>&& records);
    void clear() { rows_.clear(); }

    // True when a row has this folder (ending with "/") and CD identifier.
    bool FolderPresent(const QString& folder, const QString& cdIdentifier) const;
    // Removes those rows, keeping the order of the others; returns how many went.
    qsizetype removeFolder(const QString& folder, const QString& cdIdentifier);

private:
    std::vector<SongRecord> rows_;
};

}  // namespace sonivo
