#pragma once
// Sorting many rows by the texts of one column compared without regard to letter
// case, code unit by code unit as QString compares the case-folded texts. The
// column's different texts are numbered, folded once into one place, each code
// unit written in a form whose bytes order as the units do, and only they are
// sorted, by a three-way radix quicksort that reads sixteen bytes at a time and
// the bytes texts share at their start once per text rather than once per
// comparison; the rows then follow their texts' ranks. A large sort shares its
// work with a second thread.

#include "catalogue/SongRecord.h"
#include "platform/LargePages.h"

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
        quint64 first;  // the next sixteen bytes of the folded text, 0 after its end
        quint64 second;
        const uchar* rest;  // what comes after them
        quint32 left;       // bytes from rest to the text's end
        quint32 text;       // its number among the different texts
        bool before(const Entry& other) const { return first != other.first ? first < other.first : second < other.second; }
        bool ended() const { return (second & 0xFF) == 0; }
    };
    // Room for the folded texts of half the texts, taken at once: a large room
    // comes from the system, which gives it memory only as far as it is written.
    class FoldedRoom {
    public:
        FoldedRoom() = default;
        FoldedRoom(const FoldedRoom&) = delete;
        FoldedRoom& operator=(const FoldedRoom&) = delete;
        ~FoldedRoom();
        uchar* take(size_t bytes);

    private:
        uchar* start_ = nullptr;
        size_t bytes_ = 0;
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
    FoldedRoom folded_[2];
    LargeVector<Entry> entries_;
    // By position: 1 when the folded text equals the one before (bytes, not bits,
    // so that two threads may mark neighbouring positions).
    LargeVector<quint8> sameAsBefore_;
};

}  // namespace sonivo
