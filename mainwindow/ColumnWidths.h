#pragma once
// The width of each column's widest text, found fast enough for a million rows:
// the longest texts by length are measured, since the widest text is nearly
// always among them, and measuring every cell would take seconds.

#include "catalogue/Catalogue.h"

#include <QFontMetrics>

#include <array>

namespace sonivo {

// For each column, the row whose text is the widest of the column's longest texts
// (by stored length), or -1 for an empty catalogue. One pass over the rows.
std::array<qsizetype, kColumnCount> widestRows(const Catalogue& catalogue, const QFontMetrics& metrics, int candidates = 64);

}  // namespace sonivo
