#include "mainwindow/BrowseCommands.h"

#include "catalogue/BrowseFilter.h"
#include "dialogs/frmFolder.h"
#include "mainwindow/CatalogueView.h"
#include "mainwindow/StatusLine.h"

#include <QWidget>

namespace sonivo {

BrowseCommands::BrowseCommands(ListDocument& document, CatalogueView& view, StatusLine& status, QWidget* window)
    : QObject(window), document_(document), view_(view), status_(status), window_(window), filter_(new BrowseFilter(document, this))
{
    connect(filter_, &BrowseFilter::rowsChanged, this, [this] {
        status_.refresh(document_.catalogue());
        view_.refreshIcons();  // the rows of a restored list come without
        Q_EMIT rowsChanged();
    });
}

void BrowseCommands::chooseFolder()
{
    frmFolder chooser(*filter_, window_);
    chooser.exec();
}

void BrowseCommands::showAll()
{
    filter_->restore();
}

}  // namespace sonivo
