#pragma once
// The texts of one column, case-folded once into one buffer, for sorting many
// rows: each key's first four code units are packed into a number, so that
// most comparisons are one integer comparison and touch no text.

#include "catalogue/SongRecord.h"

#include <vector>

namespace sonivo {

class SortKeys {
public:
    SortKeys(const std::vector<SongRecord>& rows, int column);
    // True when row a's folded text comes before row b's (code unit by code unit,
    // as QString compares).
    bool less(size_t a, size_t b) const
    {
        const Key& x = keys_[a];
        const Key& y = keys_[b];
        if (x.prefix != y.prefix)
            return x.prefix < y.prefix;
        return text(x).compare(text(y), Qt::CaseSensitive) < 0;
    }

private:
    struct Key {
        quint64 prefix;  // the first four code units, the first in the high bits
        size_t offset;
        size_t length;
    };
    QStringView text(const Key& k) const { return QStringView(text_.data() + k.offset, qsizetype(k.length)); }

    std::vector<char16_t> text_;
    std::vector<Key> keys_;
};

}  // namespace sonivo
