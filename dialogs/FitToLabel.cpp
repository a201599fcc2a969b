#include "dialogs/FitToLabel.h"

#include <QLabel>

namespace sonivo {

void fitToLabel(const QString& text, QLabel& label)
{
    const QString shown = label.fontMetrics().elidedText(text, Qt::ElideRight, label.width() * 97 / 100);
    if (label.text() != shown)
        label.setText(shown);
    const QString tip = shown == text ? QString() : text;
    if (label.toolTip() != tip)
        label.setToolTip(tip);
}

}  // namespace sonivo
