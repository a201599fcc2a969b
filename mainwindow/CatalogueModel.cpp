#include "mainwindow/CatalogueModel.h"

namespace sonivo {

CatalogueModel::CatalogueModel(Catalogue& catalogue, QObject* parent) : QAbstractTableModel(parent), catalogue_(catalogue)
{
    catalogue_.setObserver(this);
}

CatalogueModel::~CatalogueModel()
{
    catalogue_.setObserver(nullptr);
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
    case Qt::ToolTipRole: return catalogue_.row(row).text(index.column());
    case Qt::CheckStateRole:
        if (index.column() == ColFileName)
            return catalogue_.isChecked(row) ? Qt::Checked : Qt::Unchecked;
        return {};
    case Qt::AccessibleDescriptionRole:
        // What a screen reader says of the check box beside the name.
        if (index.column() == ColFileName)
            return catalogue_.isChecked(row) ? QStringLiteral("selezionato") : QStringLiteral("selezionabile, non selezionato");
        return {};
    case Qt::DecorationRole: {
        const quint32 icon = catalogue_.icon(row);
        if (index.column() == ColFileName && icons_ && icon > 0 && icon <= icons_->size())
            return (*icons_)[icon - 1];
        return {};
    }
    default: return {};
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
    Q_EMIT checkRequested(index.row(), value.value<Qt::CheckState>() == Qt::Checked);
    return true;
}

void CatalogueModel::rowsAboutToBeAppended(qsizetype first, qsizetype count)
{
    beginInsertRows({}, int(first), int(first + count - 1));
}

void CatalogueModel::rowsAboutToBeRemoved(qsizetype first, qsizetype last)
{
    Q_EMIT removalComing(int(first), int(last));
    beginRemoveRows({}, int(first), int(last));
}

void CatalogueModel::rowsAboutToBeReordered()
{
    Q_EMIT layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
}

void CatalogueModel::rowsReordered(std::span<const qsizetype> newToOld)
{
    // The views' persistent indexes (selection, current row) follow their songs.
    std::vector<int> oldToNew(newToOld.size());
    for (size_t p = 0; p < newToOld.size(); ++p)
        oldToNew[size_t(newToOld[p])] = int(p);
    const QModelIndexList before = persistentIndexList();
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex& i : before)
        after << index(oldToNew[size_t(i.row())], i.column());
    changePersistentIndexList(before, after);
    Q_EMIT layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void CatalogueModel::rowsChanged(qsizetype first, qsizetype last, RowChange what)
{
    switch (what) {
    case RowChange::Checks: Q_EMIT dataChanged(index(int(first), ColFileName), index(int(last), ColFileName), {Qt::CheckStateRole}); break;
    case RowChange::Icons: Q_EMIT dataChanged(index(int(first), ColFileName), index(int(last), ColFileName), {Qt::DecorationRole}); break;
    case RowChange::Texts: Q_EMIT dataChanged(index(int(first), 0), index(int(last), kColumnCount - 1)); break;
    }
}

}  // namespace sonivo
