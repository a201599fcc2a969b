// The play queue's view: the entries, the selection shared with the transport,
// the statistics tooltip and the right-button menu.

#include "mainwindow/PlayerPanel.h"

#include "mainwindow/QueueModel.h"

#include <QAction>
#include <QKeyEvent>
#include <QListView>
#include <QMenu>

namespace sonivo {

void PlayerPanel::buildQueue()
{
    lstPlay_->setObjectName(QStringLiteral("lstPlay"));
    lstPlay_->setAccessibleName(QStringLiteral("Brani da suonare"));
    lstPlay_->setModel(queueModel_);
    lstPlay_->setSelectionMode(QAbstractItemView::SingleSelection);
    lstPlay_->setUniformItemSizes(true);  // a queue of every row lays out at once
    lstPlay_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lstPlay_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(lstPlay_, &QAbstractItemView::doubleClicked, &transport_, &Transport::playSelectedEntry);
    lstPlay_->installEventFilter(this);
    connect(lstPlay_, &QWidget::customContextMenuRequested, this, &PlayerPanel::showQueueMenu);
    connect(lstPlay_->selectionModel(), &QItemSelectionModel::currentChanged, this,
        [this](const QModelIndex& current) {
            if (!showingQueue_)
                transport_.selectEntry(current.isValid() ? current.row() : -1);
        });
    showQueue();
}

void PlayerPanel::showQueue()
{
    // The model's reset clears the view's selection; the transport's stays.
    showingQueue_ = true;
    queueModel_->entriesChanged();
    showSelection(transport_.selectedEntry());
    showingQueue_ = false;
    // The statistics, for the mouse and for screen readers alike.
    const QString statistics = transport_.queue().statistics(queueModel_->catalogue());
    lstPlay_->setToolTip(statistics);
    lstPlay_->setAccessibleDescription(statistics);
    refresh();
}

void PlayerPanel::showSelection(qsizetype entry)
{
    const QModelIndex index = queueModel_->index(int(entry));
    if (index == lstPlay_->currentIndex() && (!index.isValid() || lstPlay_->selectionModel()->isSelected(index)))
        return;
    if (index.isValid())
        lstPlay_->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    else
        lstPlay_->selectionModel()->clear();
}

void PlayerPanel::refreshQueueTexts()
{
    queueModel_->textsChanged();
}

bool PlayerPanel::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != lstPlay_ || event->type() != QEvent::KeyPress)
        return QObject::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
    if (enter && (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier && transport_.selectedEntry() >= 0) {
        transport_.playSelectedEntry();
        return true;
    }
    if (key->key() == Qt::Key_F10 && key->modifiers() == Qt::ShiftModifier) {
        showQueueMenu(lstPlay_->visualRect(lstPlay_->currentIndex()).center());
        return true;
    }
    return QObject::eventFilter(watched, event);
}

void PlayerPanel::showQueueMenu(const QPoint& at)
{
    if (transport_.queue().isEmpty() || !mnPop_)
        return;
    removeEntry_->setVisible(transport_.selectedEntry() >= 0);
    mnPop_->popup(lstPlay_->viewport()->mapToGlobal(at));
}

}  // namespace sonivo
