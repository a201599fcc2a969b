#pragma once
// The search dialog's models: the catalogue's songs by file name, and the filter
// over them that keeps the songs whose name holds the search text.

#include "catalogue/SongSearch.h"

#include <QAbstractListModel>
#include <QAbstractProxyModel>

namespace sonivo {

// Every song of the search, shown as its file name without the last four
// characters (the extension).
class SongNamesModel final : public QAbstractListModel {
    Q_OBJECT
public:
    SongNamesModel(const Catalogue& catalogue, const FileNameSearch& search, QObject* parent = nullptr);
    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

private:
    const Catalogue& catalogue_;
    const FileNameSearch& search_;
};

// The songs whose file name contains the filter text, letter case ignored.
class FileNameFilterModel final : public QAbstractProxyModel {
    Q_OBJECT
public:
    FileNameFilterModel(FileNameSearch& search, QObject* parent = nullptr);
    void setFilterText(const QString& text);
    // The row of the catalogue shown at a row of this model.
    RowId rowId(int row) const;

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QModelIndex mapToSource(const QModelIndex& proxy) const override;
    QModelIndex mapFromSource(const QModelIndex& source) const override;

private:
    FileNameSearch& search_;
    const std::vector<quint32>* shown_;  // the songs found, in order
};

}  // namespace sonivo
