#pragma once
// The songs the edit menu's file commands act on: the queued songs' files and
// the checked rows.

#include "catalogue/Catalogue.h"

#include <QStringList>
#include <vector>

namespace sonivo {

class ListDocument;

// The full paths of the queued rows' files, in queue order; rows that are gone are left out.
QStringList queuedFiles(const Catalogue& catalogue, const std::vector<RowId>& queue);

// "&Elimina files selezionati": the checked rows leave the catalogue in one pass
// (their files stay on disk) and the list is marked modified, also when no row
// was checked. Returns how many rows went.
qsizetype removeCheckedSongs(ListDocument& document);

}  // namespace sonivo
