#include "catalogue/ListFile.h"
#include "mainwindow/CatalogueView.h"
#include "mainwindow/Form1.h"
#include "tests/mainwindow/WindowTest.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QImage>
#include <QMouseEvent>
#include <QScreen>
#include <QScrollBar>
#include <QTableView>

#include <gtest/gtest.h>

using namespace sonivo;
using namespace sonivo::test;

namespace {

class WindowFaultsTest : public WindowTest {
protected:
    // A list of n rows with names and durations of their own.
    QString listOf(int n)
    {
        Catalogue c;
        for (int i = 0; i < n; ++i) {
            SongRecord r;
            r.setColumn(ColFileName, QStringLiteral("brano %1.mp3").arg(i));
            r.setColumn(ColFolder, QStringLiteral("/musica/cartella %1/").arg(i % 7));
            r.setColumn(ColSize, QStringLiteral("%1 KB").arg(1000 + i));
            r.setColumn(ColDuration, QStringLiteral("0%1.%2").arg(i % 10).arg(10 + i % 50));
            c.append(r);
        }
        const QString path = files.path(QStringLiteral("list.svl"));
        EXPECT_TRUE(SalvaLista(path, c).ok);
        return path;
    }
};

// The number of pixels of a section of the header that are darker than its
// background: its caption and its arrow.
int inkOf(QHeaderView* header, int logical)
{
    const QImage image = header->grab().toImage();
    const int x0 = header->sectionViewportPosition(logical);
    const QRgb background = image.pixel(x0 + header->sectionSize(logical) - 3, 2);
    int ink = 0;
    for (int x = x0 + 1; x < x0 + header->sectionSize(logical) - 1; ++x)
        for (int y = 1; y < image.height() - 1; ++y)
            ink += qGray(image.pixel(x, y)) + 60 < qGray(background);
    return ink;
}

// A click of the left button at a point of a widget.
void click(QWidget* widget, const QPoint& at)
{
    const QPointF local(at);
    const QPointF global(widget->mapToGlobal(at));
    QMouseEvent press(QEvent::MouseButtonPress, local, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, local, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &release);
}

}  // namespace

TEST_F(WindowFaultsTest, TheSortedColumnKeepsItsCaptionAndShowsItsArrow)
{
    Form1 w(services());
    w.start(listOf(30));
    w.resize(1000, 700);
    w.show();
    QHeaderView* header = w.view().reportView()->horizontalHeader();
    const int unsorted = inkOf(header, ColFolder);
    click(header->viewport(), QPoint(header->sectionViewportPosition(ColFolder) + 10, header->height() / 2));
    QApplication::processEvents();
    EXPECT_EQ(header->sortIndicatorSection(), ColFolder);
    EXPECT_TRUE(header->isSortIndicatorShown());
    const int sorted = inkOf(header, ColFolder);
    EXPECT_GT(sorted, unsorted) << "the caption and the arrow";
    const QImage ascending = header->grab().toImage();
    click(header->viewport(), QPoint(header->sectionViewportPosition(ColFolder) + 10, header->height() / 2));
    EXPECT_GT(inkOf(header, ColFolder), unsorted);
    EXPECT_NE(header->grab().toImage(), ascending) << "the arrow turns with the order";
}

TEST_F(WindowFaultsTest, AfterAScanTheHeaderIsDrawnForTheNewColumnWidths)
{
    Form1 w(services());
    w.start(QString());
    w.resize(1000, 700);
    w.show();
    QApplication::processEvents();
    const QString folder = files.path(QStringLiteral("songs/"));
    QDir().mkpath(folder);
    for (const QString& song : QDir(QStringLiteral(SONIVO_FIXTURES)).entryList({QStringLiteral("*.mp3")}))
        QFile::copy(QStringLiteral(SONIVO_FIXTURES "/") + song, folder + song);
    dialogs.folders.push_back(folder);
    w.command(Command::AddFolder)->trigger();
    QApplication::processEvents();
    // Scrolled to the right, then a folder of longer names widens the columns.
    QTableView* table = w.view().reportView();
    table->horizontalScrollBar()->setValue(table->horizontalScrollBar()->maximum());
    QApplication::processEvents();
    const QString longer = files.path(QStringLiteral("a folder with a much longer name than the first one/"));
    QDir().mkpath(longer);
    for (const QString& song : QDir(folder).entryList({QStringLiteral("*.mp3")}))
        QFile::copy(folder + song, longer + QStringLiteral("a much longer file name for the song ") + song);
    dialogs.folders.push_back(longer);
    w.command(Command::AddFolder)->trigger();
    QApplication::processEvents();
    QHeaderView* header = w.view().reportView()->horizontalHeader();
    // What the screen shows of the header is what the header would draw now.
    const QPoint at = header->mapTo(&w, QPoint(0, 0));
    const QImage shown = w.screen()->grabWindow(w.winId()).toImage().copy(QRect(at, header->size()));
    const QImage current = header->grab().toImage();
    EXPECT_EQ(shown.convertToFormat(QImage::Format_RGB32), current.convertToFormat(QImage::Format_RGB32));
    EXPECT_EQ(header->offset(), table->columnViewportPosition(0) * -1) << "the header scrolled with the rows";
}
