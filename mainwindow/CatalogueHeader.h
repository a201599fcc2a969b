#pragma once
// The catalogue's column headers: a caption wider than its column ends with an
// ellipsis instead of being cut off, and the sorted column shows its caption
// with the sort arrow beside it.

#include <QHeaderView>

namespace sonivo {

class CatalogueHeader final : public QHeaderView {
    Q_OBJECT
public:
    explicit CatalogueHeader(QWidget* parent = nullptr) : QHeaderView(Qt::Horizontal, parent) {}

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;
};

}  // namespace sonivo
