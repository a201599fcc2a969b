#include "catalogue/Catalogue.h"

#include "catalogue/SortKeys.h"
#include "common/TwoHalves.h"

#include <algorithm>
#include <cstring>
#include <numeric>

namespace sonivo {
namespace {

// Beyond this many runs of removed rows, one reset is cheaper for a view than
// a removal per run.
constexpr size_t kMaxRemovalRuns = 64;

// The values in a new order: the one at order[k] comes k-th.
template <typename T> LargeVector<T> reordered(const LargeVector<T>& values, const std::vector<qsizetype>& order)
{
    LargeVector<T> out(values.size());
    for (size_t k = 0; k < values.size(); ++k)
        out[k] = values[size_t(order[k])];
    return out;
}

}  // namespace

void Catalogue::changed(qsizetype first, qsizetype last, RowChange what)
{
    if (observer_ && first <= last)
        observer_->rowsChanged(first, last, what);
}

void Catalogue::replaceRow(qsizetype i, SongRecord record)
{
    folders_.remove(rows_[size_t(i)]);
    totals_.remove(rows_[size_t(i)], seconds_[size_t(i)]);
    folders_.add(record);
    seconds_[size_t(i)] = sonivo::playSeconds(record);
    totals_.add(record, seconds_[size_t(i)]);
    rows_[size_t(i)] = std::move(record);
    changed(i, i, RowChange::Texts);
}

void Catalogue::newIds(size_t count)
{
    for (size_t k = 0; k < count; ++k) {
        ids_.push_back(nextId_++);
        positions_.push_back(qsizetype(ids_.size() - 1));
    }
}

void Catalogue::append(SongRecord record)
{
    std::vector<SongRecord> one;
    one.push_back(std::move(record));
    append(std::move(one));
}

void Catalogue::append(std::vector<SongRecord>&& records)
{
    if (records.empty())
        return;
    const size_t first = rows_.size();
    if (observer_)
        observer_->rowsAboutToBeAppended(qsizetype(first), qsizetype(records.size()));
    for (const SongRecord& r : records) {
        folders_.add(r);
        seconds_.push_back(sonivo::playSeconds(r));
        totals_.add(r, seconds_.back());
    }
    if (rows_.empty())
        rows_ = std::move(records);
    else  // grows geometrically: rows appended one by one cost no more than in a batch
        rows_.insert(rows_.end(), std::make_move_iterator(records.begin()), std::make_move_iterator(records.end()));
    records.clear();
    checked_.resize(rows_.size(), 0);
    icons_.resize(rows_.size(), 0);
    newIds(rows_.size() - first);
    if (observer_)
        observer_->rowsAppended();
}

void Catalogue::clear()
{
    if (observer_)
        observer_->rowsAboutToBeReset();
    rows_.clear();
    folders_.clear();
    totals_.clear();
    checked_.clear();
    icons_.clear();
    ids_.clear();
    seconds_.clear();
    positions_.clear();
    firstId_ = nextId_;
    if (observer_)
        observer_->rowsReset();
}

qsizetype Catalogue::position(RowId id) const
{
    if (id < firstId_ || id >= nextId_)
        return kGone;
    return positions_[size_t(id - firstId_)];
}

bool Catalogue::FolderPresent(const QString& folder, const QString& cdIdentifier) const
{
    return folders_.contains(folder, cdIdentifier);
}

bool Catalogue::inFolder(size_t i, const std::string& folder, const std::string& cdIdentifier) const
{
    return folderKeyOf(rows_[i]) == FolderKeyView(folder, cdIdentifier);
}

void Catalogue::renumberFrom(size_t first)
{
    for (size_t i = first; i < ids_.size(); ++i)
        positions_[size_t(ids_[i] - firstId_)] = qsizetype(i);
}

void Catalogue::eraseRange(size_t first, size_t last, std::vector<SongRecord>* taken, bool uncount)
{
    for (size_t i = first; i <= last; ++i) {
        positions_[size_t(ids_[i] - firstId_)] = kGone;
        if (uncount) {
            folders_.remove(rows_[i]);
            totals_.remove(rows_[i], seconds_[i]);
        }
    }
    if (taken)
        std::move(rows_.begin() + qsizetype(first), rows_.begin() + qsizetype(last) + 1, std::back_inserter(*taken));
    const auto from = qsizetype(first), to = qsizetype(last) + 1;
    rows_.erase(rows_.begin() + from, rows_.begin() + to);
    checked_.erase(checked_.begin() + from, checked_.begin() + to);
    icons_.erase(icons_.begin() + from, icons_.begin() + to);
    ids_.erase(ids_.begin() + from, ids_.begin() + to);
    seconds_.erase(seconds_.begin() + from, seconds_.begin() + to);
}

void Catalogue::countAllBut(const std::vector<std::pair<size_t, size_t>>& runs)
{
    folders_.clear();
    totals_.clear();
    size_t next = 0;
    auto count = [this](size_t from, size_t to) {
        for (size_t i = from; i < to; ++i) {
            folders_.add(rows_[i]);
            totals_.add(rows_[i], seconds_[i]);
        }
    };
    for (const auto& [first, last] : runs) {
        count(next, first);
        next = last + 1;
    }
    count(next, rows_.size());
}

template <typename Remove> qsizetype Catalogue::removeIf(Remove remove, std::vector<SongRecord>* taken)
{
    // The runs of neighbouring rows to remove, first to last.
    std::vector<std::pair<size_t, size_t>> runs;
    size_t going = 0;
    for (size_t i = 0; i < rows_.size(); ++i) {
        if (!remove(i))
            continue;
        ++going;
        if (!runs.empty() && runs.back().second + 1 == i)
            runs.back().second = i;
        else
            runs.emplace_back(i, i);
    }
    if (runs.empty())
        return 0;
    const size_t before = rows_.size();
    // When most rows go, the folder lookup and the totals are counted afresh from
    // the rows that stay, rather than taking each row that goes out of them.
    const bool recount = going > before - going;
    if (recount)
        countAllBut(runs);

    if (runs.size() <= kMaxRemovalRuns) {
        // From the last run up, so the positions of the runs still to come hold;
        // the rows taken keep their order. Whoever is told of a removal may look
        // rows up by identity then, so the positions are right at each telling.
        std::vector<std::vector<SongRecord>> takenRuns(runs.size());
        for (size_t k = runs.size(); k-- > 0;) {
            if (observer_)
                observer_->rowsAboutToBeRemoved(qsizetype(runs[k].first), qsizetype(runs[k].second));
            eraseRange(runs[k].first, runs[k].second, taken ? &takenRuns[k] : nullptr, !recount);
            if (observer_) {
                renumberFrom(runs[k].first);
                observer_->rowsRemoved();
            }
        }
        if (taken) {
            for (std::vector<SongRecord>& run : takenRuns)
                std::move(run.begin(), run.end(), std::back_inserter(*taken));
        }
        if (!observer_)
            renumberFrom(runs.front().first);
        return qsizetype(before - rows_.size());
    }

    if (observer_)
        observer_->rowsAboutToBeReset();
    size_t kept = 0;
    for (size_t i = 0; i < rows_.size(); ++i) {
        if (remove(i)) {
            positions_[size_t(ids_[i] - firstId_)] = kGone;
            if (!recount) {
                folders_.remove(rows_[i]);
                totals_.remove(rows_[i], seconds_[i]);
            }
            if (taken)
                taken->push_back(std::move(rows_[i]));
            continue;
        }
        if (kept != i) {
            rows_[kept] = std::move(rows_[i]);
            checked_[kept] = checked_[i];
            icons_[kept] = icons_[i];
            ids_[kept] = ids_[i];
            seconds_[kept] = seconds_[i];
        }
        ++kept;
    }
    rows_.resize(kept);
    checked_.resize(kept);
    icons_.resize(kept);
    ids_.resize(kept);
    seconds_.resize(kept);
    renumberFrom(runs.front().first);
    if (observer_)
        observer_->rowsReset();
    return qsizetype(before - kept);
}

qsizetype Catalogue::removeFolder(const QString& folder, const QString& cdIdentifier)
{
    return qsizetype(takeFolder(folder, cdIdentifier).size());
}

std::vector<SongRecord> Catalogue::takeFolder(const QString& folder, const QString& cdIdentifier)
{
    std::vector<SongRecord> taken;
    const std::string storedFolder = toStored(folder);
    const std::string storedCd = toStored(cdIdentifier);
    removeIf([&](size_t i) { return inFolder(i, storedFolder, storedCd); }, &taken);
    return taken;
}

qsizetype Catalogue::keepOnlyFolder(const QString& folder, const QString& cdIdentifier)
{
    if (!FolderPresent(folder, cdIdentifier))
        return 0;
    const std::string storedFolder = toStored(folder);
    const std::string storedCd = toStored(cdIdentifier);
    return removeIf([&](size_t i) { return !inFolder(i, storedFolder, storedCd); });
}

void Catalogue::setChecked(qsizetype i, bool checked)
{
    checked_[size_t(i)] = checked;
    changed(i, i, RowChange::Checks);
}

void Catalogue::check(std::span<const qsizetype> rows)
{
    if (rows.empty())
        return;
    for (qsizetype i : rows)
        checked_[size_t(i)] = 1;
    const auto [first, last] = std::minmax_element(rows.begin(), rows.end());
    changed(*first, *last, RowChange::Checks);
}

void Catalogue::checkAll()
{
    std::fill(checked_.begin(), checked_.end(), 1);
    changed(0, size() - 1, RowChange::Checks);
}

void Catalogue::uncheckAll()
{
    std::fill(checked_.begin(), checked_.end(), 0);
    changed(0, size() - 1, RowChange::Checks);
}

void Catalogue::invertChecks()
{
    for (char& c : checked_)
        c = !c;
    changed(0, size() - 1, RowChange::Checks);
}

bool Catalogue::anyChecked() const
{
    return !checked_.empty() && std::memchr(checked_.data(), 1, checked_.size()) != nullptr;
}

qsizetype Catalogue::removeChecked()
{
    return removeIf([&](size_t i) { return checked_[i] != 0; });
}

void Catalogue::sortBy(int column, bool ascending)
{
    const std::vector<qsizetype> order = SortKeys(rows_, column).order(ascending);

    if (observer_)
        observer_->rowsAboutToBeReordered();
    together(
        rows_.size(), [&] { SongRecord::reorder(rows_, order); },
        [&] {
            checked_ = reordered(checked_, order);
            icons_ = reordered(icons_, order);
            ids_ = reordered(ids_, order);
            seconds_ = reordered(seconds_, order);
        });
    renumberFrom(0);
    if (observer_)
        observer_->rowsReordered(order);
}

}  // namespace sonivo
