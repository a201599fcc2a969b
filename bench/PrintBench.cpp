// Printing the text list of a large list into a PDF file, as the report dialog
// prints it on a printer: the text made in memory, then laid out on the pages.
//   bench-print FILE.svl OUTPUT.pdf [ROWS]   the first ROWS rows (200,000)
// Runs on the offscreen platform unless QT_QPA_PLATFORM says otherwise.

#include "bench/BenchWindow.h"
#include "bench/StepMemory.h"
#include "bench/Timed.h"
#include "catalogue/ListFile.h"
#include "dialogs/TextPrinter.h"
#include "reports/TextList.h"

#include <QApplication>
#include <QPrinter>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

using namespace sonivo;

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: bench-print FILE.svl OUTPUT.pdf [ROWS]\n");
        return 2;
    }
    offscreenUnlessAsked();
    QApplication app(argc, argv);  // the fonts the printed text is laid out in
    Catalogue catalogue;
    if (!ApriLista(QString::fromLocal8Bit(argv[1]), catalogue).ok) {
        std::fprintf(stderr, "cannot load the list\n");
        return 1;
    }
    const qsizetype rows = std::min<qsizetype>(catalogue.size(), argc > 3 ? std::atoll(argv[3]) : 200000);
    std::vector<RowId> first;
    for (qsizetype row = 0; row < rows; ++row)
        first.push_back(catalogue.id(row));

    const StepMemory memory;
    QString text;
    timed("text list in memory", [&] { text = textList(ReportSource(catalogue, first), {true, true}); });
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromLocal8Bit(argv[2]));
    bool printed = false;
    timed("printed into the PDF file", [&] { printed = printText(printer, text) == DesktopDialogs::PrintOutcome::Printed; });
    std::printf("%lld rows, %.1f MB over the %.0f MB held before\n", static_cast<long long>(rows), memory.grownMB(), memory.beforeMB());
    return printed ? 0 : 1;
}
