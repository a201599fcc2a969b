#pragma once
// Sorting many rows by the texts of one column compared without regard to letter
// case, code unit by code unit as QString compares the case-folded texts. The
// column's different texts are numbered and only they are sorted, by a three-way
// radix quicksort that reads the characters texts share at their start once per
// text rather than once per comparison, folding them as it reads them from the
// rows; the rows then follow their texts' ranks. A large sort shares its work
// with a second thread.

#include "catalogue/SongRecord.h"
#include "platform/LargePages.h"

#include <string>
#include <vector>

namespace sonivo {

class SortKeys {
public:
    SortKeys(const std::vector<SongRecord>& rows, int column);
    // The row numbers in order of their folded texts; rows whose texts are equal
    // keep their order.
    std::vector<qsizetype> order(bool ascending);

private:
    // Reads a stored text as folded UTF-16 code units, one at a time.
    struct Cursor {
        const uchar* next;
        const uchar* end;
        char16_t pendingLow = 0;  // the second half of a character read half way
        // The next code unit plus one, 0 at the end.
        quint32 take();
    };
    struct Entry {
        quint64 first;  // the next six code units of the row's text, three by three
        quint64 second;
        Cursor rest;   // what comes after them
        quint32 text;  // its number among the different texts
        bool before(const Entry& other) const { return first != other.first ? first < other.first : second < other.second; }
        bool ended() const;
    };
    struct Range {
        size_t first;
        size_t last;  // one past
    };
    void load(Entry& entry) const;
    int compare(const Entry& a, const Entry& b) const;
    class DistinctTexts;
    template <typename Step> static void inTwoHalves(size_t n, Step step);
    void numberTexts(LargeVector<quint32>& textOf, DistinctTexts& distinct) const;
    void makeEntries(const LargeVector<QByteArrayView>& texts);
    void sortRange(Range range, std::vector<Range>& ranges);
    void sortRanges(std::vector<Range>& ranges);
    void sortEntries();

    const std::vector<SongRecord>& rows_;
    int column_;
    // The texts holding a lone UTF-16 half, folded by QString (see SortKeys.cpp).
    std::string folded_;
    LargeVector<Entry> entries_;
    // By position: 1 when the folded text equals the one before (bytes, not bits,
    // so that two threads may mark neighbouring positions).
    LargeVector<quint8> sameAsBefore_;
};

}  // namespace sonivo
