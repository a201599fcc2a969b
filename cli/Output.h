#pragma once
// Writing to standard output and standard error as UTF-8; a file name that is not
// valid UTF-8 goes out as the bytes it has on disk.

#include <QString>

namespace sonivo::cli {

void printLine(const QString& text);
// "sonivo-cli: " and the message, on standard error.
void printError(const QString& message);

}  // namespace sonivo::cli
