#pragma once
// The catalogue as a table for the views: the 22 texts of each row, the check box
// and file-type icon in the first column. The rows stay in the Catalogue, which
// tells this model of every change it makes; the model passes each on to the
// views, keeping their selection on the same songs through a sort.

#include "catalogue/Catalogue.h"

#include <QAbstractTableModel>
#include <QIcon>
#include <vector>

namespace sonivo {

class CatalogueModel final : public QAbstractTableModel, private CatalogueObserver {
    Q_OBJECT
public:
    explicit CatalogueModel(Catalogue& catalogue, QObject* parent = nullptr);
    ~CatalogueModel() override;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

    const Catalogue& catalogue() const { return catalogue_; }
    // The icon of icon number n (from 1); number 0 has none.
    void setIcons(const std::vector<QIcon>* icons) { icons_ = icons; }

Q_SIGNALS:
    // A check box was changed from a view: whoever keeps the checks and the
    // queue in step sets it.
    void checkRequested(qsizetype row, bool checked);
    // Rows first to last are about to go: sent before the views hear of it.
    void removalComing(int first, int last);

private:
    void rowsAboutToBeReset() override { beginResetModel(); }
    void rowsReset() override { endResetModel(); }
    void rowsAboutToBeAppended(qsizetype first, qsizetype count) override;
    void rowsAppended() override { endInsertRows(); }
    void rowsAboutToBeRemoved(qsizetype first, qsizetype last) override;
    void rowsRemoved() override { endRemoveRows(); }
    void rowsAboutToBeReordered() override;
    void rowsReordered(std::span<const qsizetype> newToOld) override;
    void rowsChanged(qsizetype first, qsizetype last, RowChange what) override;

    Catalogue& catalogue_;
    const std::vector<QIcon>* icons_ = nullptr;
};

}  // namespace sonivo
