#pragma once
// How many rows each folder (with its CD identifier) has, so that "is this
// folder in the catalogue" is a lookup and not a pass over every row.

#include "catalogue/SongRecord.h"

#include <QHash>
#include <optional>
#include <utility>

namespace sonivo {

// The rows of one folder are the rows with the same folder text (column 3) and
// the same whole CD identifier (column 21, empty for a song not read from a CD):
// two discs never share a folder, whatever their paths and names. In stored form.
using FolderKeyView = std::pair<QByteArrayView, QByteArrayView>;
inline FolderKeyView folderKeyOf(const SongRecord& record)
{
    return {record.stored(ColFolder), record.stored(ColCdId)};
}

class FolderIndex {
public:
    FolderIndex() = default;
    // A copy has counts of its own, so it remembers no key of the original's.
    FolderIndex(const FolderIndex& other) : rows_(other.rows_) {}
    FolderIndex& operator=(const FolderIndex& other)
    {
        rows_ = other.rows_;
        last_.reset();
        return *this;
    }

    void add(const SongRecord& record);
    void remove(const SongRecord& record);
    void clear();
    bool contains(const QString& folder, const QString& cdIdentifier) const;

private:
    using Key = std::pair<QByteArray, QByteArray>;  // folder and CD identifier, stored form
    static Key keyOf(const SongRecord& record);

    QHash<Key, qsizetype> rows_;
    // The key counted last, up or down, and its count, while no other key came
    // or went.
    std::optional<std::pair<Key, qsizetype*>> last_;
};

}  // namespace sonivo
