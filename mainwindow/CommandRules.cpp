#include "mainwindow/CommandRules.h"

#include <array>
#include <utility>

namespace sonivo {
namespace {

using C = Command;

// Commands not named here are always enabled once something runs them.
constexpr std::pair<Command, Condition> kRules[] = {
    {C::NewList, Condition::Rows},
    {C::SaveList, Condition::Rows},
    {C::SaveListAs, Condition::Rows},
    {C::SearchSong, Condition::Rows},
    {C::SearchFolder, Condition::Rows},
    {C::SearchAlbum, Condition::Rows},
    {C::PrintList, Condition::Rows},
    {C::HtmlList, Condition::Rows},
    {C::M3uList, Condition::Rows},
    {C::ShowAll, Condition::ShowAll},
    {C::OpenQueueExternally, Condition::Checks},
    {C::CopyFiles, Condition::Checks},
    {C::DeleteSelected, Condition::Checks},
    {C::ViewTag, Condition::SongLoaded},
    {C::Play, Condition::SongLoaded},
    {C::Pause, Condition::SongLoaded},
    {C::Stop, Condition::SongLoaded},
    {C::PreviousSong, Condition::QueueSkip},
    {C::NextSong, Condition::QueueSkip},
    {C::OpenSongExternally, Condition::RowClick},
};

constexpr std::array<Condition, kCommandCount> conditions()
{
    std::array<Condition, kCommandCount> all{};
    all.fill(Condition::Always);
    for (const auto& [command, condition] : kRules)
        all[size_t(command)] = condition;
    return all;
}

constexpr std::array<Condition, kCommandCount> kConditions = conditions();

}  // namespace

Condition conditionOf(Command command)
{
    return kConditions[size_t(command)];
}

bool holds(Condition condition, const CommandInputs& in)
{
    const bool rows = in.rowCount > 0;
    switch (condition) {
    case Condition::Always: return true;
    case Condition::Rows: return rows;
    case Condition::ShowAll: return rows && (in.showAllWasEnabled || (!in.listPathEmpty && in.modified));
    case Condition::Checks: return in.anyChecked;
    case Condition::SongLoaded: return in.songLoaded;
    case Condition::QueueSkip: return in.songLoaded && in.queueSize >= 2;
    case Condition::RowClick: return false;
    }
    return false;
}

}  // namespace sonivo
