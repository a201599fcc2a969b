#include "dialogs/TextPrinter.h"

#include <QFontDatabase>
#include <QPainter>
#include <QPrinter>
#include <QTextLayout>

#include <vector>

#include <malloc.h>

namespace sonivo {
namespace {

using Outcome = DesktopDialogs::PrintOutcome;

// Qt's PDF writer, which the printers go through too, takes buffers of several
// mebibytes for each page it compresses and frees them at once. glibc gives such
// blocks back to the system and maps them anew for the next page, which took
// a third of the printing time; while printing, freed memory stays at hand. Then
// glibc's default limits apply again and the memory still free is given back.
class FreedMemoryKept {
public:
    FreedMemoryKept()
    {
        mallopt(M_MMAP_THRESHOLD, kMostMmapThreshold);
        mallopt(M_TRIM_THRESHOLD, kKeptWhilePrinting);
    }
    ~FreedMemoryKept()
    {
        mallopt(M_MMAP_THRESHOLD, kDefaultThreshold);
        mallopt(M_TRIM_THRESHOLD, kDefaultThreshold);
        malloc_trim(0);
    }
    FreedMemoryKept(const FreedMemoryKept&) = delete;
    FreedMemoryKept& operator=(const FreedMemoryKept&) = delete;

private:
    static constexpr int kMostMmapThreshold = 32 << 20;  // the largest glibc takes on 64-bit systems
    static constexpr int kKeptWhilePrinting = 256 << 20;
    static constexpr int kDefaultThreshold = 128 << 10;
};

// Lays out lines from the top of a page down, beginning a new page when the next
// line would not fit.
class PageWriter {
public:
    PageWriter(QPrinter& printer, QPainter& painter, const QFont& font)
        : printer_(printer), painter_(painter), font_(font), metrics_(font, &printer),
          page_(printer.pageLayout().paintRectPixels(printer.resolution()).size()), advances_(0x10000, kUnmeasured)
    {
    }

    bool ok() const { return ok_; }
    qsizetype pagesBegun() const { return pagesBegun_; }

    void write(const QString& line)
    {
        if (surelyFits(line) || metrics_.horizontalAdvance(line) <= page_.width()) {
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
    // Whether the line surely fits the page without laying it out whole, which
    // drawing it does again: its characters' advances, each measured once, add
    // up to under nine tenths of the page's width. Only characters that stand on
    // their own are added, those of scripts that shaping does not join or
    // reorder; the tenth left takes in what kerning adds.
    bool surelyFits(QStringView line)
    {
        const qreal room = page_.width() * 0.9;
        qreal width = 0;
        for (const QChar c : line) {
            const qreal advance = advanceAlone(c);
            if (advance < 0)
                return false;
            width += advance;
            if (width > room)
                return false;
        }
        return true;
    }

    // The character's advance, measured once; -1 for one that is not added up.
    qreal advanceAlone(QChar c)
    {
        qreal& advance = advances_[c.unicode()];
        if (advance == kUnmeasured)
            advance = standsAlone(c) ? metrics_.horizontalAdvance(c) : -1;
        return advance;
    }

    static bool standsAlone(QChar c)
    {
        if (c.isSurrogate() || c.isMark() || c.category() == QChar::Other_Control || c.category() == QChar::Other_Format)
            return false;
        switch (c.script()) {
        case QChar::Script_Common:
        case QChar::Script_Latin:
        case QChar::Script_Greek:
        case QChar::Script_Cyrillic:
        case QChar::Script_Han:
        case QChar::Script_Hiragana:
        case QChar::Script_Katakana:
        case QChar::Script_Hangul: return true;
        default: return false;
        }
    }

    void nextLine(qreal height)
    {
        if (y_ > 0 && y_ + height > page_.height()) {
            ok_ = ok_ && printer_.newPage();
            ++pagesBegun_;
            y_ = 0;
        }
    }

    QPrinter& printer_;
    QPainter& painter_;
    QFont font_;
    QFontMetricsF metrics_;
    QSizeF page_;
    static constexpr qreal kUnmeasured = -2;
    std::vector<qreal> advances_;  // by UTF-16 unit
    qreal y_ = 0;
    qsizetype pagesBegun_ = 0;
    bool ok_ = true;
};

}  // namespace

DesktopDialogs::PrintOutcome printText(QPrinter& printer, const QString& text, WorkProgress* progress)
{
    const FreedMemoryKept kept;
    QPainter painter;
    if (!painter.begin(&printer))
        return Outcome::Failed;
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPointSize(10);
    painter.setFont(font);
    PageWriter pages(printer, painter, font);
    const qsizetype lines = text.count(QLatin1Char('\n')) + 1;
    qsizetype printed = 0;
    bool cancelled = false;
    QStringView rest = text;
    while (!rest.isEmpty() && pages.ok() && !cancelled) {
        qsizetype end = rest.indexOf(QLatin1Char('\n'));
        if (end < 0)
            end = rest.size();
        QStringView line = rest.left(end);
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        const qsizetype pagesBefore = pages.pagesBegun();
        pages.write(line.toString());
        // Told as each new page begins, of the lines the pages before hold.
        if (progress && pages.pagesBegun() != pagesBefore)
            cancelled = !progress->step(printed, lines);
        ++printed;
        rest = rest.sliced(qMin(end + 1, rest.size()));
    }
    if (cancelled) {
        const bool withdrawn = printer.abort();
        painter.end();
        return withdrawn ? Outcome::Cancelled : Outcome::CancelledPartlySent;
    }
    return painter.end() && pages.ok() ? Outcome::Printed : Outcome::Failed;
}

}  // namespace sonivo
