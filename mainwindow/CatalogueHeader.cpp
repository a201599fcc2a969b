#include "mainwindow/CatalogueHeader.h"

#include <QPainter>
#include <QStyleOptionHeader>

namespace sonivo {

void CatalogueHeader::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const
{
    if (!rect.isValid())
        return;
    QStyleOptionHeader option;
    initStyleOptionForIndex(&option, logicalIndex);
    option.rect = rect;
    const QRect label = style()->subElementRect(QStyle::SE_HeaderLabel, &option, this);
    option.text = painter->fontMetrics().elidedText(option.text, Qt::ElideRight, label.width());
    painter->save();
    style()->drawControl(QStyle::CE_Header, &option, painter, this);
    painter->restore();
}

}  // namespace sonivo
