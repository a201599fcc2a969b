#include "catalogue/FolderChoices.h"

#include "common/FieldRule.h"

#include <QHash>
#include <QSet>

namespace sonivo {
namespace {

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
    QSet<FolderKeyView> seen;
    std::vector<FolderChoice> choices;
    FolderKeyView last;
    bool first = true;
    for (const SongRecord& row : catalogue.rows()) {
        const FolderKeyView key = folderKeyOf(row);
        if (!std::exchange(first, false) && key == last)
            continue;
        last = key;
        const qsizetype before = seen.size();
        seen.insert(key);
        if (seen.size() > before)
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
