#include "catalogue/SortKeys.h"

#include "common/TwoHalves.h"
#include "common/Utf8Write.h"

#include <QtEndian>

#include <algorithm>
#include <cstring>

namespace sonivo {
namespace {

// Below this many rows a range is put in order by insertion.
constexpr ptrdiff_t kInsertionSort = 16;

// The most bytes writeUnit writes for one code unit; a stored text never folds
// to more code units than it has bytes.
constexpr size_t kMostBytesAUnit = 4;

// Writes the code unit plus one in UTF-8's form, whose bytes order as the
// numbers they hold do and are never 0, so that a text that ends comes before
// the longer texts it starts.
uchar* writeUnit(uchar* w, quint32 unit)
{
    return writeUtf8(w, char32_t(unit + 1));
}

// Writes the stored text folded as QString::toCaseFolded folds it, unit by unit
// in writeUnit's form: one character at a time, whatever its neighbours, except
// that a lone UTF-16 half may become U+FFFD depending on what comes before it,
// so a text holding one is folded by QString itself. Returns where it ends.
uchar* writeFolded(uchar* w, QByteArrayView stored)
{
    uchar* const start = w;
    const auto* p = reinterpret_cast<const uchar*>(stored.data());
    const auto* end = p + stored.size();
    while (p < end) {
        if (*p < 0x7F) {
            const uchar b = *p++;
            *w++ = uchar((b >= 'A' && b <= 'Z' ? b + 32 : b) + 1);
            continue;
        }
        const char32_t code = takeStoredChar(p, end);
        if (QChar::isSurrogate(code)) {
            w = start;
            for (const QChar unit : decodeStored(stored).toCaseFolded())
                w = writeUnit(w, unit.unicode());
            return w;
        }
        const char32_t folded = QChar::toCaseFolded(code);
        if (QChar::requiresSurrogates(folded)) {
            w = writeUnit(w, QChar::highSurrogate(folded));
            w = writeUnit(w, QChar::lowSurrogate(folded));
        } else {
            w = writeUnit(w, folded);
        }
    }
    return w;
}

}  // namespace

SortKeys::FoldedRoom::~FoldedRoom()
{
    if (start_)
        LargePageAllocator<uchar>().deallocate(start_, bytes_);
}

uchar* SortKeys::FoldedRoom::take(size_t bytes)
{
    start_ = LargePageAllocator<uchar>().allocate(bytes);
    bytes_ = bytes;
    return start_;
}

SortKeys::SortKeys(const std::vector<SongRecord>& rows, int column) : rows_(rows), column_(column) {}

void SortKeys::load(Entry& entry)
{
    // A room ends with sixteen bytes to spare: the bytes after the text are read
    // and masked off.
    quint64 first = qFromBigEndian<quint64>(entry.rest);
    quint64 second = qFromBigEndian<quint64>(entry.rest + 8);
    const quint32 taken = std::min<quint32>(entry.left, 16);
    if (taken < 16) {
        const auto kept = [](quint64 bytes, quint32 n) { return n == 0 ? 0 : n >= 8 ? bytes : bytes & ~quint64(0) << (64 - 8 * n); };
        first = kept(first, taken);
        second = kept(second, taken > 8 ? taken - 8 : 0);
    }
    entry.first = first;
    entry.second = second;
    entry.rest += taken;
    entry.left -= taken;
}

int SortKeys::compare(const Entry& a, const Entry& b)
{
    if (a.first != b.first || a.second != b.second)
        return a.before(b) ? -1 : 1;
    if (a.ended())
        return 0;
    // Bytes compare as numbers, and a text comes before the longer texts it starts.
    if (const int order = std::memcmp(a.rest, b.rest, std::min(a.left, b.left)))
        return order;
    return a.left < b.left ? -1 : a.left > b.left ? 1 : 0;
}

void SortKeys::sortRange(Range range, std::vector<Range>& ranges)
{
    Entry* first = entries_.data() + range.first;
    Entry* last = entries_.data() + range.last;
    if (last - first < kInsertionSort) {
        for (Entry* i = first + 1; i < last; ++i) {
            const Entry e = *i;
            Entry* j = i;
            for (; j > first && compare(e, j[-1]) < 0; --j)
                *j = j[-1];
            *j = e;
        }
        for (Entry* i = first + 1; i < last; ++i)
            sameAsBefore_[size_t(i - entries_.data())] = compare(i[-1], *i) == 0;
        return;
    }
    // Three ways around the median of three: before, the same as, after the
    // pivot. The three are drawn from places the range's bounds scramble, so
    // that no order of the texts (already sorted, or as a partition leaves
    // them) gives the least or the greatest text as the pivot again and again.
    quint64 mix = (quint64(range.first) << 32 ^ range.last) * 0x9E3779B97F4A7C15u;
    const auto drawn = [&] {
        mix ^= mix >> 31;
        mix *= 0xBF58476D1CE4E5B9u;
        mix ^= mix >> 29;
        return first + mix % quint64(last - first);
    };
    const Entry* a = drawn();
    const Entry* b = drawn();
    const Entry* c = drawn();
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
    ranges.push_back({range.first, offset(lt)});
    ranges.push_back({offset(gt), range.last});
    if (pivot.ended()) {
        // Their texts ended: all equal.
        for (Entry* i = lt + 1; i < gt; ++i)
            sameAsBefore_[offset(i)] = true;
        return;
    }
    for (Entry* i = lt; i < gt; ++i) {
        if (i + 8 < gt)
            __builtin_prefetch(i[8].rest);
        load(*i);
    }
    ranges.push_back({offset(lt), offset(gt)});
}

void SortKeys::sortRanges(std::vector<Range>& ranges)
{
    while (!ranges.empty()) {
        const Range range = ranges.back();
        ranges.pop_back();
        if (range.last - range.first > 1)
            sortRange(range, ranges);
    }
}

void SortKeys::sortEntries()
{
    std::vector<Range> ranges{{0, entries_.size()}};
    if (entries_.size() < kTwoHalvesFrom) {
        sortRanges(ranges);
        return;
    }
    // Split until no range holds more than half the texts, then share the
    // ranges out in two even loads, sorted at once: ranges never overlap.
    const auto size = [](const Range& r) { return r.last - r.first; };
    const auto bySize = [&](const Range& a, const Range& b) { return size(a) < size(b); };
    for (;;) {
        const auto biggest = std::max_element(ranges.begin(), ranges.end(), bySize);
        if (biggest == ranges.end() || size(*biggest) <= entries_.size() / 2)
            break;
        const Range range = *biggest;
        ranges.erase(biggest);
        sortRange(range, ranges);
    }
    std::sort(ranges.begin(), ranges.end(), bySize);
    std::vector<Range> mine;
    std::vector<Range> theirs;
    size_t myLoad = 0;
    size_t theirLoad = 0;
    for (auto r = ranges.rbegin(); r != ranges.rend(); ++r) {
        if (myLoad <= theirLoad) {
            mine.push_back(*r);
            myLoad += size(*r);
        } else {
            theirs.push_back(*r);
            theirLoad += size(*r);
        }
    }
    std::thread helper([&] { sortRanges(theirs); });
    sortRanges(mine);
    helper.join();
}

// The different texts of a column, each once: rows mostly share theirs with
// others (the songs of a folder, of an album, of an artist).
class SortKeys::DistinctTexts {
public:
    explicit DistinctTexts(size_t rows)
    {
        size_t capacity = 16;
        while (capacity < 2 * rows)
            capacity *= 2;
        slots_.assign(capacity, {0, 0});
        texts_.reserve(rows);  // memory never written is never taken
    }

