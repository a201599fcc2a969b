#include "analysis/Id3v1Tag.h"
#include "analysis/Genres.h"
#include "tests/support/Mp3Builder.h"

#include <gtest/gtest.h>

using namespace sonivo;
using sonivo::test::id3v1Tag;
using sonivo::test::TagFields;

namespace {

const unsigned char* bytesOf(const QByteArray& b)
{
    return reinterpret_cast<const unsigned char*>(b.constData());
}

}  // namespace

TEST(Genres, ListAndLookups)
{
    ASSERT_EQ(ListaGeneri().size(), 148);
    EXPECT_EQ(ListaGeneri().first(), QStringLiteral("Blues"));
    EXPECT_EQ(GenreLookup(148), QStringLiteral("Unknown"));
    EXPECT_EQ(GenreLookup(255), QStringLiteral("Unknown"));
    EXPECT_EQ(GenreLookup(67), QStringLiteral("Phychedelic"));
    EXPECT_EQ(GenreLookup(QStringLiteral("power Ballad")), 117);
    EXPECT_EQ(GenreLookup(QStringLiteral("Rock & Roll")), 78);
    EXPECT_EQ(GenreLookup(QStringLiteral("rock")), 255) << "names compare case-sensitively";
    EXPECT_EQ(GenreLookup(QStringLiteral("Unknown")), 255);
    EXPECT_EQ(GenreLookup(QString()), 255);
    for (int n = 0; n < 148; ++n)
        EXPECT_EQ(GenreLookup(GenreLookup(n)), n);
}

TEST(Genres, NumbersGivenAsTextAreGenreNumbers)
{
    EXPECT_EQ(genreNumberForWrite(QStringLiteral("17")), 17);
    EXPECT_EQ(genreNumberForWrite(QStringLiteral("0")), 0);
    EXPECT_EQ(genreNumberForWrite(QStringLiteral("255")), 255);
    EXPECT_EQ(genreNumberForWrite(QStringLiteral("200")), 200);
    EXPECT_EQ(genreNumberForWrite(QStringLiteral("Rock")), 17);
    for (const char* notANumber : {"256", "-1", "+5", "1 7", "0x11", "1000", ""})
        EXPECT_FALSE(genreNumberOf(QLatin1String(notANumber))) << notANumber;
}

TEST(Id3v1Tag, ParsesTheBlockUntrimmedUpToANul)
{
    TagFields shape;
    shape.title = "  Song  ";
    shape.artist = "Artist";
    shape.album = "Album";
    shape.year = "1999";
    shape.comment = "Nice";
    shape.genre = 17;
    const QByteArray block = id3v1Tag(shape);
    ASSERT_TRUE(isId3v1Tag(bytesOf(block)));
    const Id3v1Fields f = parseId3v1(bytesOf(block));
    EXPECT_EQ(f.title, QStringLiteral("  Song") + QString(24, QLatin1Char(' ')));
    EXPECT_EQ(f.year, QStringLiteral("1999"));
    EXPECT_EQ(f.genre, QStringLiteral("Rock"));

    shape.pad = '\0';
    const Id3v1Fields nul = parseId3v1(bytesOf(id3v1Tag(shape)));
    EXPECT_EQ(nul.artist, QStringLiteral("Artist"));
    EXPECT_EQ(nul.comment, QStringLiteral("Nice"));
}

TEST(Id3v1Tag, TextIsWindows1252)
{
    TagFields shape;
    shape.title = "Caf\xE9 \x80 \x93x\x94";
    const Id3v1Fields f = parseId3v1(bytesOf(id3v1Tag(shape)));
    EXPECT_EQ(f.title.trimmed(), QString::fromUtf8("Café € “x”"));
    EXPECT_EQ(buildId3v1(f, 0).mid(3, shape.title.size()), shape.title);
}

TEST(Id3v1Tag, BuildsSpacePaddedFieldsAndTheGenreByte)
{
    Id3v1Fields f;
    f.title = QStringLiteral("Song");
    f.artist = QString(40, QLatin1Char('a'));
    f.year = QStringLiteral("2001");
    const QByteArray spaces(30, ' ');
    EXPECT_EQ(buildId3v1(f, 136), "TAG" + QByteArray("Song").leftJustified(30) + QByteArray(30, 'a') + spaces + "2001" + spaces + '\x88');
}

TEST(Id3v1Tag, FieldsAreCutToTheirWidth)
{
    EXPECT_EQ(fitToField(QString(31, QLatin1Char('x')), Id3v1Field::Title).size(), 30);
    EXPECT_EQ(fitToField(QStringLiteral("19999"), Id3v1Field::Year), QStringLiteral("1999"));
    EXPECT_EQ(fitToField(QString::fromUtf8("日本"), Id3v1Field::Album), QStringLiteral("??"));
}
