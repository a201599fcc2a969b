#include "dialogs/ProgressLook.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

#include <algorithm>

namespace sonivo {

void giveProgressLook(QProgressDialog& dialog, const QString& title, const QString& text, int minimumMs)
{
    dialog.setWindowTitle(title);
    dialog.setAccessibleName(title);
    dialog.setWindowModality(Qt::WindowModal);
    auto* label = new QLabel(text);
    label->setObjectName(QStringLiteral("progressText"));
    dialog.setLabel(label);
    auto* bar = new QProgressBar;
    bar->setObjectName(QStringLiteral("progressBar"));
    bar->setAccessibleName(QStringLiteral("Avanzamento"));
    dialog.setBar(bar);
    auto* cancel = new QPushButton(QStringLiteral("Annulla"));
    cancel->setObjectName(QStringLiteral("progressCancel"));
    cancel->setAccessibleName(QStringLiteral("Annulla"));
    dialog.setCancelButton(cancel);  // its click is the dialog's canceled()
    dialog.setAutoClose(false);
    dialog.setAutoReset(false);
    dialog.setMinimumDuration(minimumMs);
    dialog.setRange(0, kProgressSteps);
    dialog.setValue(0);
}

void showDone(QProgressDialog& dialog, qint64 done, qint64 total)
{
    dialog.setValue(total > 0 ? int(std::clamp<qint64>(done, 0, total) * kProgressSteps / total) : 0);
}

}  // namespace sonivo
