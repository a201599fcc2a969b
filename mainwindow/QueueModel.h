#pragma once
// The play queue as a list model: one item per entry, shown by its row's file
// name, with the row's identity as the item's user data.

#include "player/PlayQueue.h"

#include <QAbstractListModel>

namespace sonivo {

class QueueModel final : public QAbstractListModel {
    Q_OBJECT
public:
    QueueModel(const PlayQueue& queue, const Catalogue& catalogue, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    // The queue's entries changed.
    void entriesChanged();
    const Catalogue& catalogue() const { return catalogue_; }
    // The rows' texts changed; the entries did not.
    void textsChanged();

private:
    const PlayQueue& queue_;
    const Catalogue& catalogue_;
};

}  // namespace sonivo
