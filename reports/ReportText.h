#pragma once
// How the reports turn a song's texts into the bytes of each output.

#include <QByteArray>
#include <QString>

namespace sonivo {

// The bytes of a name that are not UTF-8 read as Windows-1252, as old lists are
// read, so that a page or a text list shows "Café" for a file name of Latin-1 bytes.
void showEscapedBytes(QString& text);
// The name less its last four characters (the extension); "" for a shorter name.
QStringView withoutExtension(QStringView name);
// Text for an HTML page in ASCII bytes only: "&", "<" and ">" as entities, every
// character outside printable ASCII as a numeric character reference (a UTF-16
// half without its partner as U+FFFD).
void appendHtmlText(QByteArray& out, QStringView text);

}  // namespace sonivo
