#pragma once
// Sorting many rows by the texts of one column compared without regard to letter
// case, code unit by code unit as QString compares the case-folded texts. The
// column's different texts are numbered, folded once into one place and only
// they are sorted, by a three-way radix quicksort that reads the characters
// texts share at their start once per text rather than once per comparison; the
// rows then follow their texts' ranks. A large sort shares its work with a
// second thread.

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
    struct Entry {
        quint64 first;  // the next six code units of the text plus one, three by three
        quint64 second;
        const char16_t* rest;  // what comes after them
        quint32 left;          // code units from rest to the text's end
        quint32 text;          // its number among the different texts
        bool before(const Entry& other) const { return first != other.first ? first < other.first : second < other.second; }
        bool ended() const;
        // The next code unit plus one, 0 at the end.
        quint32 take() { return left > 0 ? (--left, quint32(*rest++) + 1) : 0; }
    };
    struct Range {
        size_t first;
        size_t last;  // one past
    };
    static void load(Entry& entry);
    static int compare(const Entry& a, const Entry& b);
    class DistinctTexts;
    void numberTexts(LargeVector<quint32>& textOf, DistinctTexts& distinct) const;
    void foldTexts(const LargeVector<QByteArrayView>& texts);
    void sortRange(Range range, std::vector<Range>& ranges);
    void sortRanges(std::vector<Range>& ranges);
    void sortEntries();

    const std::vector<SongRecord>& rows_;
    int column_;
    // The different texts folded, as UTF-16, each half of them in its own.
    std::u16string folded_[2];
    LargeVector<Entry> entries_;
    // By position: 1 when the folded text equals the one before (bytes, not bits,
    // so that two threads may mark neighbouring positions).
    LargeVector<quint8> sameAsBefore_;
};

}  // namespace sonivo
