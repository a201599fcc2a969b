#include "catalogue/Catalogue.h"

#include <algorithm>

namespace sonivo {
namespace {

auto inFolder(const QString& folder, const QString& cdIdentifier)
{
    return [&](const SongRecord& r) { return r.column(ColFolder) == folder && r.column(ColCdId) == cdIdentifier; };
}

}  // namespace

void Catalogue::append(std::vector<SongRecord>&& records)
{
    rows_.reserve(rows_.size() + records.size());
    std::move(records.begin(), records.end(), std::back_inserter(rows_));
    records.clear();
}

bool Catalogue::FolderPresent(const QString& folder, const QString& cdIdentifier) const
{
    return std::any_of(rows_.begin(), rows_.end(), inFolder(folder, cdIdentifier));
}

qsizetype Catalogue::removeFolder(const QString& folder, const QString& cdIdentifier)
{
    return qsizetype(std::erase_if(rows_, inFolder(folder, cdIdentifier)));
}

}  // namespace sonivo
