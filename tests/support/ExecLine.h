#pragma once
// What a desktop would run for a desktop entry's Exec line, read as the Desktop
// Entry rules say, independently of the code that writes it: the program and
// its arguments, with %f standing for the file opened.

#include <QStringList>

namespace sonivo::test {

// The Exec value of a desktop entry file, its string escapes still in it; "" when none.
QString execValue(const QString& desktopFile);
// The command for opening the file: program first; empty when the line is malformed.
QStringList execCommand(const QString& execValue, const QString& file);

}  // namespace sonivo::test
