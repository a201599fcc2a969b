#include "mainwindow/CommandRules.h"

#include <gtest/gtest.h>

using namespace sonivo;

TEST(CommandRules, RowsChecksAndThePlayer)
{
    CommandInputs empty;
    CommandStates s = applyEnablingRules(empty, true);
    EXPECT_FALSE(s.saveList || s.saveListAs || s.newList || s.printList || s.htmlList || s.m3uList);
    EXPECT_FALSE(s.searchSong || s.searchFolder || s.searchAlbum || s.showAll);
    EXPECT_FALSE(s.newButton || s.saveButton || s.findButton || s.printButton);
    EXPECT_FALSE(s.copyFiles || s.deleteSelected || s.externalPlayerQueue || s.viewTag);

    CommandInputs in;
    in.rowCount = 3;
    s = applyEnablingRules(in, false);
    EXPECT_TRUE(s.saveList && s.saveListAs && s.newList && s.printList && s.htmlList && s.m3uList);
    EXPECT_TRUE(s.searchSong && s.searchFolder && s.searchAlbum);
    EXPECT_TRUE(s.newButton && s.saveButton && s.findButton && s.printButton);
    EXPECT_FALSE(s.showAll);
    EXPECT_FALSE(s.copyFiles);

    in.checkedCount = 1;
    in.songLoaded = true;
    s = applyEnablingRules(in, false);
    EXPECT_TRUE(s.copyFiles && s.deleteSelected && s.externalPlayerQueue);
    EXPECT_TRUE(s.viewTag);
}

TEST(CommandRules, ShowAllComesOnWithChangesToALoadedListAndStaysWhileRowsRemain)
{
    CommandInputs in;
    in.rowCount = 5;
    in.modified = true;
    EXPECT_FALSE(applyEnablingRules(in, false).showAll) << "a new list has nothing to show again";
    in.listPathEmpty = false;
    EXPECT_TRUE(applyEnablingRules(in, false).showAll);
    in.modified = false;
    EXPECT_TRUE(applyEnablingRules(in, true).showAll) << "not disabled again while rows remain";
    EXPECT_FALSE(applyEnablingRules(in, false).showAll);
    in.rowCount = 0;
    EXPECT_FALSE(applyEnablingRules(in, true).showAll);
}
