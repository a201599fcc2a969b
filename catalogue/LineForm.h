#pragma once
// A song record as one line: its 22 texts joined with ";". A text holding ";", a
// line break, a NUL, the escape character U+0001 or a byte of a name that is not
// UTF-8 carries it as U+0001 and a letter ("s", "r", "n", "0", "1", or "x" and
// two hex digits), so that every record comes back unchanged; lines without such
// texts are the plain 22 texts.

#include "catalogue/SongRecord.h"

#include <QByteArray>
#include <array>
#include <optional>

namespace sonivo {

// The line in UTF-8, appended to out.
void appendLine(QByteArray& out, const SongRecord& record);
QString toLine(const SongRecord& record);

// Field n of the line becomes column n - 1; missing fields are empty and text
// after the 22nd field is ignored. The line is given in its stored form (valid
// UTF-8 is); the builder's room is reused from line to line. exactly22, when
// given, tells whether the line had 22 fields, no more and no fewer.
SongRecord fromStoredLine(QByteArrayView line, SongRecordBuilder& builder, bool* exactly22 = nullptr);
SongRecord fromLine(QStringView line);

// Where each of the line's fields ends, when the line is a row as it stands:
// valid UTF-8 with exactly 22 fields and no escape or NUL in them, as almost
// every line of a list is. Its record is then SongRecord::fromSeparated(line,
// ends), the same as fromStoredLine gives, found in one pass over the line.
std::optional<std::array<qsizetype, kColumnCount>> plainFieldEnds(QByteArrayView line);

}  // namespace sonivo
