// The play queue's side of the player: its view's selection, the sync with the
// check marks, its right-button menu and the operations that queue rows.

#include "mainwindow/PlayerPanel.h"

#include "mainwindow/QueueModel.h"
#include "platform/NativeFile.h"

#include <QAction>
#include <QListView>
#include <QMenu>

namespace sonivo {

qsizetype PlayerPanel::selectedEntry() const
{
    const QModelIndexList selected = lstPlay_->selectionModel()->selectedIndexes();
    return selected.isEmpty() ? -1 : selected.first().row();
}

void PlayerPanel::selectEntry(qsizetype entry)
{
    const QModelIndex index = queueModel_->index(int(entry));
    lstPlay_->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
}

void PlayerPanel::syncQueue()
{
    const qsizetype selected = selectedEntry();
    const RowId selectedId = selected < 0 ? 0 : queue_.at(selected);
    queueModel_->beginChange();
    queue_.sync(catalogue_);
    queueModel_->endChange();
    if (selected >= 0 && queue_.indexOf(selectedId) >= 0)
        selectEntry(queue_.indexOf(selectedId));
    queueChanged();
}

void PlayerPanel::refreshQueueTexts()
{
    queueModel_->textsChanged();
}

void PlayerPanel::queueChanged()
{
    lstPlay_->setToolTip(queue_.statistics(catalogue_));
}

void PlayerPanel::rowClicked(qsizetype row)
{
    if (!queue_.isEmpty() || state_ != PlayerState::Stopped || row < 0 || row >= catalogue_.size())
        return;
    if (pathExists(catalogue_.row(row).fullName()))
        load(row);
}

void PlayerPanel::showQueueMenu(const QPoint& at)
{
    if (queue_.isEmpty() || !mnPop_)
        return;
    removeEntry_->setVisible(selectedEntry() >= 0);
    mnPop_->popup(lstPlay_->viewport()->mapToGlobal(at));
}

void PlayerPanel::removeSelectedEntry()
{
    const qsizetype entry = selectedEntry();
    if (entry < 0)
        return;
    const qsizetype row = catalogue_.position(queue_.at(entry));
    queueModel_->beginChange();
    queue_.removeAt(entry);
    queueModel_->endChange();
    catalogue_.setChecked(row, false);
    queueChanged();
    Q_EMIT checksChanged();
}

void PlayerPanel::removeAllEntries()
{
    queueModel_->beginChange();
    queue_.clear();
    queueModel_->endChange();
    catalogue_.uncheckAll();
    queueChanged();
    Q_EMIT checksChanged();
}

void PlayerPanel::AggiungiLista(qsizetype i)
{
    if (i >= 1 && i <= catalogue_.size())
        catalogue_.setChecked(i - 1, true);
    syncQueue();
    Q_EMIT checksChanged();
}

void PlayerPanel::AggiungiBrani(const QString& nome)
{
    const std::string album = toStored(nome);
    for (qsizetype i = 0; i < catalogue_.size(); ++i)
        if (catalogue_.row(i).stored(ColAlbum) == QByteArrayView(album))
            catalogue_.setChecked(i, true);
    syncQueue();
    Q_EMIT checksChanged();
}

}  // namespace sonivo
