#include "player/PlayQueue.h"

#include <gtest/gtest.h>

using namespace sonivo;

namespace {

SongRecord song(const QString& name, const QString& folder = QStringLiteral("/music/"), const QString& duration = QStringLiteral("01.30"))
{
    SongRecord r;
    r.setColumn(ColFileName, name);
    r.setColumn(ColFolder, folder);
    r.setColumn(ColDuration, duration);
    return r;
}

Catalogue rows(int count)
{
    Catalogue c;
    for (int i = 0; i < count; ++i)
        c.append(song(QStringLiteral("song %1.mp3").arg(i)));
    return c;
}

std::vector<qsizetype> positions(const PlayQueue& q, const Catalogue& c)
{
    std::vector<qsizetype> p;
    for (RowId id : q.entries())
        p.push_back(c.position(id));
    return p;
}

}  // namespace

TEST(PlayQueue, KeepsTheOrderInWhichRowsWereChecked)
{
    Catalogue c = rows(8);
    PlayQueue q;
    for (qsizetype row : {6, 1, 4}) {
        c.setChecked(row, true);
        q.sync(c);
    }
    EXPECT_EQ(positions(q, c), (std::vector<qsizetype>{6, 1, 4}));
    c.setChecked(1, false);
    q.sync(c);
    EXPECT_EQ(positions(q, c), (std::vector<qsizetype>{6, 4}));
    // Checked several at once, they come in catalogue order after the others.
    c.setChecked(3, true);
    c.setChecked(0, true);
    q.sync(c);
    EXPECT_EQ(positions(q, c), (std::vector<qsizetype>{6, 4, 0, 3}));
}

TEST(PlayQueue, EntriesFollowTheirRowsThroughSortsAndRemovals)
{
    Catalogue c;
    c.append(song(QStringLiteral("b.mp3")));
    c.append(song(QStringLiteral("a.mp3")));
    c.append(song(QStringLiteral("c.mp3"), QStringLiteral("/other/")));
    PlayQueue q;
    c.setChecked(0, true);
    c.setChecked(2, true);
    q.sync(c);
    const RowId b = c.id(0);
    c.sortBy(ColFileName, false);  // c, b, a
    q.sync(c);
    ASSERT_EQ(q.size(), 2);
    EXPECT_EQ(q.at(0), b);
    EXPECT_EQ(c.row(c.position(q.at(0))).text(ColFileName), QStringLiteral("b.mp3"));
    c.removeFolder(QStringLiteral("/other/"), QString());
    q.sync(c);
    EXPECT_EQ(q.entries(), std::vector<RowId>{b});
    c.clear();
    q.sync(c);
    EXPECT_TRUE(q.isEmpty());
}

TEST(PlayQueue, SongsOfTheSameNameInDifferentFoldersAreTwoEntries)
{
    Catalogue c;
    c.append(song(QStringLiteral("01 - Intro.mp3"), QStringLiteral("/a/")));
    c.append(song(QStringLiteral("01 - Intro.mp3"), QStringLiteral("/b/")));
    c.checkAll();
    PlayQueue q;
    q.sync(c);
    EXPECT_EQ(positions(q, c), (std::vector<qsizetype>{0, 1}));
    c.setChecked(0, false);
    q.sync(c);
    EXPECT_EQ(positions(q, c), (std::vector<qsizetype>{1}));
}

TEST(PlayQueue, NeighboursAndTheFollowingEntryWrapRoundAndAPositionPastTheEndStartsAgain)
{
    Catalogue c = rows(3);
    c.checkAll();
    PlayQueue q;
    EXPECT_EQ(q.neighbour(0, 1), -1);
    q.sync(c);
    EXPECT_EQ(q.neighbour(0, 1), 1);
    EXPECT_EQ(q.neighbour(2, 1), 0);
    EXPECT_EQ(q.neighbour(7, 1), 0) << "the queue shrank under the position";
    EXPECT_EQ(q.neighbour(-1, 1), 0) << "nothing selected";
    EXPECT_EQ(q.neighbour(0, -1), 2);
    EXPECT_EQ(q.neighbour(-1, -1), 2);
    EXPECT_EQ(q.neighbour(2, -1), 1);
    EXPECT_EQ(q.neighbour(9, -1), 2);

    q.setStarted(0);
    EXPECT_EQ(q.following(), 1);
    q.setStarted(2);
    EXPECT_EQ(q.following(), 0) << "after the last entry, the first";
}

TEST(PlayQueue, StatisticsCountTheQueuedRows)
{
    Catalogue c = rows(3);
    PlayQueue q;
    EXPECT_EQ(q.statistics(c), QStringLiteral("Brani in lista: 0 - Durata brani in lista: 00:00:00"));
    c.setChecked(0, true);
    c.setChecked(2, true);
    q.sync(c);
    EXPECT_EQ(q.statistics(c), QStringLiteral("Brani in lista: 2 - Durata brani in lista: 00:03:00"));
    q.removeAt(0);
    EXPECT_EQ(q.statistics(c), QStringLiteral("Brani in lista: 1 - Durata brani in lista: 00:01:30"));
}
