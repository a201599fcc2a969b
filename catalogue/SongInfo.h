#pragma once
// What the tag editor's information panel shows of a song, from its row.

#include "catalogue/SongRecord.h"

#include <vector>

namespace sonivo {

struct SongInfoLine {
    QString caption;  // "Grandezza:"
    QString value;
};

// The panel's lines, top to bottom.
std::vector<SongInfoLine> songInfo(const SongRecord& row);
// A duration text with its length in whole seconds: "03.45 (225 secondi)".
QString durationWithSeconds(const QString& duration);

}  // namespace sonivo
