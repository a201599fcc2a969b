#include "mainwindow/QueueModel.h"

namespace sonivo {

QueueModel::QueueModel(const PlayQueue& queue, const Catalogue& catalogue, QObject* parent)
    : QAbstractListModel(parent), queue_(queue), catalogue_(catalogue)
{
}

int QueueModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(queue_.size());
}

QVariant QueueModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= queue_.size())
        return {};
    const RowId id = queue_.at(index.row());
    if (role == Qt::UserRole)
        return QVariant::fromValue(id);
    if (role != Qt::DisplayRole && role != Qt::AccessibleTextRole)
        return {};
    const qsizetype row = catalogue_.position(id);
    return row == Catalogue::kGone ? QVariant() : QVariant(catalogue_.row(row).text(ColFileName));
}

void QueueModel::entriesChanged()
{
    beginResetModel();
    endResetModel();
}

void QueueModel::textsChanged()
{
    if (!queue_.isEmpty())
        Q_EMIT dataChanged(index(0), index(int(queue_.size()) - 1));
}

}  // namespace sonivo
