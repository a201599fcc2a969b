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

bool NameOrder::before(const QString& a, const QString& b) const
{
    // Names the rules hold equal ("a" and "A", composed and decomposed accents)
    // still come in one fixed order.
    const int order = collator_.compare(a, b);
    return order != 0 ? order < 0 : a < b;
}

void NameOrder::sort(std::vector<DirEntry>& entries) const
{
    std::sort(entries.begin(), entries.end(), [this](const DirEntry& a, const DirEntry& b) { return before(a.name, b.name); });
}

}  // namespace sonivo
