#pragma once
// Browsing by folder: the catalogue narrowed to the rows of one folder, or one
// folder's rows taken out, and the whole list restored from its file. The
// choices of the folder chooser follow the catalogue: while they are shown they
// are built again after every scan and after each of these commands; while
// nothing shows them they are not kept at all, so they are never stale.

#include "catalogue/FolderChoices.h"
#include "catalogue/ListDocument.h"

#include <QObject>

namespace sonivo {

class FolderNarrowing final : public QObject {
    Q_OBJECT
public:
    explicit FolderNarrowing(ListDocument& document, QObject* parent = nullptr);

    // "Tutti i brani" first, then one choice per folder (see folderChoices).
    const std::vector<FolderChoice>& choices() const { return choices_; }
    // Builds the choices from the rows as they are now; from then on they follow
    // the rows until release().
    void refresh();
    // Nothing shows the choices any more: only "Tutti i brani" is kept until the
    // next refresh(). Tells no one.
    void release();

    // "Seleziona cartella": only the rows of the choice's folder stay.
    // "Elimina dalla lista": they go. Both in one pass over the rows, and both set
    // the modified flag, also when no row had the folder; on "Tutti i brani" both
    // restore the whole list. When some row is in no list file, "Mostra tutti"
    // could not bring back the rows taken out: the save prompt comes first, and
    // its "Annulla" changes nothing.
    void keepOnly(const FolderChoice& choice);
    void takeOut(const FolderChoice& choice);
    // "&Mostra tutti" (see ListDocument::restoreList).
    void restore();

Q_SIGNALS:
    void choicesChanged();
    // One of the commands above ran: whatever shows or follows the rows (the
    // status line, the icons, the play queue) catches up.
    void rowsChanged();

private:
    template <typename Change> void change(const FolderChoice& choice, Change folderChange);

    ListDocument& document_;
    std::vector<FolderChoice> choices_;
    bool shown_ = false;  // from refresh() to release()
};

}  // namespace sonivo
