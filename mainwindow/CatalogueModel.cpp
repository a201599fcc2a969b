#include "mainwindow/CatalogueModel.h"

namespace sonivo {

CatalogueModel::CatalogueModel(Catalogue& catalogue, QObject* parent) : QAbstractTableModel(parent), catalogue_(catalogue)
{
}

int CatalogueModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(catalogue_.size());
}

int CatalogueModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : kColumnCount;
}

QVariant CatalogueModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    const qsizetype row = index.row();
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
        return catalogue_.row(row).text(index.column());
    case Qt::CheckStateRole:
        if (index.column() == ColFileName)
            return catalogue_.isChecked(row) ? Qt::Checked : Qt::Unchecked;
        return {};
    case Qt::DecorationRole: {
        const quint32 icon = catalogue_.icon(row);
        if (index.column() == ColFileName && icons_ && icon > 0 && icon <= icons_->size())
            return (*icons_)[icon - 1];
        return {};
    }
    default:
        return {};
    }
}

QVariant CatalogueModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < kColumnCount)
        return columnCaptions().at(section);
    return QAbstractTableModel::headerData(section, orientation, role);
}

Qt::ItemFlags CatalogueModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (index.isValid() && index.column() == ColFileName)
        f |= Qt::ItemIsUserCheckable;
    return f;
}

bool CatalogueModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid() || index.column() != ColFileName || role != Qt::CheckStateRole)
        return false;
    catalogue_.setChecked(index.row(), value.value<Qt::CheckState>() == Qt::Checked);
    Q_EMIT dataChanged(index, index, {Qt::CheckStateRole});
    Q_EMIT checkToggled(index.row());
    return true;
}

void CatalogueModel::endReordered()
{
    Q_EMIT layoutChanged();
}

void CatalogueModel::checksChanged()
{
    if (catalogue_.isEmpty())
        return;
    Q_EMIT dataChanged(index(0, ColFileName), index(rowCount() - 1, ColFileName), {Qt::CheckStateRole});
}

void CatalogueModel::iconsChanged()
{
    if (catalogue_.isEmpty())
        return;
    Q_EMIT dataChanged(index(0, ColFileName), index(rowCount() - 1, ColFileName), {Qt::DecorationRole});
}

}  // namespace sonivo
