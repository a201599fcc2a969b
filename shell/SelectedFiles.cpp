#include "shell/SelectedFiles.h"

#include "catalogue/ListDocument.h"

namespace sonivo {

QStringList queuedFiles(const Catalogue& catalogue, const std::vector<RowId>& queue)
{
    QStringList files;
    for (const RowId id : queue) {
        const qsizetype row = catalogue.position(id);
        if (row != Catalogue::kGone)
            files << catalogue.row(row).fullName();
    }
    return files;
}

qsizetype removeCheckedSongs(ListDocument& document)
{
    const qsizetype removed = document.catalogue().removeChecked();
    document.setModified(true);
    return removed;
}

}  // namespace sonivo
