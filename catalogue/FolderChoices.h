#pragma once
// The folders the browse filter offers: one choice per folder of the catalogue,
// in the order of its first row. A choice names its rows as the catalogue does
// (folder text and whole CD identifier), so each folder of a disc is a choice of
// its own and two discs are never one choice.

#include "catalogue/Catalogue.h"

#include <vector>

namespace sonivo {

struct FolderChoice {
    // "Tutti i brani": the whole list, restored from its file.
    static FolderChoice allSongs();

    QString caption;       // as the list of choices shows it
    QString folder;        // column 3 of its rows
    QString cdIdentifier;  // column 21 of its rows, "" for a folder not read from a CD
    QString cdName;        // shown under the list: the CD name, "" for a folder not read from a CD
    bool wholeList = false;

    bool operator==(const FolderChoice&) const = default;
};

// One choice per folder. A CD folder reads as the folder, " (", the CD name and
// ")"; where two choices would read the same (two discs with one name and one
// path), each shows the disc's whole identifier, serial included, in place of its
// name.
std::vector<FolderChoice> folderChoices(const Catalogue& catalogue);

}  // namespace sonivo
