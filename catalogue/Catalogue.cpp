#include "catalogue/Catalogue.h"

#include <algorithm>
#include <numeric>

namespace sonivo {

void Catalogue::append(SongRecord record)
{
    folders_.add(record);
    rows_.push_back(std::move(record));
    checked_.push_back(0);
    icons_.push_back(0);
}

void Catalogue::append(std::vector<SongRecord>&& records)
{
    rows_.reserve(rows_.size() + records.size());
    for (const SongRecord& r : records)
        folders_.add(r);
    std::move(records.begin(), records.end(), std::back_inserter(rows_));
    checked_.resize(rows_.size(), 0);
    icons_.resize(rows_.size(), 0);
    records.clear();
}

void Catalogue::clear()
{
    rows_.clear();
    checked_.clear();
    icons_.clear();
    folders_.clear();
    foldersStale_ = false;
}

bool Catalogue::FolderPresent(const QString& folder, const QString& cdIdentifier) const
{
    if (foldersStale_) {
        folders_.clear();
        for (const SongRecord& r : rows_)
            folders_.add(r);
        foldersStale_ = false;
    }
    return folders_.contains(folder, cdIdentifier);
}

bool Catalogue::inFolder(size_t i, const QString& folder, const QString& cdIdentifier) const
{
    return rows_[i].column(ColFolder) == folder && rows_[i].column(ColCdId) == cdIdentifier;
}

template <typename Remove>
qsizetype Catalogue::removeIf(Remove remove, std::vector<SongRecord>* taken)
{
    size_t kept = 0;
    for (size_t i = 0; i < rows_.size(); ++i) {
        if (remove(i)) {
            folders_.remove(rows_[i]);
            if (taken)
                taken->push_back(std::move(rows_[i]));
            continue;
        }
        if (kept != i) {
            rows_[kept] = std::move(rows_[i]);
            checked_[kept] = checked_[i];
            icons_[kept] = icons_[i];
        }
        ++kept;
    }
    const qsizetype removed = qsizetype(rows_.size() - kept);
    rows_.resize(kept);
    checked_.resize(kept);
    icons_.resize(kept);
    return removed;
}

qsizetype Catalogue::removeFolder(const QString& folder, const QString& cdIdentifier)
{
    return removeIf([&](size_t i) { return inFolder(i, folder, cdIdentifier); });
}

std::vector<SongRecord> Catalogue::takeFolder(const QString& folder, const QString& cdIdentifier)
{
    std::vector<SongRecord> taken;
    removeIf([&](size_t i) { return inFolder(i, folder, cdIdentifier); }, &taken);
    return taken;
}

void Catalogue::checkAll()
{
    std::fill(checked_.begin(), checked_.end(), 1);
}

void Catalogue::uncheckAll()
{
    std::fill(checked_.begin(), checked_.end(), 0);
}

void Catalogue::invertChecks()
{
    for (char& c : checked_)
        c = !c;
}

qsizetype Catalogue::checkedCount() const
{
    return qsizetype(std::count(checked_.begin(), checked_.end(), 1));
}

qsizetype Catalogue::removeChecked()
{
    return removeIf([&](size_t i) { return checked_[i] != 0; });
}

void Catalogue::sortBy(int column, bool ascending)
{
    // Each row's text case-folded once, then a stable sort of the row numbers by
    // it: far cheaper than folding two texts at every comparison.
    std::vector<QString> keys;
    keys.reserve(rows_.size());
    for (const SongRecord& r : rows_)
        keys.push_back(r.text(column).toCaseFolded());
    std::vector<size_t> order(rows_.size());
    std::iota(order.begin(), order.end(), size_t(0));
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        return ascending ? keys[a] < keys[b] : keys[b] < keys[a];
    });

    std::vector<SongRecord> rows;
    std::vector<char> checked;
    std::vector<quint32> icons;
    rows.reserve(rows_.size());
    checked.reserve(rows_.size());
    icons.reserve(rows_.size());
    for (size_t i : order) {
        rows.push_back(std::move(rows_[i]));
        checked.push_back(checked_[i]);
        icons.push_back(icons_[i]);
    }
    rows_ = std::move(rows);
    checked_ = std::move(checked);
    icons_ = std::move(icons);
}

}  // namespace sonivo
