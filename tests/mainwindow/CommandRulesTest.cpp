#include "mainwindow/CommandRules.h"
#include "mainwindow/Commands.h"

#include <gtest/gtest.h>

using namespace sonivo;

namespace {

bool enabled(Command command, const CommandInputs& in)
{
    return holds(conditionOf(command), in);
}

}  // namespace

TEST(CommandRules, RowsChecksAndThePlayer)
{
    const CommandInputs empty;
    for (Command c : {Command::SaveList, Command::SaveListAs, Command::NewList, Command::PrintList, Command::HtmlList, Command::M3uList,
             Command::SearchSong, Command::SearchFolder, Command::SearchAlbum, Command::ShowAll, Command::CopyFiles,
             Command::DeleteSelected, Command::OpenQueueExternally, Command::ViewTag, Command::Play, Command::NextSong})
        EXPECT_FALSE(enabled(c, empty)) << int(c);
    for (Command c : {Command::OpenList, Command::AddFolder, Command::AddFolderTree, Command::Exit, Command::About, Command::Options})
        EXPECT_TRUE(enabled(c, empty)) << int(c);

    CommandInputs in;
    in.rowCount = 3;
    for (Command c : {Command::SaveList, Command::SaveListAs, Command::NewList, Command::PrintList, Command::HtmlList, Command::M3uList,
             Command::SearchSong, Command::SearchFolder, Command::SearchAlbum})
        EXPECT_TRUE(enabled(c, in)) << int(c);
    EXPECT_FALSE(enabled(Command::ShowAll, in));
    EXPECT_FALSE(enabled(Command::CopyFiles, in));

    in.anyChecked = true;
    in.songLoaded = true;
    in.queueSize = 1;
    for (Command c : {Command::CopyFiles, Command::DeleteSelected, Command::OpenQueueExternally, Command::ViewTag, Command::Play,
             Command::Pause, Command::Stop})
        EXPECT_TRUE(enabled(c, in)) << int(c);
    EXPECT_FALSE(enabled(Command::NextSong, in)) << "one queued song has no other to move to";
    in.queueSize = 2;
    EXPECT_TRUE(enabled(Command::NextSong, in) && enabled(Command::PreviousSong, in));
    in.songLoaded = false;
    EXPECT_FALSE(enabled(Command::PreviousSong, in));
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

TEST(Commands, ShowAllStaysOnAcrossTicksUntilTheRowsAreGone)
{
    Commands commands(nullptr);
    commands.run(Command::ShowAll, &commands, [] {});
    CommandInputs in;
    in.rowCount = 2;
    in.listPathEmpty = false;
    in.modified = true;
    commands.apply(in);
    in.modified = false;  // saved
    commands.apply(in);
    EXPECT_TRUE(commands.action(Command::ShowAll)->isEnabled());
    in.rowCount = 0;
    commands.apply(in);
    in.rowCount = 2;
    commands.apply(in);
    EXPECT_FALSE(commands.action(Command::ShowAll)->isEnabled());
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
