#include "mainwindow/StatusLine.h"

#include "catalogue/Catalogue.h"
#include "catalogue/Totals.h"
#include "common/Version.h"

#include <QApplication>
#include <QLabel>
#include <QSizeGrip>
#include <QStatusBar>
#include <QStyle>

namespace sonivo {

// A panel: as wide as asked when there is room, never narrower than its text.
class StatusLine::Panel final : public QLabel {
public:
    explicit Panel(QWidget* parent) : QLabel(parent)
    {
        setFrameShape(QFrame::StyledPanel);
        setFrameShadow(QFrame::Sunken);
    }
    void setPreferredWidth(int width)
    {
        preferred_ = width;
        updateGeometry();
    }
    QSize sizeHint() const override
    {
        const QSize text = QLabel::sizeHint();
        return {std::max(preferred_, text.width()), text.height()};
    }
    QSize minimumSizeHint() const override { return QLabel::sizeHint(); }

private:
    int preferred_ = 0;
};

StatusLine::StatusLine(QStatusBar* bar) : hourglass_(new QLabel(bar))
{
    bar->setObjectName(QStringLiteral("StatusBar1"));
    bar->setAccessibleName(QStringLiteral("Riga di stato"));
    bar->setSizeGripEnabled(true);
    if (auto* grip = bar->findChild<QSizeGrip*>())
        grip->setAccessibleName(QStringLiteral("Ridimensiona la finestra"));
    for (Panel*& panel : panels_)
        panel = new Panel(bar);
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

void StatusLine::showLoading()
{
    hourglass_->show();
    panels_[1]->setText(loadingText());
    panels_[2]->setText(startTimeText());
}

void StatusLine::showScanning(qint64 total)
{
    // The hourglass is for a list being loaded; the scan has its own frame.
    panels_[1]->setText(scanningText(total));
}

void StatusLine::refresh(const Catalogue& catalogue)
{
    hourglass_->hide();
    panels_[1]->setText(statusSongsText(catalogue.size(), catalogue.totals().size(QLatin1Char('m'))));
    panels_[2]->setText(statusTimeText(catalogue.totals().time()));
}

void StatusLine::setWidths(int second, int third)
{
    panels_[1]->setPreferredWidth(second);
    panels_[2]->setPreferredWidth(third);
}

}  // namespace sonivo
