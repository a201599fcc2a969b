#pragma once
// When each command of the main window can be used, from the state of the
// catalogue, the document and the player: one table of commands and the
// condition that enables them. The window applies it at every tick and after
// each change of the rows, the checks or the player.

#include "mainwindow/Command.h"

#include <QtGlobal>

namespace sonivo {

struct CommandInputs {
    qsizetype rowCount = 0;
    bool listPathEmpty = true;
    bool modified = false;
    bool anyChecked = false;
    bool songLoaded = false;  // a song is loaded in the internal player
    qsizetype queueSize = 0;
    // "&Mostra tutti" goes on once a loaded list has been changed and stays on
    // while rows remain, so its last state is an input too.
    bool showAllWasEnabled = false;
};

enum class Condition {
    Always,      // whenever the command can run
    Rows,        // the catalogue has rows
    ShowAll,     // rows, and a loaded list was changed (see showAllWasEnabled)
    Checks,      // at least one row is checked
    SongLoaded,  // a song is loaded in the internal player
    QueueSkip,   // a song is loaded and the queue has another to move to
    RowClick,    // set by the row click, not by the rules
};

// The condition of a command.
Condition conditionOf(Command command);
// Whether a condition holds; RowClick never changes here and reads as false.
bool holds(Condition condition, const CommandInputs& in);

}  // namespace sonivo
