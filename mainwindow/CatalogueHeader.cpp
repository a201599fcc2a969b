#include "mainwindow/CatalogueHeader.h"

#include <QPainter>
#include <QStyleOptionHeader>

#include <algorithm>

namespace sonivo {

void CatalogueHeader::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const
{
    if (!rect.isValid())
        return;
    QStyleOptionHeader option;
    initStyleOptionForIndex(&option, logicalIndex);
    option.rect = rect;
    // The caption and the sort arrow share the section side by side, whatever
    // room the style would give the arrow: some styles put it above the caption
    // and leave a low header no room for either.
    const int margin = style()->pixelMetric(QStyle::PM_HeaderMargin, &option, this);
    QRect label = rect.adjusted(margin, 0, -margin, 0);
    QRect arrow;
    if (option.sortIndicator != QStyleOptionHeader::None) {
        const int size = std::clamp(rect.height() / 2, 1, std::max(label.width(), 1));
        arrow = QRect(label.right() - size + 1, rect.center().y() - size / 2, size, size);
        label.setRight(arrow.left() - margin);
    }
    option.text = painter->fontMetrics().elidedText(option.text, Qt::ElideRight, std::max(label.width(), 0));

    painter->save();
    style()->drawControl(QStyle::CE_HeaderSection, &option, painter, this);
    QStyleOptionHeader part = option;
    part.rect = label;
    style()->drawControl(QStyle::CE_HeaderLabel, &part, painter, this);
    if (arrow.isValid()) {
        part.rect = arrow;
        style()->drawPrimitive(QStyle::PE_IndicatorHeaderArrow, &part, painter, this);
    }
    painter->restore();
}

}  // namespace sonivo
