#include "catalogue/NameOrder.h"

#include <algorithm>

namespace sonivo {
namespace {

// The C locale has no collation of its own (Qt would compare code units there):
// it gets the language-neutral rules, which English uses.
QLocale collationLocale()
{
    const QLocale user;
    return user.language() == QLocale::C ? QLocale(QLocale::English) : user;
}

}  // namespace

NameOrder::NameOrder() : collator_(collationLocale())
{
    collator_.setCaseSensitivity(Qt::CaseInsensitive);
    collator_.setNumericMode(true);
}

void NameOrder::sort(std::vector<DirEntry>& entries) const
{
    // The rules give each name a key whose bytes compare as the names do: one
    // look at each name instead of one at two names for every comparison.
    struct Keyed {
        QCollatorSortKey key;
        DirEntry entry;
    };
    std::vector<Keyed> keyed;
    keyed.reserve(entries.size());
    for (DirEntry& e : entries)
        keyed.push_back({collator_.sortKey(e.name), std::move(e)});
    std::sort(keyed.begin(), keyed.end(), [](const Keyed& a, const Keyed& b) {
        // Names the rules hold equal ("a" and "A", composed and decomposed
        // accents) still come in one fixed order.
        const int order = a.key.compare(b.key);
        return order != 0 ? order < 0 : a.entry.name < b.entry.name;
    });
    for (size_t i = 0; i < entries.size(); ++i)
        entries[i] = std::move(keyed[i].entry);
}

}  // namespace sonivo
