#pragma once
// The Windows-1252 single-byte code page, in which ID3v1 tags are stored.

#include <QByteArray>
#include <QString>

namespace sonivo {

QString decodeWindows1252(const char* bytes, qsizetype length);
// A character outside the code page becomes one "?".
QByteArray encodeWindows1252(const QString& text);

}  // namespace sonivo
