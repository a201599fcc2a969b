#include "shell/SelectedFiles.h"
#include "catalogue/ListDocument.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/SongRows.h"

#include <gtest/gtest.h>

using namespace sonivo;
using namespace sonivo::test;

namespace {

class SelectedFilesTest : public testing::Test {
protected:
    void SetUp() override
    {
        for (const char* name : {"a.mp3", "b.mp3", "c.mp3", "d.mp3"})
            doc.catalogue().append(songIn(QString::fromLatin1(name), QStringLiteral("/music/")));
    }

    ScriptedDialogs dialogs;
    DriveInfo drives{systemMountTable()};
    ListDocument doc{dialogs, drives};
};

TEST_F(SelectedFilesTest, QueuedFilesFollowTheQueueNotTheRows)
{
    Catalogue& c = doc.catalogue();
    const std::vector<RowId> queue = {c.id(3), c.id(0), c.id(2)};
    c.sortBy(ColFileName, false);
    EXPECT_EQ(queuedFiles(c, queue), QStringList({QStringLiteral("/music/d.mp3"), QStringLiteral("/music/a.mp3"), QStringLiteral("/music/c.mp3")}));
    c.setChecked(c.position(queue[1]), true);
    c.removeChecked();
    EXPECT_EQ(queuedFiles(c, queue), QStringList({QStringLiteral("/music/d.mp3"), QStringLiteral("/music/c.mp3")})) << "a row gone is left out";
}

TEST_F(SelectedFilesTest, RemovingTakesTheCheckedRowsKeepsTheOthersInOrderAndAlwaysMarksTheListModified)
{
    Catalogue& c = doc.catalogue();
    EXPECT_EQ(removeCheckedSongs(doc), 0);
    EXPECT_TRUE(doc.isModified()) << "even with nothing checked";
    c.setChecked(1, true);
    c.setChecked(3, true);
    EXPECT_EQ(removeCheckedSongs(doc), 2);
    EXPECT_EQ(fileNames(c), QStringLiteral("a.mp3,c.mp3"));
    EXPECT_EQ(checkedRows(c), 0);
}

}  // namespace
