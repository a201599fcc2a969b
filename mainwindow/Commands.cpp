#include "mainwindow/Commands.h"

namespace sonivo {
namespace {

struct CommandText {
    Command command;
    const char* caption;
    const char* name;  // the action's object name, for tests and automation
    bool checkable = false;
    const char* shortcut = nullptr;  // shown in the menu beside the caption
};

using C = Command;

constexpr CommandText kTexts[] = {
    {C::NewList, "&Nuova lista", "newList", false, "Ctrl+N"},
    {C::OpenList, "&Apri lista... ", "openList", false, "Ctrl+O"},
    {C::SaveList, "&Salva lista", "saveList", false, "Ctrl+S"},
    {C::SaveListAs, "Sal&va lista con nome...", "saveListAs", false, "Ctrl+Shift+S"},
    {C::AddFolder, "Aggiungi &cartella singola", "addFolder"},
    {C::AddFolderTree, "A&ggiungi cartella e sottocartelle", "addFolderTree"},
    {C::Exit, "&Esci", "exit", false, "Ctrl+Q"},
    {C::ViewTag, "Visualizza Tag", "viewTag", false, "Ctrl+T"},
    {C::ListMode, "Modalità &Lista", "listMode", true},
    {C::ReportMode, "Modalità &Report", "reportMode", true},
    {C::SortAscending, "Ordine &Crescente", "sortAscending", true},
    {C::SortDescending, "Ordine &Decrescente", "sortDescending", true},
    {C::CopyFiles, "Copia &files nella cartella...", "copyFiles"},
    {C::DeleteSelected, "&Elimina files selezionati", "deleteSelected"},
    {C::SearchSong, "&Brano", "searchSong"},
    {C::SearchFolder, "&Cartella", "searchFolder"},
    {C::SearchAlbum, "&Album", "searchAlbum"},
    {C::ShowAll, "&Mostra tutti", "showAll"},
    {C::ShowGrid, "&Visualizza griglia", "showGrid", true},
    {C::TrackSelection, "&Traccia selezione", "trackSelection", true},
    {C::FlatHeader, "&Intestazione flat", "flatHeader", true},
    {C::BoldHeader, "&Carattere grassetto", "boldHeader", true},
    {C::CheckAll, "&Seleziona tutti", "checkAll"},
    {C::UncheckAll, "&Deseleziona tutti", "uncheckAll"},
    {C::InvertChecks, "I&nverti selezione", "invertChecks"},
    {C::Play, "&Play", "play", true, "F5"},
    {C::Pause, "P&ausa", "pause", true, "F6"},
    {C::Stop, "&Stop", "stop", true, "F7"},
    {C::PreviousSong, "Brano p&recedente", "previousSong", false, "F8"},
    {C::NextSong, "Brano s&uccessivo", "nextSong", false, "F9"},
    {C::OpenSongExternally, "Apri brano con player esterno...", "openSongExternally"},
    {C::OpenQueueExternally, "Apri lista con player esterno...", "openQueueExternally"},
    {C::PrintList, "&Stampa lista", "printList"},
    {C::HtmlList, "&Crea lista Html", "htmlList"},
    {C::M3uList, "&File lista mp3", "m3uList"},
    {C::Help, "&Guida in linea", "help", false, "F1"},
    {C::HelpSearch, "&Cerca...", "helpSearch"},
    {C::Website, "&Sito Sonivo", "website"},
    {C::About, "&Informazioni...", "about"},
    {C::Options, "Opzioni", "options", false, "Ctrl+,"},
    {C::RemoveQueueEntry, "Rimuovi brano", "removeQueueEntry"},
    {C::RemoveAllQueueEntries, "Rimuovi tutti", "removeAllQueueEntries"},
};

static_assert(std::size(kTexts) == size_t(kCommandCount));

constexpr bool inCommandOrder()
{
    for (size_t i = 0; i < std::size(kTexts); ++i)
        if (size_t(kTexts[i].command) != i)
            return false;
    return true;
}
static_assert(inCommandOrder(), "one text per command, in the order of Command");

}  // namespace

Commands::Commands(QObject* parent) : QObject(parent)
{
    for (const CommandText& t : kTexts) {
        auto* a = new QAction(QString::fromUtf8(t.caption), this);
        a->setObjectName(QString::fromLatin1(t.name));
        a->setCheckable(t.checkable);
        if (t.shortcut)
            a->setShortcut(QKeySequence(QString::fromLatin1(t.shortcut)));
        a->setEnabled(false);
        actions_[size_t(t.command)] = a;
    }
}

void Commands::connected(Command command)
{
    connected_[size_t(command)] = true;
    if (conditionOf(command) == Condition::Always)
        action(command)->setEnabled(true);
}

void Commands::apply(CommandInputs in)
{
    in.showAllWasEnabled = showAllEnabled_;
    showAllEnabled_ = holds(Condition::ShowAll, in);
    for (int i = 0; i < kCommandCount; ++i) {
        const Condition condition = conditionOf(Command(i));
        if (condition == Condition::RowClick)
            continue;
        // QAction::setEnabled does nothing when the state is already the same.
        actions_[size_t(i)]->setEnabled(connected_[size_t(i)] && holds(condition, in));
    }
}

}  // namespace sonivo
