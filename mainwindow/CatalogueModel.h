#pragma once
// The catalogue as a table for the views: the 22 texts of each row, the check box
// and file-type icon in the first column. The rows stay in the Catalogue; whoever
// changes them there tells the model with one of the notifications below.

#include "catalogue/Catalogue.h"

#include <QAbstractTableModel>
#include <QIcon>
#include <vector>

namespace sonivo {

class CatalogueModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit CatalogueModel(Catalogue& catalogue, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

    Catalogue& catalogue() { return catalogue_; }
    // The icon of icon number n (from 1); number 0 has none.
    void setIcons(const std::vector<QIcon>* icons) { icons_ = icons; }

    // Notifications of changes made to the catalogue directly.
    void beginRowsReplaced() { beginResetModel(); }
    void endRowsReplaced() { endResetModel(); }
    void beginReordered() { Q_EMIT layoutAboutToBeChanged(); }
    void endReordered();
    void checksChanged();
    void iconsChanged();

Q_SIGNALS:
    // A check box was changed from a view.
    void checkToggled(int row);

private:
    Catalogue& catalogue_;
    const std::vector<QIcon>* icons_ = nullptr;
};

}  // namespace sonivo
