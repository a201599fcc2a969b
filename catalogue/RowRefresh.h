#pragma once
// A row made again from its song's file after the program changed the file (its
// tag, its name), so that the row shows what the file now holds.

#include "catalogue/Catalogue.h"

namespace sonivo {

// Reads the file at path (the song's file, perhaps under a new name) and puts its
// record in place of the row, which keeps its identity, check mark and CD
// identifier. False, with nothing changed, when the row is gone or the file
// cannot be read.
bool refreshRow(Catalogue& catalogue, RowId row, const QString& path);

}  // namespace sonivo
