#include "dialogs/ShadowTitle.h"

#include <QPainter>

namespace sonivo {
namespace {

constexpr int kOffset = 3;

}  // namespace

ShadowTitle::ShadowTitle(const QColor& shadow, const QColor& colour, QWidget* parent)
    : QLabel(QStringLiteral("SONIVO"), parent), shadow_(shadow), colour_(colour)
{
    QFont font(QStringLiteral("Arial Black"), 26, QFont::Black);
    font.setStyleHint(QFont::SansSerif);
    setFont(font);
    setAccessibleName(text());
}

QSize ShadowTitle::sizeHint() const
{
    const QFontMetrics metrics(font());
    return QSize(metrics.horizontalAdvance(text()) + kOffset, metrics.height() + kOffset);
}

void ShadowTitle::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setFont(font());
    const QRect area = contentsRect().adjusted(0, 0, -kOffset, -kOffset);
    painter.setPen(shadow_);
    painter.drawText(area.translated(kOffset, kOffset), Qt::AlignCenter, text());
    painter.setPen(colour_);
    painter.drawText(area, Qt::AlignCenter, text());
}

}  // namespace sonivo
