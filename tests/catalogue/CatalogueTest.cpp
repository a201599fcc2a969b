#include "catalogue/Catalogue.h"

#include <gtest/gtest.h>

using namespace sonivo;

namespace {

SongRecord song(const QString& name, const QString& folder = QStringLiteral("/m/"), const QString& cd = {})
{
    SongRecord r;
    r.setColumn(ColFileName, name);
    r.setColumn(ColFolder, folder);
    r.setColumn(ColCdId, cd);
    return r;
}

// The file names in row order, joined with ",".
QString names(const Catalogue& c)
{
    QStringList out;
    for (const SongRecord& r : c.rows())
        out << r.text(ColFileName);
    return out.join(QLatin1Char(','));
}

}  // namespace

TEST(Catalogue, SortIgnoresCaseComparesTextAndKeepsTiesInOrder)
{
    Catalogue c;
    for (const char* n : {"b", "A", "10", "9", "a", "B"})
        c.append(song(QString::fromLatin1(n)));
    c.sortBy(ColFileName, true);
    EXPECT_EQ(names(c), QStringLiteral("10,9,A,a,b,B")) << "text order, ties stay as they were";
    c.sortBy(ColFileName, false);
    EXPECT_EQ(names(c), QStringLiteral("b,B,A,a,9,10"));
}

TEST(Catalogue, ChecksAndIconsTravelWithTheirRows)
{
    Catalogue c;
    c.append(song(QStringLiteral("c")));
    c.append(song(QStringLiteral("a")));
    c.append(song(QStringLiteral("b")));
    c.setChecked(0, true);
    c.setIcon(0, 7);
    c.sortBy(ColFileName, true);
    ASSERT_EQ(names(c), QStringLiteral("a,b,c"));
    EXPECT_TRUE(c.isChecked(2));
    EXPECT_EQ(c.icon(2), 7u);
    EXPECT_FALSE(c.isChecked(0));
    EXPECT_EQ(c.icon(0), 0u);
}

TEST(Catalogue, CheckAllNoneInvertAndRemoveChecked)
{
    Catalogue c;
    c.uncheckAll();
    c.checkAll();
    EXPECT_EQ(c.checkedCount(), 0) << "an empty catalogue stays empty";
    for (const char* n : {"a", "b", "c", "d"})
        c.append(song(QString::fromLatin1(n)));
    c.checkAll();
    EXPECT_EQ(c.checkedCount(), 4);
    c.setChecked(1, false);
    c.invertChecks();
    EXPECT_EQ(c.checkedCount(), 1);
    EXPECT_TRUE(c.isChecked(1));
    c.invertChecks();
    c.setIcon(3, 5);
    EXPECT_EQ(c.removeChecked(), 3);
    EXPECT_EQ(names(c), QStringLiteral("b"));
    EXPECT_FALSE(c.isChecked(0));
    c.append(song(QStringLiteral("e")));
    EXPECT_FALSE(c.isChecked(1)) << "new rows come unchecked";
    EXPECT_EQ(c.icon(1), 0u);
}

TEST(Catalogue, FolderRemovalKeepsOtherDiscsAndTheStateOfOtherRows)
{
    Catalogue c;
    c.append(song(QStringLiteral("1"), QStringLiteral("/cd/"), QStringLiteral("A/1")));
    c.append(song(QStringLiteral("2"), QStringLiteral("/cd/"), QStringLiteral("B/2")));
    c.append(song(QStringLiteral("3"), QStringLiteral("/cd/"), QStringLiteral("A/1")));
    c.setChecked(1, true);
    EXPECT_TRUE(c.FolderPresent(QStringLiteral("/cd/"), QStringLiteral("B/2")));
    EXPECT_FALSE(c.FolderPresent(QStringLiteral("/cd/"), QString()));
    EXPECT_EQ(c.removeFolder(QStringLiteral("/cd/"), QStringLiteral("A/1")), 2);
    ASSERT_EQ(names(c), QStringLiteral("2"));
    EXPECT_TRUE(c.isChecked(0));
}

TEST(Catalogue, TheFolderLookupFollowsEveryChangeOfTheRows)
{
    auto songIn = [](const char* folder, const char* cd) {
        return song(QString(), QString::fromUtf8(folder), QString::fromUtf8(cd));
    };
    Catalogue c;
    c.append(songIn("/a/", ""));
    c.append(std::vector<SongRecord>{songIn("/b/", ""), songIn("/b/", "Disc/1234"), songIn("/a/", "")});
    EXPECT_TRUE(c.FolderPresent(QStringLiteral("/a/"), QString()));
    EXPECT_TRUE(c.FolderPresent(QStringLiteral("/b/"), QStringLiteral("Disc/1234")));
    EXPECT_FALSE(c.FolderPresent(QStringLiteral("/c/"), QString()));

    c.sortBy(ColFolder, false);
    EXPECT_TRUE(c.FolderPresent(QStringLiteral("/a/"), QString()));
    const std::vector<SongRecord> taken = c.takeFolder(QStringLiteral("/a/"), QString());
    EXPECT_EQ(taken.size(), 2u);
    EXPECT_FALSE(c.FolderPresent(QStringLiteral("/a/"), QString()));
    EXPECT_TRUE(c.FolderPresent(QStringLiteral("/b/"), QString()));

    for (qsizetype i = 0; i < c.size(); ++i)
        c.setChecked(i, c.row(i).column(ColCdId).isEmpty());
    EXPECT_EQ(c.removeChecked(), 1);
    EXPECT_FALSE(c.FolderPresent(QStringLiteral("/b/"), QString()));
    EXPECT_TRUE(c.FolderPresent(QStringLiteral("/b/"), QStringLiteral("Disc/1234")));

    c.row(0).setColumn(ColFolder, QStringLiteral("/d/"));  // a row changed in place
    EXPECT_TRUE(c.FolderPresent(QStringLiteral("/d/"), QStringLiteral("Disc/1234")));
    EXPECT_FALSE(c.FolderPresent(QStringLiteral("/b/"), QStringLiteral("Disc/1234")));
    EXPECT_EQ(c.removeFolder(QStringLiteral("/d/"), QStringLiteral("Disc/1234")), 1);
    EXPECT_FALSE(c.FolderPresent(QStringLiteral("/d/"), QStringLiteral("Disc/1234")));

    c.append(songIn("/e/", ""));
    c.clear();
    EXPECT_FALSE(c.FolderPresent(QStringLiteral("/e/"), QString()));
}
