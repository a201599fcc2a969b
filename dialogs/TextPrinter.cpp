#include "dialogs/TextPrinter.h"

#include <QFontDatabase>
#include <QPainter>
#include <QPrinter>
#include <QTextLayout>

namespace sonivo {
namespace {

// Lays out lines from the top of a page down, beginning a new page when the next
// line would not fit.
class PageWriter {
public:
    PageWriter(QPrinter& printer, QPainter& painter, const QFont& font)
        : printer_(printer), painter_(painter), font_(font), metrics_(font, &printer),
          page_(printer.pageLayout().paintRectPixels(printer.resolution()).size())
    {
    }

    bool ok() const { return ok_; }

    void write(const QString& line)
    {
        if (metrics_.horizontalAdvance(line) <= page_.width()) {
            nextLine(metrics_.lineSpacing());
            painter_.drawText(QPointF(0, y_ + metrics_.ascent()), line);
            y_ += metrics_.lineSpacing();
            return;
        }
        QTextLayout layout(line, font_, &printer_);
        layout.beginLayout();
        for (QTextLine part = layout.createLine(); part.isValid(); part = layout.createLine()) {
            part.setLineWidth(page_.width());
            nextLine(part.height());
            part.setPosition(QPointF(0, 0));
            part.draw(&painter_, QPointF(0, y_));
            y_ += part.height();
        }
        layout.endLayout();
    }

private:
    void nextLine(qreal height)
    {
        if (y_ > 0 && y_ + height > page_.height()) {
            ok_ = ok_ && printer_.newPage();
            y_ = 0;
        }
    }

    QPrinter& printer_;
    QPainter& painter_;
    QFont font_;
    QFontMetricsF metrics_;
    QSizeF page_;
    qreal y_ = 0;
    bool ok_ = true;
};

}  // namespace

bool printText(QPrinter& printer, const QString& text)
{
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPointSize(10);
    painter.setFont(font);
    PageWriter pages(printer, painter, font);
    QStringView rest = text;
    while (!rest.isEmpty() && pages.ok()) {
        qsizetype end = rest.indexOf(QLatin1Char('\n'));
        if (end < 0)
            end = rest.size();
        QStringView line = rest.left(end);
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        pages.write(line.toString());
        rest = rest.sliced(qMin(end + 1, rest.size()));
    }
    return painter.end() && pages.ok();
}

}  // namespace sonivo
