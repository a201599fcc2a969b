#include "catalogue/SongSearch.h"

#include <gtest/gtest.h>

using namespace sonivo;

namespace {

SongRecord song(const QString& name, const QString& album = {}, const QString& artist = {})
{
    SongRecord r;
    r.setColumn(ColFileName, name);
    r.setColumn(ColFolder, QStringLiteral("/m/"));
    r.setColumn(ColAlbum, album);
    r.setColumn(ColArtist, artist);
    return r;
}

// The file names of the songs found, joined with ",".
QString namesOf(const Catalogue& c, const FileNameSearch& search, const std::vector<quint32>& found)
{
    QStringList out;
    for (const quint32 song : found)
        out << c.row(c.position(search.id(song))).text(ColFileName);
    return out.join(QLatin1Char(','));
}

}  // namespace

TEST(FileNameSearch, FindsAPieceOfTheNameIgnoringCaseInCatalogueOrderAndNamesRowsByIdentity)
{
    Catalogue c;
    for (const char* n : {"Blue Moon.mp3", "yellow.mp3", "BLUES.mp3", "Caf\u00c9.mp3", "other.mp3"})
        c.append(song(QString::fromUtf8(n)));
    FileNameSearch search(c);
    EXPECT_EQ(namesOf(c, search, search.find(QStringLiteral("blue"))), QStringLiteral("Blue Moon.mp3,BLUES.mp3"));
    EXPECT_EQ(namesOf(c, search, search.find(QStringLiteral("BLUES"))), QStringLiteral("BLUES.mp3")) << "narrowed as the text grows";
    EXPECT_EQ(namesOf(c, search, search.find(QStringLiteral("l"))), QStringLiteral("Blue Moon.mp3,yellow.mp3,BLUES.mp3"))
        << "a shorter text searches every name again";
    EXPECT_EQ(namesOf(c, search, search.find(QStringLiteral("caf\u00e9"))), QString::fromUtf8("Caf\u00c9.mp3"));
    EXPECT_EQ(search.find(QStringLiteral(".mp")).size(), 5u) << "the extension is part of the name";
    EXPECT_EQ(search.find(QString()).size(), 5u) << "an empty text shows every song";
    EXPECT_TRUE(search.find(QStringLiteral("zzz")).empty());
    EXPECT_EQ(namesOf(c, search, search.find(QString())), QStringLiteral("Blue Moon.mp3,yellow.mp3,BLUES.mp3,Caf\u00c9.mp3,other.mp3"));
    const std::vector<quint32> found = search.find(QStringLiteral("yel"));
    c.sortBy(ColFileName, true);
    EXPECT_EQ(namesOf(c, search, found), QStringLiteral("yellow.mp3")) << "a sort does not change which row";

    Catalogue empty;
    FileNameSearch none(empty);
    EXPECT_EQ(none.songCount(), 0);
    EXPECT_TRUE(none.find(QString()).empty());
}

TEST(FileNameSearch, AMatchIsWithinOneNameAndLargeCatalogueSearchesFindWhatEachNameHolds)
{
    Catalogue small;
    for (const char* n : {"ab", "", "cd", "İx", "abc"})
        small.append(song(QString::fromUtf8(n)));
    FileNameSearch across(small);
    EXPECT_TRUE(across.find(QStringLiteral("bc")).size() == 1u && across.find(QStringLiteral("bc"))[0] == 4u)
        << "\"ab\" then \"cd\" holds no \"bc\"";
    EXPECT_TRUE(across.find(QStringLiteral("bcd")).empty());
    EXPECT_EQ(across.find(QString::fromUtf8("i\u0307x")).size(), 1u) << "İ lowers to i and a dot above";

    // Enough rows for the work shared with a second thread, against a name by
    // name reference.
    const QStringList pieces = {QStringLiteral("Amo"), QStringLiteral("re"), QStringLiteral("CITTÀ"), QStringLiteral(" "),
        QStringLiteral("ΣΑ"), QStringLiteral("\U00010400"), QStringLiteral("a")};
    quint32 seed = 7;
    Catalogue c;
    QStringList lowered;
    for (int i = 0; i < 50000; ++i) {
        QString name;
        for (int k = 0; k < 4; ++k) {
            seed = seed * 1103515245u + 12345u;
            name += pieces.at(int(seed >> 16) % pieces.size());
            if ((seed >> 20) % 3 == 0)
                break;
        }
        c.append(song(name));
        lowered << name.toLower();
    }
    FileNameSearch search(c);
    for (const char* typed : {"a", "Am", "amore", "ore", "à ", "σα", "\U00010428", "a", "", "zz"}) {
        const QString text = QString::fromUtf8(typed);
        std::vector<quint32> expected;
        for (int i = 0; i < lowered.size(); ++i)
            if (lowered.at(i).contains(text.toLower()))
                expected.push_back(quint32(i));
        EXPECT_EQ(search.find(text), expected) << typed;
    }
}

TEST(Albums, FirstMetOrderExactComparisonAndTheArtistOfTheFirstRow)
{
    Catalogue c;
    c.append(song(QStringLiteral("1.mp3"), QStringLiteral("Blue"), QStringLiteral("First")));
    c.append(song(QStringLiteral("2.mp3"), QString(), QStringLiteral("Nobody")));
    c.append(song(QStringLiteral("3.mp3"), QStringLiteral("blue"), QStringLiteral("Lower")));
    c.append(song(QStringLiteral("4.mp3"), QStringLiteral("Blue"), QStringLiteral("Second")));
    c.append(song(QStringLiteral("5.mp3"), QStringLiteral("Abc"), QString()));
    const std::vector<AlbumEntry> expected = {
        {QStringLiteral("Blue"), QStringLiteral("First")},
        {QStringLiteral("blue"), QStringLiteral("Lower")},
        {QStringLiteral("Abc"), QString()},
    };
    EXPECT_EQ(albumsOf(c), expected);
    EXPECT_TRUE(albumsOf(Catalogue()).empty());
}
