#include "catalogue/FolderIndex.h"

namespace sonivo {

FolderIndex::Key FolderIndex::keyOf(const SongRecord& record)
{
    const auto [folder, cdIdentifier] = folderKeyOf(record);
    return {folder.toByteArray(), cdIdentifier.toByteArray()};
}

void FolderIndex::add(const SongRecord& record)
{
    // Rows come folder by folder: a row of the folder just counted needs no key
    // of its own.
    const auto [folder, cdIdentifier] = folderKeyOf(record);
    if (last_ && folder == last_->first.first && cdIdentifier == last_->first.second) {
        ++last_->second;
        return;
    }
    const Key key = keyOf(record);
    ++rows_[key];
    last_.emplace(key, &rows_[key]);
}

void FolderIndex::remove(const SongRecord& record)
{
    last_.reset();  // an erase may move the counts
    const auto it = rows_.find(keyOf(record));
    if (it != rows_.end() && --it.value() <= 0)
        rows_.erase(it);
}

void FolderIndex::clear()
{
    last_.reset();
    rows_.clear();
}

bool FolderIndex::contains(const QString& folder, const QString& cdIdentifier) const
{
    return rows_.contains(Key(QByteArray::fromStdString(toStored(folder)), QByteArray::fromStdString(toStored(cdIdentifier))));
}

}  // namespace sonivo
