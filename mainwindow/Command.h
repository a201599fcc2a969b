#pragma once
// The main window's commands by name. Each one is a single QAction (Commands),
// shown by the menus, the toolbar and the right-button menus, and enabled by the
// rules of CommandRules.

namespace sonivo {

enum class Command {
    // "&File"
    NewList,
    OpenList,
    SaveList,
    SaveListAs,
    AddFolder,
    AddFolderTree,
    Exit,
    // "&Modifica", also the catalogue's right-button menu
    ViewTag,
    ListMode,
    ReportMode,
    SortAscending,
    SortDescending,
    CopyFiles,
    DeleteSelected,
    // "&Ricerca"
    SearchSong,
    SearchFolder,
    SearchAlbum,
    ShowAll,
    // "&Opzioni"
    ShowGrid,
    TrackSelection,
    FlatHeader,
    BoldHeader,
    CheckAll,
    UncheckAll,
    InvertChecks,
    // "&Player"
    Play,
    Pause,
    Stop,
    PreviousSong,
    NextSong,
    OpenSongExternally,
    OpenQueueExternally,
    // "&Report"
    PrintList,
    HtmlList,
    M3uList,
    // "&Guida"
    Help,
    HelpSearch,
    Website,
    About,
    // The toolbar's "Opzioni": the options dialog.
    Options,
    // The play queue's right-button menu.
    RemoveQueueEntry,
    RemoveAllQueueEntries,
};

inline constexpr int kCommandCount = int(Command::RemoveAllQueueEntries) + 1;

}  // namespace sonivo
