#include "dialogs/TextPrinter.h"

#include <QFontDatabase>
#include <QGlyphRun>
#include <QPainter>
#include <QPrinter>
#include <QRawFont>
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
        : printer_(printer), painter_(painter), font_(font), metrics_(font, &printer), ascent_(metrics_.ascent()),
          lineSpacing_(metrics_.lineSpacing()), rawFont_(QRawFont::fromFont(QFont(font, &printer))),
          page_(printer.pageLayout().paintRectPixels(printer.resolution()).size()), glyphs_(0x10000)
    {
    }

    bool ok() const { return ok_; }
    qsizetype pagesBegun() const { return pagesBegun_; }

    void write(QStringView line)
    {
        const bool placed = placeGlyphs(line);
        if (placed && placedWidth_ <= page_.width()) {
            nextLine(lineSpacing_);
            drawPlacedGlyphs();
            y_ += lineSpacing_;
            return;
        }
        const QString text = line.toString();
        if (!placed && metrics_.horizontalAdvance(text) <= page_.width()) {
            nextLine(lineSpacing_);
            painter_.drawText(QPointF(0, y_ + ascent_), text);
            y_ += lineSpacing_;
            return;
        }
        QTextLayout layout(text, font_, &printer_);
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
    // A character's glyph in the printer's font, and the advance shaping gives it.
    struct Glyph {
        quint32 index = 0;
        qreal advance = kUnmeasured;
    };

    // Shaping a line, which drawing its text does each time, took a quarter of
    // the printing time. A line whose characters each stand alone is drawn as
    // the glyphs shaping gives them one by one, each placed where the one before
    // ends: the same glyphs at the same positions, as a fixed-pitch font neither
    // kerns nor joins such characters. False for a line shaping must lay out
    // whole.
    bool placeGlyphs(QStringView line)
    {
        indexes_.clear();
        positions_.clear();
        qreal x = 0;
        for (const QChar c : line) {
            const Glyph& glyph = glyphAlone(c);
            if (glyph.advance == kUnusable)
                return false;
            indexes_.push_back(glyph.index);
            positions_.emplace_back(x, 0);
            x += glyph.advance;
        }
        placedWidth_ = x;
        return true;
    }

    void drawPlacedGlyphs()
    {
        if (indexes_.empty())
            return;
        QGlyphRun run;
        run.setRawFont(rawFont_);
        run.setRawData(indexes_.data(), positions_.data(), int(indexes_.size()));
        painter_.drawGlyphRun(QPointF(0, y_ + ascent_), run);
    }

    // The character's glyph, found once by shaping two of them in a row, which
    // tells its advance too. Unusable for a character that does not stand alone
    // or that the printer's own font does not draw: shaping may take it from
    // another font, chosen by the script of the characters around it.
    const Glyph& glyphAlone(QChar c)
    {
        Glyph& glyph = glyphs_[c.unicode()];
        if (glyph.advance != kUnmeasured)
            return glyph;
        glyph.advance = kUnusable;
        if (!standsAlone(c))
            return glyph;
        QTextLayout pair(QString(2, c), font_, &printer_);
        pair.beginLayout();
        pair.createLine();
        pair.endLayout();
        const QList<QGlyphRun> runs = pair.glyphRuns();
        if (runs.size() != 1 || runs[0].rawFont() != rawFont_ || runs[0].glyphIndexes().size() != 2)
            return glyph;
        const quint32 index = runs[0].glyphIndexes()[0];
        // A character no font has is drawn as the printer's font's missing glyph
        // in any script but Common, whose characters shaping could find in the
        // fonts chosen for the script of a word they stand by.
        if (index == 0 && c.script() == QChar::Script_Common)
            return glyph;
        glyph.index = index;
        glyph.advance = runs[0].positions()[1].x() - runs[0].positions()[0].x();
        return glyph;
    }

    // Characters of scripts that shaping neither joins nor reorders, which are
    // not marks, controls or format characters placed by their neighbours, nor
    // written right to left (as the Arabic question mark is, though Common).
    static bool standsAlone(QChar c)
    {
        if (c.isSurrogate() || c.isMark() || c.category() == QChar::Other_Control || c.category() == QChar::Other_Format)
            return false;
        if (c.direction() == QChar::DirR || c.direction() == QChar::DirAL || c.direction() == QChar::DirAN)
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

    static constexpr qreal kUnmeasured = -2;
    static constexpr qreal kUnusable = -1;
    QPrinter& printer_;
    QPainter& painter_;
    QFont font_;
    QFontMetricsF metrics_;
    qreal ascent_;
    qreal lineSpacing_;
    QRawFont rawFont_;
    QSizeF page_;
    std::vector<Glyph> glyphs_;  // by UTF-16 unit
    std::vector<quint32> indexes_;  // the placed line's glyphs
    std::vector<QPointF> positions_;
    qreal placedWidth_ = 0;
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
        pages.write(line);
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
