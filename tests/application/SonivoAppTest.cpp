// The program without a window: the queue in step with the checks and the rows,
// the player's tick, and the hand-off to the desktop's player. The fixture songs
// play through the silent output on a clock the test moves.

#include "tests/support/SilentApp.h"
#include "tests/support/SongRows.h"
#include "tests/support/TempFiles.h"

#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

using namespace sonivo;
using namespace sonivo::test;

namespace {

class SonivoAppTest : public SilentApp {
protected:
    std::vector<RowsChange> rowChanges;
    int checkChanges = 0;

    void SetUp() override
    {
        QObject::connect(&app, &SonivoApp::rowsChanged, [this](RowsChange change) { rowChanges.push_back(change); });
        QObject::connect(&app, &SonivoApp::checksChanged, [this] { ++checkChanges; });
    }

    void addSong(const QString& folder, const QString& name) { catalogue.append(toneRow(files.path(folder + name))); }

    std::vector<qsizetype> queueRows() const
    {
        std::vector<qsizetype> rows;
        for (RowId id : app.queuedRows())
            rows.push_back(catalogue.position(id));
        return rows;
    }

    QString playing() const { return QFileInfo(transport.playerFile()).fileName(); }

    // Lets the clock run and the tick see it, until the position shows the second.
    bool ticksTo(qint64 second)
    {
        return eventually([&] {
            app.tick();
            return transport.display().positionSeconds == second;
        });
    }
};

}  // namespace

TEST_F(SonivoAppTest, TheQueueFollowsEveryChangeOfTheChecksAndTheRowsAndEachIsToldOnce)
{
    for (int i = 1; i <= 6; ++i)
        addSong(i <= 3 ? QStringLiteral("a/") : QStringLiteral("b/"), QStringLiteral("%1.mp3").arg(i));
    app.setChecked(4, true);
    app.setChecked(0, true);
    app.setChecked(3, true);
    EXPECT_EQ(queueRows(), (std::vector<qsizetype>{4, 0, 3})) << "in the order they were checked";
    app.setChecked(0, false);
    EXPECT_EQ(queueRows(), (std::vector<qsizetype>{4, 3}));
    EXPECT_EQ(checkChanges, 4);
    app.checkAll();
    EXPECT_EQ(queueRows(), (std::vector<qsizetype>{4, 3, 0, 1, 2, 5})) << "the new ones after, in catalogue order";
    app.invertChecks();
    EXPECT_TRUE(app.queuedRows().empty());
    app.setChecked(5, true);
    app.setChecked(1, true);
    EXPECT_EQ(app.queuedFiles(), QStringList({files.path(QStringLiteral("b/6.mp3")), files.path(QStringLiteral("a/2.mp3"))}));
    EXPECT_EQ(checkChanges, 8);
    EXPECT_TRUE(rowChanges.empty()) << "no row came or went";

    // Narrowed to folder a: its checked row stays queued, the other leaves.
    FolderChoice a;
    a.folder = files.path(QStringLiteral("a/"));
    app.narrowing().keepOnly(a);
    EXPECT_EQ(fileNames(catalogue), QStringLiteral("1.mp3,2.mp3,3.mp3"));
    EXPECT_EQ(queueRows(), std::vector<qsizetype>{1});
    EXPECT_EQ(rowChanges, std::vector<RowsChange>{RowsChange::Replaced});

    app.setChecked(2, true);
    app.deleteChecked();
    EXPECT_EQ(fileNames(catalogue), QStringLiteral("1.mp3"));
    EXPECT_TRUE(app.queuedRows().empty());
    EXPECT_EQ(test::checkedRows(catalogue), 0);
    EXPECT_TRUE(app.document().isModified());
    EXPECT_TRUE(QFile::exists(files.path(QStringLiteral("a/2.mp3")))) << "the files stay on disk";
    EXPECT_EQ(rowChanges.back(), RowsChange::Removed);

    app.setChecked(0, true);
    dialogs.answers = {DesktopDialogs::Answer::No};
    ASSERT_TRUE(app.newList());
    EXPECT_TRUE(app.queuedRows().empty());
    EXPECT_EQ(rowChanges.back(), RowsChange::Emptied);
    EXPECT_EQ(rowChanges.size(), 3u);
}

