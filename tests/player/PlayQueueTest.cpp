#include "player/PlayQueue.h"

#include <gtest/gtest.h>

using namespace sonivo;

namespace {

// Rows of a minute and a half each.
Catalogue rows(int count)
{
    Catalogue c;
    for (int i = 0; i < count; ++i) {
        SongRecord r;
        r.setColumn(ColFileName, QStringLiteral("song %1.mp3").arg(i));
        r.setColumn(ColFolder, QStringLiteral("/music/"));
        r.setColumn(ColDuration, QStringLiteral("01.30"));
        c.append(r);
    }
    return c;
}

}  // namespace

TEST(PlayQueue, NeighboursAndTheFollowingEntryWrapRoundAndAPositionPastTheEndStartsAgain)
{
    Catalogue c = rows(3);
    c.checkAll();
    PlayQueue q;
    EXPECT_EQ(q.neighbour(0, 1), -1);
    q.sync(c);
    // From, step, the neighbour: past either end the other end, also from a position
    // the queue shrank under or from nothing selected (-1).
    const qsizetype cases[][3] = {{0, 1, 1}, {2, 1, 0}, {7, 1, 0}, {-1, 1, 0}, {0, -1, 2}, {-1, -1, 2}, {2, -1, 1}, {9, -1, 2}};
    for (const auto& [from, step, neighbour] : cases)
        EXPECT_EQ(q.neighbour(from, int(step)), neighbour) << from << " " << step;

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
