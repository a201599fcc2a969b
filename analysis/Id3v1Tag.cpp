#include "analysis/Id3v1Tag.h"

#include "analysis/Genres.h"
#include "common/Windows1252.h"

#include <cstring>

namespace sonivo {
namespace {

struct Layout {
    int offset;
    int width;
};

constexpr Layout kTitle{3, 30};
constexpr Layout kArtist{33, 30};
constexpr Layout kAlbum{63, 30};
constexpr Layout kYear{93, 4};
constexpr Layout kComment{97, 30};
constexpr int kGenreOffset = 127;

Layout layoutOf(Id3v1Field field)
{
    switch (field) {
    case Id3v1Field::Title: return kTitle;
    case Id3v1Field::Artist: return kArtist;
    case Id3v1Field::Album: return kAlbum;
    case Id3v1Field::Year: return kYear;
    case Id3v1Field::Comment: return kComment;
    }
    return kTitle;
}

// Other taggers pad with NUL bytes; the text ends at the first one.
QString readField(const unsigned char* block, Layout at)
{
    const char* p = reinterpret_cast<const char*>(block + at.offset);
    const void* nul = std::memchr(p, 0, size_t(at.width));
    const qsizetype length = nul ? static_cast<const char*>(nul) - p : at.width;
    return decodeWindows1252(p, length);
}

void writeField(QByteArray& block, Layout at, const QString& text)
{
    const QByteArray bytes = encodeWindows1252(text).left(at.width);
    block.replace(at.offset, int(bytes.size()), bytes);
}

}  // namespace

int fieldWidth(Id3v1Field field)
{
    return layoutOf(field).width;
}

QString fitToField(const QString& text, Id3v1Field field)
{
    const QByteArray bytes = encodeWindows1252(text).left(fieldWidth(field));
    return decodeWindows1252(bytes.constData(), bytes.size());
}

bool isId3v1Tag(const unsigned char* block)
{
    return std::memcmp(block, "TAG", 3) == 0;
}

Id3v1Fields parseId3v1(const unsigned char* block)
{
    Id3v1Fields f;
    f.title = readField(block, kTitle);
    f.artist = readField(block, kArtist);
    f.album = readField(block, kAlbum);
    f.year = readField(block, kYear);
    f.comment = readField(block, kComment);
    f.genre = GenreLookup(int(block[kGenreOffset]));
    return f;
}

QByteArray buildId3v1(const Id3v1Fields& fields, int genreNumber)
{
    QByteArray block(kId3v1Size, ' ');
    block.replace(0, 3, "TAG");
    writeField(block, kTitle, fields.title);
    writeField(block, kArtist, fields.artist);
    writeField(block, kAlbum, fields.album);
    writeField(block, kYear, fields.year);
    writeField(block, kComment, fields.comment);
    block[kGenreOffset] = char(genreNumber);
    return block;
}

}  // namespace sonivo
