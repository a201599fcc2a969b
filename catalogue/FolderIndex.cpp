#include "catalogue/FolderIndex.h"

namespace sonivo {

FolderIndex::Key FolderIndex::keyOf(const SongRecord& record)
{
    return {record.column(ColFolder).toString(), record.column(ColCdId).toString()};
}

void FolderIndex::add(const SongRecord& record)
{
    ++rows_[keyOf(record)];
}

void FolderIndex::remove(const SongRecord& record)
{
    const auto it = rows_.find(keyOf(record));
    if (it != rows_.end() && --it.value() <= 0)
        rows_.erase(it);
}

void FolderIndex::clear()
{
    rows_.clear();
}

bool FolderIndex::contains(const QString& folder, const QString& cdIdentifier) const
{
    return rows_.contains(Key(folder, cdIdentifier));
}

}  // namespace sonivo
