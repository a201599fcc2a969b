#include "mainwindow/CommandRules.h"
#include "mainwindow/Commands.h"
#include "tests/mainwindow/WindowTest.h"
#include "tests/support/SongRows.h"

#include <QAction>

#include <gtest/gtest.h>

using namespace sonivo;
using namespace sonivo::test;

namespace {

using CommandsInTheWindow = WindowTest;

bool enabled(Command command, const CommandInputs& in)
{
    return holds(conditionOf(command), in);
}

}  // namespace

TEST_F(CommandsInTheWindow, ListCommandsWaitForRowsAndFileCommandsForCheckedRows)
{
    Form1 w(services());
    w.start(QString());
    const char* const needRows[] = {"newList", "saveList", "saveListAs", "searchSong", "searchFolder", "searchAlbum", "printList",
        "htmlList", "m3uList"};
    const char* const needChecks[] = {"copyFiles", "deleteSelected", "openQueueExternally"};
    const auto enabled = [&w](const char* name) { return w.action(QLatin1String(name))->isEnabled(); };

    for (const char* name : {"openList", "addFolder", "addFolderTree", "exit", "about", "options"})
        EXPECT_TRUE(enabled(name)) << name;
    for (const char* name : needRows)
        EXPECT_FALSE(enabled(name)) << name << " with no rows";
    for (const char* name : needChecks)
        EXPECT_FALSE(enabled(name)) << name << " with no rows";

    w.document().catalogue().append({songIn(QStringLiteral("a.mp3"), QStringLiteral("/m/")), songIn(QStringLiteral("b.mp3"), QStringLiteral("/m/"))});
    w.applyEnablingRules();
    for (const char* name : needRows)
        EXPECT_TRUE(enabled(name)) << name << " with rows";
    for (const char* name : needChecks)
        EXPECT_FALSE(enabled(name)) << name << " with no row checked";
    EXPECT_FALSE(enabled("showAll")) << "a new list has nothing to show again";

    w.action(QStringLiteral("checkAll"))->trigger();
    for (const char* name : needChecks)
        EXPECT_TRUE(enabled(name)) << name << " with rows checked";
    w.action(QStringLiteral("uncheckAll"))->trigger();
    EXPECT_FALSE(enabled("copyFiles"));
}

TEST(CommandRules, ShowAllComesOnWithChangesToALoadedListAndStaysWhileRowsRemain)
{
    CommandInputs in;
    in.rowCount = 5;
    in.modified = true;
    EXPECT_FALSE(enabled(Command::ShowAll, in)) << "a new list has nothing to show again";
    in.listPathEmpty = false;
    EXPECT_TRUE(enabled(Command::ShowAll, in));
    in.modified = false;
    in.showAllWasEnabled = true;
    EXPECT_TRUE(enabled(Command::ShowAll, in)) << "not disabled again while rows remain";
    in.showAllWasEnabled = false;
    EXPECT_FALSE(enabled(Command::ShowAll, in));
    in.rowCount = 0;
    in.showAllWasEnabled = true;
    EXPECT_FALSE(enabled(Command::ShowAll, in));
}

TEST(CommandRules, TheQueueSkipsNeedALoadedSongAndAnotherEntryToMoveTo)
{
    CommandInputs in;
    in.songLoaded = true;
    in.queueSize = 1;
    EXPECT_FALSE(enabled(Command::NextSong, in)) << "a queue of one has no other entry";
    EXPECT_FALSE(enabled(Command::PreviousSong, in));
    in.queueSize = 2;
    EXPECT_TRUE(enabled(Command::NextSong, in));
    EXPECT_TRUE(enabled(Command::PreviousSong, in));
    in.songLoaded = false;
    EXPECT_FALSE(enabled(Command::NextSong, in));
}

TEST(Commands, ACommandWithNothingToRunStaysDisabledWhateverItsRule)
{
    Commands commands(nullptr);
    CommandInputs in;
    in.rowCount = 4;
    commands.apply(in);
    EXPECT_FALSE(commands.action(Command::PrintList)->isEnabled());
    EXPECT_FALSE(commands.action(Command::About)->isEnabled());

    int printed = 0;
    commands.run(Command::PrintList, &commands, [&printed] { ++printed; });
    commands.run(Command::About, &commands, [] {});
    EXPECT_TRUE(commands.action(Command::About)->isEnabled()) << "always enabled once it runs something";
    commands.apply(in);
    EXPECT_TRUE(commands.action(Command::PrintList)->isEnabled());
    commands.action(Command::PrintList)->trigger();
    EXPECT_EQ(printed, 1);
    in.rowCount = 0;
    commands.apply(in);
    EXPECT_FALSE(commands.action(Command::PrintList)->isEnabled());
}

TEST(Commands, TheRowClickAloneEnablesOpenSongExternally)
{
    Commands commands(nullptr);
    commands.run(Command::OpenSongExternally, &commands, [] {});
    QAction* open = commands.action(Command::OpenSongExternally);
    EXPECT_FALSE(open->isEnabled());
    open->setEnabled(true);  // the click on a selected row
    commands.apply(CommandInputs{});
    EXPECT_TRUE(open->isEnabled());
}