    // The number of the text, a new one when it was not seen before.
    quint32 number(QByteArrayView stored, quint32 hash)
    {
        const size_t mask = slots_.size() - 1;
        for (size_t at = hash & mask;; at = (at + 1) & mask) {
            Slot& slot = slots_[at];
            if (slot.numberPlusOne == 0) {
                slot = {hash, quint32(texts_.size() + 1)};
                texts_.push_back(stored);
                return slot.numberPlusOne - 1;
            }
            if (slot.hash == hash && texts_[slot.numberPlusOne - 1] == stored)
                return slot.numberPlusOne - 1;
        }
    }
    void prefetch(quint32 hash) const { __builtin_prefetch(&slots_[hash & (slots_.size() - 1)]); }
    const LargeVector<QByteArrayView>& texts() const { return texts_; }

private:
    struct Slot {
        quint32 hash;
        quint32 numberPlusOne;  // 0 for a free slot
    };
    LargeVector<Slot> slots_;
    LargeVector<QByteArrayView> texts_;
};

void SortKeys::numberTexts(LargeVector<quint32>& textOf, DistinctTexts& distinct) const
{
    // Rows lie scattered in memory: each step asks for what a later one reads,
    // so that the waits for memory overlap.
    constexpr size_t kAhead = 16;
    const size_t n = rows_.size();
    LargeVector<QByteArrayView> stored(n);
    LargeVector<quint32> hashes(n);
    inTwoHalves(n, [&](size_t from, size_t to) {
        for (size_t i = from; i < to; ++i) {
            if (i + kAhead < to)
                rows_[i + kAhead].prefetch();
            stored[i] = rows_[i].stored(column_);
        }
        for (size_t i = from; i < to; ++i) {
            if (i + kAhead < to)
                __builtin_prefetch(stored[i + kAhead].data());
            hashes[i] = quint32(qHash(stored[i]));
        }
    });
    for (size_t i = 0; i < n; ++i) {
        if (i + kAhead < n)
            distinct.prefetch(hashes[i + kAhead]);
        // Neighbouring rows often share their text: the songs of a folder, as scanned.
        textOf[i] = i > 0 && stored[i] == stored[i - 1] ? textOf[i - 1] : distinct.number(stored[i], hashes[i]);
    }
}

void SortKeys::foldTexts(const LargeVector<QByteArrayView>& texts)
{
    entries_.resize(texts.size());
    inTwoHalves(texts.size(), [&](size_t from, size_t to) {
        size_t bytes = 0;
        for (size_t t = from; t < to; ++t)
            bytes += size_t(texts[t].size());
        uchar* w = folded_[from == 0 ? 0 : 1].take(kMostBytesAUnit * bytes + 16);
        for (size_t t = from; t < to; ++t) {
            if (t + 8 < to)
                __builtin_prefetch(texts[t + 8].data());
            uchar* const end = writeFolded(w, texts[t]);
            Entry& entry = entries_[t];
            entry.rest = w;
            entry.left = quint32(end - w);
            entry.text = quint32(t);
            load(entry);
            w = end;
        }
    });
}

std::vector<qsizetype> SortKeys::order(bool ascending)
{
    const size_t n = rows_.size();
    LargeVector<quint32> textOf(n);
    DistinctTexts distinct(n);
    numberTexts(textOf, distinct);
    foldTexts(distinct.texts());
    sameAsBefore_.assign(entries_.size(), 0);
    sortEntries();

    // Each text's rank among the folded texts, then each row's, then the rows by
    // rank: a counting sort, which keeps rows of equal rank in their order either way.
    LargeVector<quint32> rank(entries_.size());
    quint32 ranks = 0;
    for (size_t k = 0; k < entries_.size(); ++k) {
        ranks += k == 0 || !sameAsBefore_[k];
        rank[entries_[k].text] = ascending ? ranks - 1 : quint32(entries_.size()) - ranks;
    }
    LargeVector<quint32>& rowRank = textOf;
    inTwoHalves(n, [&](size_t from, size_t to) {
        for (size_t i = from; i < to; ++i)
            rowRank[i] = rank[textOf[i]];
    });
    LargeVector<quint32> next(entries_.size() + 1, 0);
    for (size_t i = 0; i < n; ++i)
        ++next[rowRank[i] + 1];
    for (size_t r = 1; r < next.size(); ++r)
        next[r] += next[r - 1];
    std::vector<qsizetype> order(n);
    for (size_t i = 0; i < n; ++i)
        order[next[rowRank[i]]++] = qsizetype(i);
    return order;
}

}  // namespace sonivo
