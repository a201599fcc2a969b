#include "dialogs/TextPrinter.h"
#include "dialogs/frmReport.h"
#include "tests/dialogs/DialogFixture.h"

#include <QCheckBox>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QGroupBox>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>

#include <cctype>

using namespace sonivo;
using namespace sonivo::test;

namespace {

class ReportDialog : public DialogFixture {
protected:
    void SetUp() override
    {
        for (int n = 1; n <= 8; ++n)
            ids.push_back(addSong(QStringLiteral("Song %1.mp3").arg(n), {}, {}, false));
    }
    std::unique_ptr<frmReport> open(ReportKind kind) { return std::make_unique<frmReport>(kind, catalogue, QString(), transport.queue().entries(), QString(), dialogs); }

    std::vector<RowId> ids;
};

// The visible controls' names and captions, as the user sees the dialog.
QStringList shownControls(const QWidget& dialog)
{
    QStringList shown;
    for (const QWidget* w : dialog.findChildren<QWidget*>())
        if (w->isVisibleTo(&dialog) && !w->objectName().isEmpty())
            shown << w->objectName();
    shown.sort();
    return shown;
}

// The pages of a PDF file Qt wrote.
qsizetype pdfPages(const QString& file)
{
    return QString::fromLatin1(TempFiles::read(file)).count(QRegularExpression(QStringLiteral("/Type\\s*/Page[^s]")));
}

void printIntoPdf(QPrinter& printer, const QString& pdf)
{
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
}

// Prints the text into a PDF file; its pages, or -1 when printing failed.
qsizetype printedPages(const QString& pdf, const QString& text, WorkProgress* progress = nullptr)
{
    QPrinter printer(QPrinter::HighResolution);
    printIntoPdf(printer, pdf);
    return printText(printer, text, progress) == DesktopDialogs::PrintOutcome::Printed ? pdfPages(pdf) : -1;
}

// What the pages of a PDF file Qt wrote show, glyph by glyph: "font glyph x y",
// the position summed from the moves within its text object. Qt writes each
// page's contents as one compressed stream.
QStringList drawnGlyphs(const QString& pdf)
{
    const QByteArray file = TempFiles::read(pdf);
    const QByteArray begin = "/FlateDecode\n>>\nstream\n";
    QStringList glyphs;
    for (qsizetype at = file.indexOf(begin); at >= 0; at = file.indexOf(begin, at + 1)) {
        const qsizetype start = at + begin.size();
        QByteArray packed = file.mid(start, file.indexOf("\nendstream", start) - start);
        packed.prepend(QByteArray("\x00\x10\x00\x00", 4));  // the size qUncompress starts from
        QList<QByteArray> operands;
        QByteArray font;
        double x = 0;
        double y = 0;
        for (const QByteArray& token : qUncompress(packed).simplified().split(' ')) {
            if (token.isEmpty() || !std::isalpha(static_cast<unsigned char>(token.at(0)))) {
                operands << token;
                continue;
            }
            const auto operand = [&](qsizetype fromEnd) { return operands.at(operands.size() - fromEnd); };
            if (token == "BT") {
                x = y = 0;
            } else if (token == "Tf") {
                font = operand(2);
            } else if (token == "Td") {
                x += operand(2).toDouble();
                y += operand(1).toDouble();
            } else if (token == "Tj") {
                glyphs << QStringLiteral("%1 %2 %3 %4").arg(QString::fromLatin1(font), QString::fromLatin1(operand(1))).arg(x, 0, 'f', 6).arg(y, 0, 'f', 6);
            }
            operands.clear();
        }
    }
    return glyphs;
}

// Records every step and answers "Annulla" at the one numbered cancelAt (from 1).
struct StepsTaken final : WorkProgress {
    explicit StepsTaken(size_t cancelAt = 0) : cancelAt(cancelAt) {}
    bool step(qint64 done, qint64 total) override
    {
        steps.emplace_back(done, total);
        return steps.size() != cancelAt;
    }
    size_t cancelAt;
    std::vector<std::pair<qint64, qint64>> steps;
};

// Words of the character, "cc cc cc...": the longest such line that fits the
// printer's page as the text is printed, measured whole, and that line with
// the rest of its next word, which does not.
std::pair<QString, QString> widestLines(QPrinter& printer, QChar c)
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPointSize(10);
    const QFontMetricsF metrics(font, &printer);
    const qreal width = printer.pageLayout().paintRectPixels(printer.resolution()).width();
    const QString words = QString(c) + c + QLatin1Char(' ');
    const auto next = [&](const QString& line) { return line + words.at(line.size() % words.size()); };
    QString fits(c);
    while (metrics.horizontalAdvance(next(fits)) <= width)
        fits = next(fits);
    QString over = next(fits);
    if (over.endsWith(QLatin1Char(' ')))
        over = next(over);
    return {fits, over};
}

}  // namespace

