#pragma once
// How the reports turn a song's texts into the bytes of each output. They read
// a column in the record's stored form (see StoredText.h): a text without a lone
// UTF-16 half, the common case, is its UTF-8 already and is copied as it stands.

#include <QByteArray>
#include <QString>

namespace sonivo {

// The stored name less its last four characters (the extension); "" for a shorter name.
QByteArrayView withoutExtension(QByteArrayView stored);
// The text in UTF-8; the bytes of a name that are not UTF-8 read as Windows-1252,
// as old lists are read, so that "Café" shows for a file name of Latin-1 bytes.
void appendShownUtf8(QByteArray& out, QByteArrayView stored);
// Each line break in out from `from` on as one blank, CR LF as one: a song's
// text stays on its line. Breaks are CR, LF, vertical tab, form feed, NEL and
// the Unicode line and paragraph separators, where editors and printers break.
void blankLineBreaks(QByteArray& out, qsizetype from);
// The same for an HTML page (see appendHtmlText).
void appendShownHtml(QByteArray& out, QByteArrayView stored);
// The text as the bytes of a path: a name's bytes that are not UTF-8 as they were.
void appendNativeBytes(QByteArray& out, QByteArrayView stored);
// Text for an HTML page in ASCII bytes only: "&", "<" and ">" as entities, every
// character outside printable ASCII as a numeric character reference (a UTF-16
// half without its partner as U+FFFD).
void appendHtmlText(QByteArray& out, QStringView text);

}  // namespace sonivo
