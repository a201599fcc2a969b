#pragma once
// What the report dialog's action button does with the user's choice: asks for
// the file, writes the page, text list or playlist and hands it to the desktop,
// or prints the text list from memory, either with its progress and "Annulla".
// A file that cannot be written, a print that fails and work the user cancelled
// are told in a message box, and then nothing is opened.

#include "catalogue/Catalogue.h"
#include "reports/ReportOptions.h"

#include <QLocale>
#include <span>

namespace sonivo {

class DesktopDialogs;

struct ReportChoice {
    ReportKind kind = ReportKind::TextList;
    bool queueOnly = false;  // only the queue's songs, in queue order
    ReportOptions options;
    bool toPrinter = true;  // the text list printed; else saved to a file
};

// list: the list file the catalogue was read from, which a report never
// replaces ("" for a new list); queue: the play queue's entries, in queue order.
// The file written, then handed to the desktop; "" when none was (printed,
// cancelled or failed, the user told why). The file dialog starts in folder.
QString runReport(const ReportChoice& choice, const Catalogue& catalogue, const QString& list, std::span<const RowId> queue,
    const QString& folder, DesktopDialogs& dialogs, const QLocale& locale = QLocale());

}  // namespace sonivo
