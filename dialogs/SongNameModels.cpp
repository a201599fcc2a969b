#include "dialogs/SongNameModels.h"

#include <algorithm>

namespace sonivo {

SongNamesModel::SongNamesModel(const Catalogue& catalogue, const FileNameSearch& search, QObject* parent)
    : QAbstractListModel(parent), catalogue_(catalogue), search_(search)
{
}

int SongNamesModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(search_.songCount());
}

QVariant SongNamesModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid())
        return {};
    const qsizetype at = catalogue_.position(search_.id(index.row()));
    if (at == Catalogue::kGone)
        return {};
    const QString name = catalogue_.row(at).text(ColFileName);
    return name.left(std::max<qsizetype>(0, name.size() - 4));
}

FileNameFilterModel::FileNameFilterModel(FileNameSearch& search, QObject* parent)
    : QAbstractProxyModel(parent), search_(search), shown_(&search.find(QString()))
{
}

void FileNameFilterModel::setFilterText(const QString& text)
{
    beginResetModel();
    shown_ = &search_.find(text);
    endResetModel();
}

RowId FileNameFilterModel::rowId(int row) const
{
    return search_.id(qsizetype((*shown_)[size_t(row)]));
}

QModelIndex FileNameFilterModel::index(int row, int column, const QModelIndex& parent) const
{
    if (parent.isValid() || column != 0 || row < 0 || row >= rowCount())
        return {};
    return createIndex(row, column);
}

QModelIndex FileNameFilterModel::parent(const QModelIndex&) const
{
    return {};
}

int FileNameFilterModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(shown_->size());
}

int FileNameFilterModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : 1;
}

QModelIndex FileNameFilterModel::mapToSource(const QModelIndex& proxy) const
{
    if (!proxy.isValid() || !sourceModel())
        return {};
    return sourceModel()->index(int((*shown_)[size_t(proxy.row())]), 0);
}

QModelIndex FileNameFilterModel::mapFromSource(const QModelIndex& source) const
{
    if (!source.isValid())
        return {};
    // The songs found are in the source's order.
    const auto found = std::lower_bound(shown_->begin(), shown_->end(), quint32(source.row()));
    if (found == shown_->end() || *found != quint32(source.row()))
        return {};
    return index(int(found - shown_->begin()), 0);
}

}  // namespace sonivo
