#include "mainwindow/CommandRules.h"

namespace sonivo {

CommandStates applyEnablingRules(const CommandInputs& in, bool showAllWasEnabled)
{
    CommandStates s;
    const bool rows = in.rowCount > 0;
    s.printList = s.htmlList = s.m3uList = rows;
    s.newList = s.saveList = s.saveListAs = rows;
    s.searchSong = s.searchFolder = s.searchAlbum = rows;
    s.newButton = s.saveButton = s.findButton = s.printButton = rows;
    s.showAll = rows && (showAllWasEnabled || (!in.listPathEmpty && in.modified));

    const bool checked = in.checkedCount > 0;
    s.externalPlayerQueue = s.copyFiles = s.deleteSelected = checked;

    s.viewTag = in.songLoaded;
    return s;
}

}  // namespace sonivo
