#pragma once
// Sorting many rows by the texts of one column compared without regard to letter
// case: each text is case-folded once into one buffer, then the rows are put in
// order by a three-way radix quicksort, which reads the characters that rows
// share at the start of their texts once per row rather than once per comparison.

#include "catalogue/SongRecord.h"

#include <vector>

namespace sonivo {

class SortKeys {
public:
    SortKeys(const std::vector<SongRecord>& rows, int column);
    // The row numbers in order of their folded texts, code unit by code unit as
    // QString compares; rows whose texts are equal keep their order.
    std::vector<qsizetype> order(bool ascending) const;

private:
    struct Entry;
    struct Range;
    quint64 charsAt(quint32 row, size_t depth) const;
    QStringView text(size_t row, size_t depth = 0) const;
    bool less(const Entry& a, const Entry& b, size_t depth) const;
    void sortRange(std::vector<Entry>& entries, std::vector<Range>& ranges, Range range) const;

    std::vector<char16_t> text_;
    std::vector<size_t> starts_;  // row i's text is text_[starts_[i]] to text_[starts_[i + 1]]
};

}  // namespace sonivo
