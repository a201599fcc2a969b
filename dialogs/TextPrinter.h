#pragma once
// Prints a text on a printer (or into a PDF file) in a fixed-pitch font, line by
// line, wrapping a line wider than the page and going on to a new page when one
// is full.

#include <QString>

class QPrinter;

namespace sonivo {

// The text's lines end with CR LF or LF; false when the printer could not start.
bool printText(QPrinter& printer, const QString& text);

}  // namespace sonivo
