#pragma once
// The songs as an M3U playlist: one line per song holding its path byte for byte
// as the file system has it, names that are not UTF-8 included, and ended by
// CR LF; no header and no song information. A path holding a line break, which
// no line can hold, is written as a file: URL.

#include "reports/ReportOutput.h"
#include "reports/ReportSource.h"

namespace sonivo {

bool writePlaylist(const ReportSource& songs, const ReportOutput& output, WorkProgress* progress = nullptr);

}  // namespace sonivo
