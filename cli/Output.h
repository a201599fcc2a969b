#pragma once
// Writing to standard output and standard error as UTF-8; a file name that is not
// valid UTF-8 goes out as the bytes it has on disk.

#include <QString>

namespace sonivo::cli {

// Standard output is written in large blocks, also to a terminal.
void bufferOutput();
void printLine(const QString& text);
// A line already in the bytes it goes out as.
void printLine(QByteArrayView bytes);
// "sonivo-cli: " and the message, on standard error.
void printError(const QString& message);
// Writes out what is buffered; false, with a message, when standard output failed.
bool flushOutput();

}  // namespace sonivo::cli