TEST_F(SonivoAppTest, TheTickPlaysTheQueueOnAndPreviousAndNextWrapRound)
{
    for (const char* name : {"a.mp3", "b.mp3", "c.mp3"})
        addSong(QStringLiteral("s/"), QString::fromLatin1(name));
    for (int row : {0, 1, 2})
        app.setChecked(row, true);
    transport.next();  // nothing selected: the first entry
    EXPECT_EQ(playing(), QStringLiteral("a.mp3"));
    transport.previous();
    EXPECT_EQ(playing(), QStringLiteral("c.mp3"));
    transport.next();
    transport.pause();
    transport.next();
    EXPECT_EQ(playing(), QStringLiteral("b.mp3"));
    EXPECT_EQ(transport.state(), PlayerState::Playing) << "next plays, also from a pause";

    // A double-click while paused plays the entry from its start.
    clock->advanceMs(1500);
    ASSERT_TRUE(ticksTo(1));
    transport.pause();
    transport.selectEntry(1);
    transport.playSelectedEntry();
    app.tick();
    EXPECT_EQ(transport.state(), PlayerState::Playing);
    EXPECT_EQ(transport.display().positionSeconds, 0);

    // Entries removed while the last one plays: it is the only one, and plays again.
    transport.next();
    app.setChecked(0, false);
    app.setChecked(1, false);
    ASSERT_EQ(transport.queue().size(), 1);
    clock->advanceMs(2000);
    ASSERT_TRUE(ticksTo(2));
    clock->advanceMs(1100);
    ASSERT_TRUE(ticksTo(0));
    EXPECT_EQ(playing(), QStringLiteral("c.mp3"));
    EXPECT_EQ(transport.state(), PlayerState::Playing);
}

TEST_F(SonivoAppTest, PauseFollowsTheDeviceAndASuspendKeepsThePause)
{
    addSong(QStringLiteral("s/"), QStringLiteral("a.mp3"));
    transport.pause();
    EXPECT_EQ(transport.state(), PlayerState::Stopped) << "Pausa while stopped changes nothing";
    transport.SuonaBrano(catalogue.id(0));
    clock->advanceMs(1200);
    ASSERT_TRUE(ticksTo(1));
    transport.pause();
    transport.FermaBrano();
    transport.RiprendiBrano();
    EXPECT_EQ(transport.state(), PlayerState::Paused);
    clock->advanceMs(5000);
    app.tick();
    EXPECT_EQ(transport.state(), PlayerState::Paused) << "still paused, not run to its end";
    transport.play();  // Suona while paused resumes
    EXPECT_EQ(transport.state(), PlayerState::Playing);
    EXPECT_TRUE(ticksTo(1)) << "resumed at the suspended second";

    // A suspend never resumed is given up by the next Stop: the song's end is seen again.
    transport.FermaBrano();
    transport.stop();
    transport.play();
    ASSERT_EQ(transport.state(), PlayerState::Playing);
    clock->advanceMs(3100);
    EXPECT_TRUE(eventually([&] {
        app.tick();
        return transport.state() == PlayerState::Stopped;
    }));
}

TEST_F(SonivoAppTest, TheCheckedRowsGoToTheDesktopAsAPrivatePlaylistThatShutdownRemoves)
{
    addSong(QStringLiteral("one/"), QStringLiteral("01 - Intro.mp3"));
    addSong(QStringLiteral("s/"), QStringLiteral("b.mp3"));
    addSong(QStringLiteral("two/"), QStringLiteral("01 - Intro.mp3"));
    for (int row : {2, 0, 1})
        app.setChecked(row, true);
    transport.SuonaBrano(catalogue.id(1));
    app.openQueueExternally();
    EXPECT_EQ(transport.state(), PlayerState::Stopped) << "stopped before the hand-off";
    const QString playlist = app.externalPlayer().playlistPath();
    ASSERT_EQ(dialogs.opened, QStringList{playlist});
    EXPECT_EQ(QString::fromUtf8(TempFiles::read(playlist)),
        files.path(QStringLiteral("one/01 - Intro.mp3\r\n")) + files.path(QStringLiteral("s/b.mp3\r\n"))
            + files.path(QStringLiteral("two/01 - Intro.mp3\r\n")))
        << "every checked row, in catalogue order, each line ended by CR LF";
    const QFileInfo folder(QFileInfo(playlist).path());
    EXPECT_EQ(folder.permissions() & 0x0777, QFile::ReadUser | QFile::WriteUser | QFile::ExeUser) << "the user's alone";
    EXPECT_TRUE(folder.path().startsWith(qEnvironmentVariable("XDG_RUNTIME_DIR")));

    transport.SuonaBrano(catalogue.id(0));
    app.openSongExternally(1);
    EXPECT_EQ(transport.state(), PlayerState::Stopped);
    EXPECT_EQ(dialogs.opened.last(), files.path(QStringLiteral("s/b.mp3")));

    app.shutdown();
    EXPECT_FALSE(QFileInfo::exists(folder.filePath())) << "removed at shutdown";
    EXPECT_EQ(transport.playerFile(), QString()) << "the player and its device are gone";
}
