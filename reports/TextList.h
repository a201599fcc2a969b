#pragma once
// The songs as a text list in UTF-8: the title line "Sonivo - Lista brani", an
// empty line, one line per song (its name, then its duration and size in
// brackets when asked for) and an empty last line, each ended by CR LF. A line
// break inside a name shows as a blank, so that each song is one line.

#include "reports/ReportOptions.h"
#include "reports/ReportOutput.h"
#include "reports/ReportSource.h"

namespace sonivo {

bool writeTextList(const ReportSource& songs, ReportOptions options, const ReportOutput& output, WorkProgress* progress = nullptr);
// The same text, for printing.
QString textList(const ReportSource& songs, ReportOptions options);

}  // namespace sonivo
