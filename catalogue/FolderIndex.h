#pragma once
// How many rows each folder (with its CD identifier) has, so that "is this
// folder in the catalogue" is a lookup and not a pass over every row.

#include "catalogue/SongRecord.h"

#include <QHash>
#include <utility>

namespace sonivo {

class FolderIndex {
public:
    void add(const SongRecord& record);
    void remove(const SongRecord& record);
    void clear();
    bool contains(const QString& folder, const QString& cdIdentifier) const;

private:
    using Key = std::pair<QString, QString>;
    static Key keyOf(const SongRecord& record);

    QHash<Key, qsizetype> rows_;
};

}  // namespace sonivo
