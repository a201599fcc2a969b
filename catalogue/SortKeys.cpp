#include "catalogue/SortKeys.h"

namespace sonivo {
namespace {

bool isAscii(QStringView text)
{
    for (QChar c : text) {
        if (c.unicode() >= 0x80)
            return false;
    }
    return true;
}

}  // namespace

SortKeys::SortKeys(const std::vector<SongRecord>& rows, int column)
{
    size_t total = 0;
    for (const SongRecord& r : rows)
        total += size_t(r.column(column).size());
    text_.reserve(total);
    keys_.reserve(rows.size());
    for (const SongRecord& r : rows) {
        const QStringView view = r.column(column);
        const size_t offset = text_.size();
        if (isAscii(view)) {
            // ASCII folds letter by letter; anything else as QString folds it.
            text_.resize(offset + size_t(view.size()));
            char16_t* out = text_.data() + offset;
            for (QChar c : view) {
                const char16_t u = c.unicode();
                *out++ = u >= u'A' && u <= u'Z' ? char16_t(u + 32) : u;
            }
        } else {
            const QString folded = view.toString().toCaseFolded();
            text_.insert(text_.end(), folded.utf16(), folded.utf16() + folded.size());
        }
        const size_t length = text_.size() - offset;
        quint64 prefix = 0;
        for (size_t k = 0; k < 4; ++k)
            prefix = prefix << 16 | (k < length ? text_[offset + k] : 0);
        keys_.push_back({prefix, offset, length});
    }
}

}  // namespace sonivo
