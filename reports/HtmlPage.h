#pragma once
// The songs as an HTML 4.0 page: the song count, their total duration, the total
// size of the whole catalogue (also on a page of the queued songs alone), and one
// line holding every name. Every line ends with CR LF and the page holds
// ASCII bytes only, so it reads the same whatever a browser makes of its
// charset line.

#include "reports/ReportOptions.h"
#include "reports/ReportOutput.h"
#include "reports/ReportSource.h"

namespace sonivo {

// Sizes are read, and the size totals grouped, in the locale.
bool writeHtmlPage(
    const ReportSource& songs, ReportOptions options, const QLocale& locale, const ReportOutput& output, WorkProgress* progress = nullptr);

}  // namespace sonivo
