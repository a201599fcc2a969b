#pragma once
// Prints a text on a printer (or into a PDF file) in a fixed-pitch font, line by
// line, wrapping a line wider than the page and going on to a new page when one
// is full.

#include "common/DesktopDialogs.h"

class QPrinter;

namespace sonivo {

// The text's lines end with CR LF or LF. The progress, when given, follows the
// lines printed, told once a page. Cancelled there, the job is withdrawn where
// the printer allows it (Cancelled); else it ends with the pages made so far
// (CancelledPartlySent). Failed when the printer could not start or take a page.
DesktopDialogs::PrintOutcome printText(QPrinter& printer, const QString& text, WorkProgress* progress = nullptr);

}  // namespace sonivo
