#pragma once
// Sorting many rows by the texts of one column compared without regard to letter
// case, code unit by code unit as QString compares the case-folded texts. The
// column's different texts are numbered and only they are sorted, by a
// three-way radix quicksort that folds the characters texts share at their
// start once per text, as it reads them from the rows, rather than once per
// comparison, and never folds what follows the characters that tell a text
// from the others; the rows then follow their texts' ranks. A large sort shares
// its work with a second thread.

#include "catalogue/SongRecord.h"
#include "platform/LargePages.h"

#include <deque>
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
        quint64 first;  // the next six folded code units of the text plus one, three by three
        quint64 second;
        const uchar* rest;  // the stored text after them
        quint32 left;       // stored bytes from rest to the text's end, and kLowHalfNext
        quint32 text;       // its number among the different texts
        bool before(const Entry& other) const { return first != other.first ? first < other.first : second < other.second; }
        bool ended() const;
        // The next folded code unit plus one, 0 at the end.
        quint32 take()
        {
            if (left == 0)
                return 0;
            if (*rest >= 0x80)
                return takeFolded();
            --left;
            const uchar b = *rest++;
            return quint32(b >= 'A' && b <= 'Z' ? b + 32 : b) + 1;
        }
        quint32 takeFolded();
    };
    struct Range {
        size_t first;
        size_t last;  // one past
    };
    static void load(Entry& entry);
    static int compare(Entry a, Entry b);
    class DistinctTexts;
    void numberTexts(LargeVector<quint32>& textOf, DistinctTexts& distinct) const;
    void startTexts(const LargeVector<QByteArrayView>& texts);
    void sortRange(Range range, std::vector<Range>& ranges);
    void sortRanges(std::vector<Range>& ranges);
    void sortEntries();

    const std::vector<SongRecord>& rows_;
    int column_;
    // The texts whose folding depends on their neighbours (see startTexts), each
    // folded whole and kept in stored form, each half of them in its own.
    std::deque<std::string> preFolded_[2];
    LargeVector<Entry> entries_;
    // By position: 1 when the folded text equals the one before (bytes, not bits,
    // so that two threads may mark neighbouring positions).
    LargeVector<quint8> sameAsBefore_;
};

}  // namespace sonivo