TEST_F(ReportDialog, EachKindHasItsCaptionsAndShowsItsFrames)
{
    struct Expected {
        ReportKind kind;
        const char* caption;
        const char* action;
        const char* frames;  // the frames shown
    };
    const Expected kinds[] = {
        {ReportKind::TextList, "Stampa lista brani", "&Stampa", "Frame1 Frame2 Frame3"},
        {ReportKind::HtmlPage, "Crea HTML lista brani", "Crea &HTML", "Frame1 Frame2"},
        {ReportKind::Playlist, "Crea playlist brani", "Crea &Playlist", "Frame1"},
    };
    int lastHeight = 1 << 20;
    for (const Expected& e : kinds) {
        const auto dialog = open(e.kind);
        EXPECT_EQ(dialog->windowTitle(), QLatin1String(e.caption));
        EXPECT_EQ(child<QPushButton>(*dialog, "Command1")->text(), QLatin1String(e.action));
        EXPECT_EQ(child<QPushButton>(*dialog, "Command2")->text(), QStringLiteral("&Chiudi"));
        const QStringList shown = shownControls(*dialog);
        const QWidget* buttons = child<QWidget>(*dialog, "Command1");
        for (const QString& frame : {QStringLiteral("Frame1"), QStringLiteral("Frame2"), QStringLiteral("Frame3")}) {
            EXPECT_EQ(shown.contains(frame), QString::fromLatin1(e.frames).contains(frame)) << e.caption << " " << frame.toStdString();
            EXPECT_TRUE(!shown.contains(frame) || child<QWidget>(*dialog, qPrintable(frame))->geometry().bottom() < buttons->y())
                << "the buttons under the frames";
        }
        // Every caption whole, the buttons side by side, the dialog shortened with its frames and not resizable.
        for (const char* name : {"Option1", "Option2", "Check1", "Check2", "Option3", "Option4", "Command1", "Command2"})
            EXPECT_GE(child<QWidget>(*dialog, name)->width(), child<QWidget>(*dialog, name)->sizeHint().width()) << name;
        EXPECT_EQ(buttons->y(), child<QWidget>(*dialog, "Command2")->y());
        EXPECT_LT(dialog->height(), lastHeight) << e.caption;
        lastHeight = dialog->height();
        EXPECT_EQ(dialog->minimumSize(), dialog->maximumSize());
    }
    const auto dialog = open(ReportKind::TextList);
    const std::pair<const char*, const char*> captions[] = {{"Frame1", "Selezione brani:"}, {"Frame2", "Altre dati aggiuntivi:"},
        {"Frame3", "Invia a:"}};
    for (const auto& [name, caption] : captions)
        EXPECT_EQ(child<QGroupBox>(*dialog, name)->title(), QLatin1String(caption));
    const std::pair<const char*, const char*> buttons[] = {{"Option1", "Tutti i brani in lista"}, {"Option2", "Solo brani selezionati"},
        {"Check1", "Durata brano"}, {"Check2", "Grandezza"}, {"Option3", "Stampante"}, {"Option4", "File di testo"},
        {"Command1", "Stampa"}, {"Command2", "Chiudi"}};
    for (const auto& [name, caption] : buttons)
        EXPECT_EQ(accessibleName(child<QWidget>(*dialog, name)), QLatin1String(caption)) << name;
}

TEST_F(ReportDialog, OpensWithItsDefaultsAndTheQueuedSongsOnlyWhenThereAreSome)
{
    auto dialog = open(ReportKind::TextList);
    EXPECT_TRUE(child<QRadioButton>(*dialog, "Option1")->isChecked());
    EXPECT_FALSE(child<QRadioButton>(*dialog, "Option2")->isEnabled()) << "the queue is empty";
    EXPECT_FALSE(child<QCheckBox>(*dialog, "Check1")->isChecked());
    EXPECT_FALSE(child<QCheckBox>(*dialog, "Check2")->isChecked());
    EXPECT_TRUE(child<QRadioButton>(*dialog, "Option3")->isChecked());

    transport.AggiungiLista(ids.at(2));
    for (const ReportKind kind : {ReportKind::TextList, ReportKind::HtmlPage, ReportKind::Playlist})
        EXPECT_TRUE(child<QRadioButton>(*open(kind), "Option2")->isEnabled());
}

TEST_F(ReportDialog, ChiudiAndACancelledFileDialogWriteNothingAndClose)
{
    auto dialog = open(ReportKind::HtmlPage);
    child<QPushButton>(*dialog, "Command2")->click();
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_TRUE(dialogs.asked.isEmpty());

    dialog = open(ReportKind::HtmlPage);
    dialogs.files.push_back(QString());
    dialog->show();
    child<QPushButton>(*dialog, "Command1")->click();
    EXPECT_EQ(dialogs.asked, QStringList{QStringLiteral("Salva lista HTML")});
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_TRUE(dialogs.opened.isEmpty());
    EXPECT_TRUE(dialogs.notices.isEmpty());
}

TEST_F(ReportDialog, PrintsTheChosenTextWithoutAskingForAFile)
{
    const auto dialog = open(ReportKind::TextList);
    child<QCheckBox>(*dialog, "Check1")->setChecked(true);
    child<QPushButton>(*dialog, "Command1")->click();
    ASSERT_EQ(dialogs.printed.size(), 1);
    EXPECT_TRUE(dialogs.printed.at(0).startsWith(QStringLiteral("Sonivo - Lista brani\r\n\r\nSong 1 [03.45]\r\n")));
    EXPECT_EQ(dialogs.printed.at(0).count(QStringLiteral("\r\n")), 11);
    EXPECT_TRUE(dialogs.asked.isEmpty()) << "printing asks for no file";
    EXPECT_TRUE(dialogs.notices.isEmpty());
}

