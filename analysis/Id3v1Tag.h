#pragma once
// The ID3v1 tag: the last 128 bytes of a file when they begin with "TAG". Text is
// Windows-1252; the program pads fields with spaces when it writes them.

#include <QByteArray>
#include <QString>

namespace sonivo {

constexpr qint64 kId3v1Size = 128;

struct Id3v1Fields {
    QString title;
    QString artist;
    QString album;
    QString year;
    QString comment;
    QString genre;  // a genre name, not the number
};

enum class Id3v1Field { Title, Artist, Album, Year, Comment };

// Width in bytes of a field in the tag.
int fieldWidth(Id3v1Field field);
// The text as the tag can hold it: cut to the field's width, a character outside
// Windows-1252 replaced by "?".
QString fitToField(const QString& text, Id3v1Field field);

bool isId3v1Tag(const unsigned char* block);
// The fields of a 128-byte tag block, untrimmed; a field ends at its first NUL byte.
Id3v1Fields parseId3v1(const unsigned char* block);
// The 128 bytes of a tag holding the text fields and the genre number (the
// genre text itself is not read).
QByteArray buildId3v1(const Id3v1Fields& fields, int genreNumber);

}  // namespace sonivo
