#include "mainwindow/ScanProgressFrame.h"

#include "catalogue/Totals.h"

#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

namespace sonivo {
namespace {

const QColor kBoxBackground(0xFF, 0xFF, 0xFF);
const QColor kBarColour(0x00, 0x00, 0x80);  // dark blue

}  // namespace

ProgressBox::ProgressBox(QWidget* parent) : QProgressBar(parent)
{
    setFixedHeight(18);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAccessibleName(QStringLiteral("Avanzamento della scansione"));
    setRange(0, 100);
    setValue(0);
}

void ProgressBox::setProgress(qint64 found, qint64 done)
{
    if (done > found)
        return;
    found_ = found;
    done_ = done;
    // The value is the percentage read, so that counts beyond an int's range fit.
    setValue(found > 0 ? int(done * 100 / found) : 0);
    update();
}

void ProgressBox::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), kBoxBackground);
    p.setPen(Qt::black);
    p.drawText(rect(), Qt::AlignCenter, QStringLiteral("Caricamento in corso..."));
    if (found_ <= 0)
        return;
    const int barWidth = int(double(width()) * double(done_) / double(found_));
    // Painting the bar with "not XOR" over the text shows the text inverted under it.
    p.setCompositionMode(QPainter::RasterOp_NotSourceXorDestination);
    p.fillRect(QRect(0, 0, barWidth, height()), kBarColour);
}

ScanProgressFrame::ScanProgressFrame(QWidget* parent)
    : QFrame(parent), current_(new QLabel(QStringLiteral("Totale brani individuati:"), this)),
      level_(new QLabel(QStringLiteral("0%"), this)), box_(new ProgressBox(this)), cancel_(new QPushButton(QStringLiteral("Annulla"), this))
{
    setFrameShape(QFrame::Box);
    setAutoFillBackground(true);
    setAccessibleName(QStringLiteral("Recupero informazioni in corso..."));
    auto* layout = new QVBoxLayout(this);
    auto* caption = new QLabel(QStringLiteral("Recupero informazioni in corso..."), this);
    QFont bold = caption->font();
    bold.setBold(true);
    caption->setFont(bold);
    layout->addWidget(caption);
    layout->addWidget(current_);
    layout->addWidget(level_, 0, Qt::AlignHCenter);
    layout->addWidget(box_);
    cancel_->setAccessibleName(QStringLiteral("Annulla la scansione"));
    layout->addWidget(cancel_, 0, Qt::AlignHCenter);
    connect(cancel_, &QPushButton::clicked, this, &ScanProgressFrame::cancelRequested);
}

void ScanProgressFrame::showProgress(qint64 found, qint64 done)
{
    current_->setText(progressFoundText(found));
    level_->setText(QString::number(progressPercent(found, done)) + QLatin1Char('%'));
    box_->setProgress(found, done);
}

QString ScanProgressFrame::foundText() const
{
    return current_->text();
}

QString ScanProgressFrame::levelText() const
{
    return level_->text();
}

}  // namespace sonivo
