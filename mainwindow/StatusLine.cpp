#include "mainwindow/StatusLine.h"

#include "catalogue/Catalogue.h"
#include "catalogue/Totals.h"
#include "mainwindow/Form1.h"

#include <QApplication>
#include <QLabel>
#include <QStatusBar>
#include <QStyle>

namespace sonivo {

StatusLine::StatusLine(QStatusBar* bar) : hourglass_(new QLabel(bar))
{
    bar->setObjectName(QStringLiteral("StatusBar1"));
    bar->setSizeGripEnabled(true);
    const char* names[] = {"Versione", "Brani e spazio", "Durata totale"};
    for (size_t i = 0; i < 3; ++i) {
        panels_[i] = new QLabel(bar);
        panels_[i]->setFrameShape(QFrame::StyledPanel);
        panels_[i]->setFrameShadow(QFrame::Sunken);
        panels_[i]->setAccessibleName(QString::fromUtf8(names[i]));
        panels_[i]->setMinimumWidth(1);
    }
    const QIcon hourglass
        = QIcon::fromTheme(QStringLiteral("process-working"), QApplication::style()->standardIcon(QStyle::SP_BrowserReload));
    hourglass_->setPixmap(hourglass.pixmap(16, 16));
    hourglass_->setAccessibleName(QStringLiteral("Operazione in corso"));
    hourglass_->hide();
    panels_[0]->setText(versionText());
    bar->addWidget(panels_[0], 1);
    bar->addWidget(hourglass_);
    bar->addWidget(panels_[1]);
    bar->addWidget(panels_[2]);
}

QString StatusLine::text(int panel) const
{
    return panels_[size_t(panel - 1)]->text();
}

void StatusLine::showStart()
{
    hourglass_->hide();
    panels_[1]->setText(startSongsText());
    panels_[2]->setText(startTimeText());
}

void StatusLine::showBusy(const QString& text)
{
    hourglass_->show();
    panels_[1]->setText(text);
}

void StatusLine::showLoading()
{
    showBusy(loadingText());
    panels_[2]->setText(startTimeText());
}

void StatusLine::showScanning(qint64 total)
{
    showBusy(scanningText(total));
}

void StatusLine::refresh(const Catalogue& catalogue)
{
    hourglass_->hide();
    panels_[1]->setText(statusSongsText(catalogue.size(), catalogue.totals().size(QLatin1Char('m'))));
    panels_[2]->setText(statusTimeText(catalogue.totals().time()));
}

void StatusLine::setWidths(int second, int third)
{
    // A panel is never narrower than its text, so the time is never cut.
    panels_[1]->setFixedWidth(std::max(second, panels_[1]->sizeHint().width()));
    panels_[2]->setFixedWidth(std::max(third, panels_[2]->sizeHint().width()));
}

}  // namespace sonivo
