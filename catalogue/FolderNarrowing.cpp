#include "catalogue/FolderNarrowing.h"

namespace sonivo {

FolderNarrowing::FolderNarrowing(ListDocument& document, QObject* parent) : QObject(parent), document_(document)
{
    choices_.push_back(FolderChoice::allSongs());
    connect(&document_, &ListDocument::workFinished, this, [this](ListDocument::Work work) {
        if (work == ListDocument::Work::Scanning && shown_)
            refresh();
    });
}

void FolderNarrowing::refresh()
{
    shown_ = true;
    choices_ = folderChoices(document_.catalogue());
    choices_.insert(choices_.begin(), FolderChoice::allSongs());
    Q_EMIT choicesChanged();
}

void FolderNarrowing::release()
{
    shown_ = false;
    choices_ = std::vector<FolderChoice>{FolderChoice::allSongs()};  // gives their room back
}

template <typename Change> void FolderNarrowing::change(const FolderChoice& choice, Change folderChange)
{
    if (choice.wholeList) {
        document_.restoreList();
    } else {
        if (!document_.confirmNarrowing())
            return;
        folderChange(document_.catalogue());
        document_.setNarrowed();
    }
    if (shown_)
        refresh();
    Q_EMIT rowsChanged();
}

void FolderNarrowing::keepOnly(const FolderChoice& choice)
{
    change(choice, [&](Catalogue& c) { c.keepOnlyFolder(choice.folder, choice.cdIdentifier); });
}

void FolderNarrowing::takeOut(const FolderChoice& choice)
{
    change(choice, [&](Catalogue& c) { c.removeFolder(choice.folder, choice.cdIdentifier); });
}

void FolderNarrowing::restore()
{
    change(FolderChoice::allSongs(), [](Catalogue&) {});
}

}  // namespace sonivo
