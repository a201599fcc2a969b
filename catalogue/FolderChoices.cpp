#include "catalogue/FolderChoices.h"

#include "common/FieldRule.h"

#include <QHash>
#include <string_view>
#include <unordered_set>

namespace sonivo {
namespace {

struct KeyHash {
    size_t operator()(const FolderKeyView& key) const
    {
        const std::hash<std::string_view> hash;
        const size_t folder = hash(std::string_view(key.first.data(), size_t(key.first.size())));
        return folder ^ (hash(std::string_view(key.second.data(), size_t(key.second.size()))) + 0x9e3779b97f4a7c15u + (folder << 6));
    }
};

QString cdCaption(const FolderChoice& choice, const QString& cd)
{
    return choice.folder + QStringLiteral(" (") + cd + QLatin1Char(')');
}

FolderChoice choiceOf(const FolderKeyView& key)
{
    FolderChoice choice;
    choice.folder = decodeStored(key.first);
    choice.cdIdentifier = decodeStored(key.second);
    choice.cdName = Field(choice.cdIdentifier, 1, u"/").toString();
    choice.caption = choice.cdIdentifier.isEmpty() ? choice.folder : cdCaption(choice, choice.cdName);
    return choice;
}

}  // namespace

FolderChoice FolderChoice::allSongs()
{
    FolderChoice choice;
    choice.caption = QStringLiteral("Tutti i brani");
    choice.cdName = QStringLiteral("Tutti i brani della lista");
    choice.wholeList = true;
    return choice;
}

std::vector<FolderChoice> folderChoices(const Catalogue& catalogue)
{
    // The keys point into the rows, which do not change meanwhile; the rows of a
    // folder mostly come together, so most rows are matched against the one before.
    std::unordered_set<FolderKeyView, KeyHash> seen;
    std::vector<FolderChoice> choices;
    FolderKeyView last;
    bool first = true;
    for (const SongRecord& row : catalogue.rows()) {
        const FolderKeyView key = folderKeyOf(row);
        if (!std::exchange(first, false) && key == last)
            continue;
        last = key;
        if (seen.insert(key).second)
            choices.push_back(choiceOf(key));
    }

    // A disc's caption ends with ")", which a folder's text hardly ever does: only
    // those are counted.
    QHash<QString, int> sameCaption;
    for (const FolderChoice& choice : choices) {
        if (choice.caption.endsWith(QLatin1Char(')')))
            ++sameCaption[choice.caption];
    }
    for (FolderChoice& choice : choices) {
        if (!choice.cdIdentifier.isEmpty() && sameCaption.value(choice.caption) > 1)
            choice.caption = cdCaption(choice, choice.cdIdentifier);
    }
    return choices;
}

}  // namespace sonivo
