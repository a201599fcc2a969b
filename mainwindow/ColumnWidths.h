#pragma once
// The width of a column's widest text, found fast enough for 200,000 rows: the
// longest texts by length are measured, since the widest text is nearly always
// among them, and measuring every cell would take seconds.

#include "catalogue/Catalogue.h"

#include <QFontMetrics>

namespace sonivo {

// The row whose text in the column is the widest of the column's longest texts
// (by character count), or -1 for an empty catalogue.
qsizetype widestRow(const Catalogue& catalogue, int column, const QFontMetrics& metrics, int candidates = 64);

}  // namespace sonivo