TEST(TextPrinter, ALineWrapsExactlyWhenItIsWiderThanThePage)
{
    TempFiles files;
    const QString pdf = files.path(QStringLiteral("p.pdf"));
    QPrinter printer(QPrinter::HighResolution);
    printIntoPdf(printer, pdf);
    // A page full of lines as wide as the page is one page; one character
    // more on each and every line takes two printed lines.
    for (const QChar c : {QChar(u'M'), QChar(u'Ж'), QChar(u'音')}) {
        const auto [fits, over] = widestLines(printer, c);
        QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
        font.setPointSize(10);
        const qsizetype perPage = qsizetype(printer.pageLayout().paintRectPixels(printer.resolution()).height() / QFontMetricsF(font, &printer).lineSpacing());
        EXPECT_EQ(printedPages(pdf, QStringList(perPage, fits).join(QStringLiteral("\r\n"))), 1) << fits.size() << " of " << QString(c).toStdString();
        EXPECT_GE(printedPages(pdf, QStringList(perPage, over).join(QStringLiteral("\r\n"))), 2) << over.size() << " of " << QString(c).toStdString();
    }
}

TEST(TextPrinter, DrawsEachLineAsDrawingItsTextWholeWould)
{
    // Lines of the scripts a list holds, some with characters their neighbours
    // place or turn right to left (a combining accent, Arabic, an Arabic
    // question mark, a tab), which take shaping's own way.
    const QStringList lines = {
        QStringLiteral("Sonivo - Lista brani"),
        QString(),
        QStringLiteral("01 - Amore [03.45] [4,321 KB]"),
        QStringLiteral("02 - Ночь Über Δέλτα Łódź Fjörður   Živé [04.11] [4,261 KB]"),
        QStringLiteral("03 - 音楽 Città 音楽 [05.16] [1,726 KB]"),
        QStringLiteral("04 - Cafe\u0301 «Señora» — €5 ½ ♪"),
        QStringLiteral("05 - سلام Crème [06.08]"),
        QStringLiteral("06 - (Chi ؟) [02.22]"),
        QStringLiteral("07 - Sole\tMare 🎵 [07.13]"),
        QStringLiteral("   "),
        QStringLiteral("08 - Blue Strada Notte"),
    };
    TempFiles files;
    const QString printed = files.path(QStringLiteral("printed.pdf"));
    ASSERT_EQ(printedPages(printed, lines.join(QStringLiteral("\r\n"))), 1);

    // The same lines, each drawn as a text at its baseline, one under the other.
    const QString drawn = files.path(QStringLiteral("drawn.pdf"));
    QPrinter printer(QPrinter::HighResolution);
    printIntoPdf(printer, drawn);
    QPainter painter(&printer);
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPointSize(10);
    painter.setFont(font);
    const QFontMetricsF metrics(font, &printer);
    for (qsizetype n = 0; n < lines.size(); ++n)
        painter.drawText(QPointF(0, metrics.lineSpacing() * qreal(n) + metrics.ascent()), lines.at(n));
    ASSERT_TRUE(painter.end());

    const QStringList glyphs = drawnGlyphs(printed);
    EXPECT_GT(glyphs.size(), 200);
    EXPECT_EQ(glyphs.join(u'\n').toStdString(), drawnGlyphs(drawn).join(u'\n').toStdString());
}

TEST(TextPrinter, TellsItsProgressAPageAtATimeAndStopsWhereCancelled)
{
    TempFiles files;
    const QString pdf = files.path(QStringLiteral("p.pdf"));
    QStringList lines;
    for (int n = 0; n < 400; ++n)
        lines << QStringLiteral("Brano numero %1 [03.45] [4.321 KB]").arg(n);
    const QString text = lines.join(QStringLiteral("\r\n"));
    StepsTaken whole;
    const qsizetype pages = printedPages(pdf, text, &whole);
    ASSERT_GE(pages, 4);
    ASSERT_EQ(qsizetype(whole.steps.size()), pages - 1) << "one step as each page after the first begins";
    for (size_t i = 1; i < whole.steps.size(); ++i)
        EXPECT_GT(whole.steps[i].first, whole.steps[i - 1].first);
    EXPECT_EQ(whole.steps.back().second, 400);

    StepsTaken cancelled(2);
    QPrinter printer(QPrinter::HighResolution);
    printIntoPdf(printer, pdf);
    // A PDF file cannot be withdrawn: it ends with the pages made.
    EXPECT_EQ(printText(printer, text, &cancelled), DesktopDialogs::PrintOutcome::CancelledPartlySent);
    EXPECT_EQ(cancelled.steps.size(), 2u) << "nothing printed after Annulla";
    EXPECT_EQ(pdfPages(pdf), 3);
}
