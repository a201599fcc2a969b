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
        ++*last_->second;
        return;
    }
    const Key key = keyOf(record);
    qsizetype& count = rows_[key];
    ++count;
    last_.emplace(key, &count);
}

void FolderIndex::remove(const SongRecord& record)
{
    // Rows go folder by folder too: the count just lowered needs no new lookup.
    const auto [folder, cdIdentifier] = folderKeyOf(record);
    if (!last_ || folder != last_->first.first || cdIdentifier != last_->first.second) {
        // Looked up over the row's own bytes, copying nothing.
        const auto it = rows_.find(Key(QByteArray::fromRawData(folder.data(), folder.size()),
            QByteArray::fromRawData(cdIdentifier.data(), cdIdentifier.size())));
        if (it == rows_.end()) {
            last_.reset();
            return;
        }
        last_.emplace(it.key(), &it.value());
    }
    if (--*last_->second <= 0) {
        rows_.remove(last_->first);
        last_.reset();  // an erase may move the counts
    }
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
