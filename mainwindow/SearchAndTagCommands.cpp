// The main window's commands that open the tag editor and the search dialogs.

#include "mainwindow/Form1.h"

#include "dialogs/BusyPointer.h"
#include "dialogs/OpenDialog.h"
#include "dialogs/frmSearch.h"
#include "dialogs/frmSearchTag.h"
#include "dialogs/frmTag.h"
#include "mainwindow/CatalogueView.h"
#include "mainwindow/Commands.h"


namespace sonivo {

void Form1::connectSearchAndTag()
{
    commands_->run(Command::ViewTag, this, &Form1::openTagEditor);
    connect(view_, &CatalogueView::openRequested, this, &Form1::openTagEditor);
    commands_->run(Command::SearchSong, this, [this] { openSearch(false); });
    commands_->run(Command::SearchAlbum, this, [this] { openSearch(true); });
}

void Form1::openTagEditor()
{
    const qsizetype row = view_->selectedCurrentRow();
    if (row < 0)
        return;
    if (!tagEditor_) {
        tagEditor_ = new frmTag(app_->document(), app_->transport(), dialogs_, this);
        tagEditor_->setAttribute(Qt::WA_DeleteOnClose);
    }
    // Opened again while it shows, it shows the newly selected song.
    tagEditor_->open(app_->catalogue().id(row));
    tagEditor_->show();
    tagEditor_->raise();
    tagEditor_->activateWindow();
}

void Form1::openSearch(bool byAlbum)
{
    QDialog* dialog = nullptr;
    {
        const BusyPointer busy;
        const Catalogue& catalogue = app_->catalogue();
        if (byAlbum)
            dialog = new frmSearchTag(catalogue, app_->transport(), dialogs_, this);
        else
            dialog = new frmSearch(catalogue, app_->transport(), dialogs_, this);
    }
    openDialog(dialog);
}

}  // namespace sonivo
