#pragma once
// A report written into a file: the bytes go to a new file beside it, which takes
// the old one's place only once all of them are on disk (see ReplacingFile), so a
// failed write never leaves a partly written report in place of a good file.

#include "reports/ReportOptions.h"
#include "reports/ReportOutput.h"
#include "reports/ReportSource.h"

#include <QLocale>

namespace sonivo {

struct ReportResult {
    bool ok = true;
    bool cancelled = false;  // by the user, through the progress: no error to tell
    QString error;  // what went wrong, in the user's words
};

// The page, the text list or the playlist of the songs. list is the
// list file the songs were read from ("" for none): a file that is the list,
// under whatever name or mount, is refused and kept as it is. The progress,
// when given, follows the songs written; cancelled there, the report is not
// written and a file it would have replaced stays as it was.
ReportResult saveReport(const QString& file, ReportKind kind, const ReportSource& songs, ReportOptions options, const QLocale& locale,
    const QString& list = QString(), WorkProgress* progress = nullptr);
}  // namespace sonivo
