#include "catalogue/SortKeys.h"

#include <algorithm>

namespace sonivo {
namespace {

// Characters are compared three at a time, packed into one number: each is its
// code unit plus one, so that the end of a text (0) comes before any character.
constexpr size_t kPacked = 3;
constexpr int kCharBits = 17;
constexpr quint64 kLastCharMask = (quint64(1) << kCharBits) - 1;

// Below this many rows a range is put in order by insertion.
constexpr ptrdiff_t kInsertionSort = 16;

}  // namespace

struct SortKeys::Entry {
    quint64 chars;  // the row's characters at the range's depth
    quint32 row;
};

struct SortKeys::Range {
    size_t first;
    size_t last;   // one past
    size_t depth;  // the characters before it are the same in every row of the range
};

SortKeys::SortKeys(const std::vector<SongRecord>& rows, int column)
{
    size_t total = 0;
    for (const SongRecord& r : rows)
        total += size_t(r.stored(column).size());
    text_.reserve(total);  // a text has no more code units than stored bytes
    starts_.reserve(rows.size() + 1);
    QString scratch;
    for (const SongRecord& r : rows) {
        starts_.push_back(text_.size());
        const QByteArrayView stored = r.stored(column);
        if (std::all_of(stored.begin(), stored.end(), [](char c) { return uchar(c) < 0x80; })) {
            // ASCII folds letter by letter; anything else as QString folds it.
            for (const char c : stored)
                text_.push_back(char16_t(c >= 'A' && c <= 'Z' ? c + 32 : c));
        } else {
            r.copyText(column, scratch);
            scratch = std::move(scratch).toCaseFolded();
            text_.insert(text_.end(), scratch.utf16(), scratch.utf16() + scratch.size());
        }
    }
    starts_.push_back(text_.size());
}

quint64 SortKeys::charsAt(quint32 row, size_t depth) const
{
    const size_t start = starts_[row] + depth;
    const size_t end = starts_[row + 1];
    quint64 chars = 0;
    for (size_t k = 0; k < kPacked; ++k)
        chars = chars << kCharBits | (start + k < end ? quint64(text_[start + k]) + 1 : 0);
    return chars;
}

QStringView SortKeys::text(size_t row, size_t depth) const
{
    const size_t start = std::min(starts_[row] + depth, starts_[row + 1]);
    return QStringView(text_.data() + start, qsizetype(starts_[row + 1] - start));
}

bool SortKeys::less(const Entry& a, const Entry& b, size_t depth) const
{
    if (a.chars != b.chars)
        return a.chars < b.chars;
    const int c = text(a.row, depth).compare(text(b.row, depth), Qt::CaseSensitive);
    return c != 0 ? c < 0 : a.row < b.row;
}

void SortKeys::sortRange(std::vector<Entry>& entries, std::vector<Range>& ranges, Range range) const
{
    Entry* first = entries.data() + range.first;
    Entry* last = entries.data() + range.last;
    if (last - first < kInsertionSort) {
        for (Entry* i = first + 1; i < last; ++i) {
            const Entry e = *i;
            Entry* j = i;
            for (; j > first && less(e, j[-1], range.depth); --j)
                *j = j[-1];
            *j = e;
        }
        return;
    }
    // Three ways around the median of three: before, the same as, after the pivot.
    const quint64 a = first->chars, b = first[(last - first) / 2].chars, c = last[-1].chars;
    const quint64 pivot = std::max(std::min(a, b), std::min(std::max(a, b), c));
    Entry* lt = first;
    Entry* gt = last;
    for (Entry* i = first; i < gt;) {
        if (i->chars < pivot)
            std::swap(*i++, *lt++);
        else if (i->chars > pivot)
            std::swap(*i, *--gt);
        else
            ++i;
    }
    const auto offset = [&](Entry* p) { return size_t(p - entries.data()); };
    ranges.push_back({range.first, offset(lt), range.depth});
    ranges.push_back({offset(gt), range.last, range.depth});
    if ((pivot & kLastCharMask) == 0) {
        // Their texts ended: all equal, so they keep their order.
        std::sort(lt, gt, [](const Entry& x, const Entry& y) { return x.row < y.row; });
        return;
    }
    const size_t depth = range.depth + kPacked;
    for (Entry* i = lt; i < gt; ++i)
        i->chars = charsAt(i->row, depth);
    ranges.push_back({offset(lt), offset(gt), depth});
}

std::vector<qsizetype> SortKeys::order(bool ascending) const
{
    const size_t n = starts_.size() - 1;
    std::vector<Entry> entries(n);
    for (size_t i = 0; i < n; ++i)
        entries[i] = {charsAt(quint32(i), 0), quint32(i)};
    std::vector<Range> ranges{{0, n, 0}};
    while (!ranges.empty()) {
        const Range range = ranges.back();
        ranges.pop_back();
        if (range.last - range.first > 1)
            sortRange(entries, ranges, range);
    }
    std::vector<qsizetype> order(n);
    for (size_t i = 0; i < n; ++i)
        order[i] = entries[i].row;
    if (!ascending) {
        // Descending and still stable: equal texts keep their order, so reverse
        // the runs of equal texts back after reversing the whole.
        std::reverse(order.begin(), order.end());
        for (size_t i = 0; i < n;) {
            size_t j = i + 1;
            while (j < n && text(size_t(order[i])) == text(size_t(order[j])))
                ++j;
            std::reverse(order.begin() + qsizetype(i), order.begin() + qsizetype(j));
            i = j;
        }
    }
    return order;
}

}  // namespace sonivo
