#include "catalogue/SortKeys.h"

#include <algorithm>
#include <cstring>

namespace sonivo {
namespace {

// Characters are compared six at a time, packed into two numbers of three: each
// is its code unit plus one, so that the end of a text (0) comes before any
// character.
constexpr int kPacked = 3;
constexpr int kCharBits = 17;
constexpr quint64 kLastCharMask = (quint64(1) << kCharBits) - 1;

// Below this many rows a range is put in order by insertion.
constexpr ptrdiff_t kInsertionSort = 16;

// QString::toCaseFolded folds one character at a time, whatever its neighbours,
// except that a lone UTF-16 half may become U+FFFD depending on what comes before
// it: a text holding one is folded by QString itself.
bool holdsLoneHalf(QByteArrayView stored)
{
    for (const char *p = stored.data(), *end = p + stored.size();
         (p = static_cast<const char*>(std::memchr(p, '\xED', size_t(end - p))));) {
        if (end - p >= 3 && storedHalf(p) != 0)
            return true;
        ++p;
    }
    return false;
}

}  // namespace

quint32 SortKeys::Cursor::take()
{
    if (pendingLow)
        return quint32(std::exchange(pendingLow, 0)) + 1;
    if (next == end)
        return 0;
    const uchar b = *next;
    if (b < 0x80) {
        ++next;
        return quint32(b >= 'A' && b <= 'Z' ? b + 32 : b) + 1;
    }
    // The same steps as decoding a stored text (see StoredText.h).
    const ptrdiff_t left = end - next;
    char32_t code = QChar::ReplacementCharacter;
    ptrdiff_t length = 1;
    if (b >= 0xF0 && left >= 4) {
        code = char32_t(b & 0x07) << 18 | char32_t(next[1] & 0x3F) << 12 | char32_t(next[2] & 0x3F) << 6 | (next[3] & 0x3F);
        length = 4;
    } else if (b >= 0xE0 && left >= 3) {
        code = char32_t(b & 0x0F) << 12 | char32_t(next[1] & 0x3F) << 6 | (next[2] & 0x3F);
        length = 3;
    } else if (b >= 0xC0 && left >= 2) {
        code = char32_t(b & 0x1F) << 6 | (next[1] & 0x3F);
        length = 2;
    }
    next += length;
    code = QChar::toCaseFolded(code);
    if (!QChar::requiresSurrogates(code))
        return quint32(code) + 1;
    pendingLow = QChar::lowSurrogate(code);
    return quint32(QChar::highSurrogate(code)) + 1;
}

bool SortKeys::Entry::ended() const
{
    return (second & kLastCharMask) == 0;
}

SortKeys::SortKeys(const std::vector<SongRecord>& rows, int column) : rows_(rows), column_(column) {}

void SortKeys::load(Entry& entry) const
{
    quint64 packed[2] = {0, 0};
    for (int k = 0; k < 2 * kPacked; ++k)
        packed[k / kPacked] = packed[k / kPacked] << kCharBits | entry.rest.take();
    entry.first = packed[0];
    entry.second = packed[1];
}

int SortKeys::compare(const Entry& a, const Entry& b) const
{
    if (a.first != b.first || a.second != b.second)
        return a.before(b) ? -1 : 1;
    if (a.ended())
        return 0;
    Cursor x = a.rest;
    Cursor y = b.rest;
    for (;;) {
        const quint32 u = x.take();
        const quint32 v = y.take();
        if (u != v)
            return u < v ? -1 : 1;
        if (u == 0)
            return 0;
    }
}

void SortKeys::sortRange(Range range)
{
    Entry* first = entries_.data() + range.first;
    Entry* last = entries_.data() + range.last;
    if (last - first < kInsertionSort) {
        for (Entry* i = first + 1; i < last; ++i) {
            const Entry e = *i;
            Entry* j = i;
            for (int c; j > first && ((c = compare(e, j[-1])) < 0 || (c == 0 && e.row < j[-1].row)); --j)
                *j = j[-1];
            *j = e;
        }
        for (Entry* i = first + 1; i < last; ++i)
            sameAsBefore_[size_t(i - entries_.data())] = compare(i[-1], *i) == 0;
        return;
    }
    // Three ways around the median of three: before, the same as, after the pivot.
    const Entry* a = first;
    const Entry* b = first + (last - first) / 2;
    const Entry* c = last - 1;
    if (b->before(*a))
        std::swap(a, b);
    if (c->before(*b))
        b = c->before(*a) ? a : c;
    const Entry pivot = *b;
    Entry* lt = first;
    Entry* gt = last;
    for (Entry* i = first; i < gt;) {
        if (i->before(pivot))
            std::swap(*i++, *lt++);
        else if (pivot.before(*i))
            std::swap(*i, *--gt);
        else
            ++i;
    }
    const auto offset = [&](Entry* p) { return size_t(p - entries_.data()); };
    ranges_.push_back({range.first, offset(lt)});
    ranges_.push_back({offset(gt), range.last});
    if (pivot.ended()) {
        // Their texts ended: all equal, so they keep their order.
        std::sort(lt, gt, [](const Entry& x, const Entry& y) { return x.row < y.row; });
        for (Entry* i = lt + 1; i < gt; ++i)
            sameAsBefore_[offset(i)] = true;
        return;
    }
    for (Entry* i = lt; i < gt; ++i) {
        if (i + 8 < gt)
            __builtin_prefetch(i[8].rest.next);
        load(*i);
    }
    ranges_.push_back({offset(lt), offset(gt)});
}

std::vector<qsizetype> SortKeys::order(bool ascending)
{
    const size_t n = rows_.size();
    entries_.resize(n);
    std::vector<std::pair<size_t, size_t>> foldedByQString;  // row, offset in folded_
    for (size_t i = 0; i < n; ++i) {
        const QByteArrayView stored = rows_[i].stored(column_);
        if (holdsLoneHalf(stored)) {
            foldedByQString.emplace_back(i, folded_.size());
            appendStored(folded_, decodeStored(stored).toCaseFolded());
        }
        const auto* bytes = reinterpret_cast<const uchar*>(stored.data());
        entries_[i].rest = {bytes, bytes + stored.size()};
        entries_[i].row = quint32(i);
    }
    // Folded texts are read in stored form too; folding them again changes nothing.
    for (size_t k = 0; k < foldedByQString.size(); ++k) {
        const auto [row, from] = foldedByQString[k];
        const size_t to = k + 1 < foldedByQString.size() ? foldedByQString[k + 1].second : folded_.size();
        const auto* bytes = reinterpret_cast<const uchar*>(folded_.data());
        entries_[row].rest = {bytes + from, bytes + to};
    }
    for (Entry& e : entries_)
        load(e);
    sameAsBefore_.assign(n, false);
    ranges_ = {{0, n}};
    while (!ranges_.empty()) {
        const Range range = ranges_.back();
        ranges_.pop_back();
        if (range.last - range.first > 1)
            sortRange(range);
    }
    std::vector<qsizetype> order(n);
    for (size_t i = 0; i < n; ++i)
        order[i] = entries_[i].row;
    if (!ascending) {
        // Descending and still stable: equal texts keep their order, so reverse
        // the runs of equal texts back after reversing the whole.
        for (size_t i = 0; i < n;) {
            size_t j = i + 1;
            while (j < n && sameAsBefore_[j])
                ++j;
            std::reverse(order.begin() + qsizetype(i), order.begin() + qsizetype(j));
            i = j;
        }
        std::reverse(order.begin(), order.end());
    }
    return order;
}

}  // namespace sonivo
