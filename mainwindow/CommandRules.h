#pragma once
// Which commands of the main window can be used, from the state of the catalogue,
// the document and the player. The window applies them every half second.

#include <QtGlobal>

namespace sonivo {

struct CommandInputs {
    qsizetype rowCount = 0;
    bool listPathEmpty = true;
    bool modified = false;
    qint64 checkedCount = 0;
    bool songLoaded = false;  // a song is loaded in the internal player
};

struct CommandStates {
    bool printList = false, htmlList = false, m3uList = false;
    bool newList = false, saveList = false, saveListAs = false;
    bool searchSong = false, searchFolder = false, searchAlbum = false, showAll = false;
    bool externalPlayerQueue = false, copyFiles = false, deleteSelected = false;
    bool viewTag = false;
    bool newButton = false, saveButton = false, findButton = false, printButton = false;
};

// "Show all" goes on once a loaded list has been changed and stays on while rows
// remain, so its last state is an input too.
CommandStates applyEnablingRules(const CommandInputs& in, bool showAllWasEnabled);

}  // namespace sonivo
