#include "dialogs/Twips.h"
#include "mainwindow/Form1.h"
#include "mainwindow/WindowLayout.h"
#include "catalogue/ListFile.h"
#include "mainwindow/CatalogueView.h"
#include "mainwindow/ScanProgressFrame.h"
#include "mainwindow/StatusLine.h"
#include "platform/IniFile.h"
#include "platform/KeyValueStore.h"
#include "tests/mainwindow/WindowTest.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenuBar>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace sonivo;
using namespace sonivo::test;

namespace {

const QString kFixtures = QStringLiteral(SONIVO_FIXTURES);

class Form1Test : public WindowTest {
protected:
    // A folder holding copies of the four fixture songs.
    QString songFolder(const QString& name = QStringLiteral("songs/"))
    {
        const QString folder = files.path(name);
        QDir().mkpath(folder);
        for (const QString& song : QDir(kFixtures).entryList({QStringLiteral("*.mp3")}))
            QFile::copy(kFixtures + QLatin1Char('/') + song, folder + song);
        return folder;
    }

    static const Catalogue& rows(Form1& w) { return w.document().catalogue(); }
    static QString column(Form1& w, int row, int c) { return rows(w).row(row).text(c); }

    void scan(Form1& w, const QString& folder, bool tree = false)
    {
        dialogs.folders.push_back(folder);
        w.action(tree ? QStringLiteral("addFolderTree") : QStringLiteral("addFolder"))->trigger();
    }

    // A tree of three folders of four songs each, scanned: its top folder.
    QString scanTree(Form1& w)
    {
        const QString top = files.path(QStringLiteral("tree/"));
        for (const char* sub : {"a/", "b/", "c/"})
            songFolder(QStringLiteral("tree/") + QString::fromLatin1(sub));
        scan(w, top, true);
        return top;
    }
};

SongRecord song(const QString& name, const QString& size, const QString& duration)
{
    SongRecord r;
    r.setColumn(ColFileName, name);
    r.setColumn(ColSize, size);
    r.setColumn(ColFolder, QStringLiteral("/music/"));
    r.setColumn(ColDuration, duration);
    return r;
}

}  // namespace

TEST_F(Form1Test, StartsWithTheListNamedOnTheCommandLine)
{
    Catalogue c;
    c.append(song(QStringLiteral("a.mp3"), QStringLiteral("1 KB"), QStringLiteral("59.59")));
    c.append(song(QStringLiteral("b.mp3"), QStringLiteral("2 KB"), QStringLiteral("00.01")));
    const QString list = files.path(QStringLiteral("my list.svl"));
    ASSERT_TRUE(SalvaLista(list, c).ok);

    Form1 w(services());
    w.start(list);
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Sonivo - ") + list);
    EXPECT_EQ(w.view().reportView()->model()->rowCount(), 2);
    EXPECT_FALSE(w.document().isModified());
    EXPECT_EQ(w.statusLine().text(3), QStringLiteral("Durata totale 01:00:00"));
    EXPECT_TRUE(w.statusLine().text(2).startsWith(QStringLiteral("Presenti 2 brani. Spazio: ")));
    EXPECT_TRUE(w.toolButton(QStringLiteral("Salva"))->isEnabled()) << "the rules ran after the load, not at the next tick";
    EXPECT_TRUE(dialogs.notices.isEmpty());
    EXPECT_FALSE(w.windowIcon().isNull());
}

TEST_F(Form1Test, AListThatCannotBeOpenedLeavesTheRowsTheirIconsAndTheTitle)
{
    Form1 w(services());
    w.start(QString());
    scan(w, songFolder());
    const QString list = files.path(QStringLiteral("saved.svl"));
    dialogs.files = {list};
    w.toolButton(QStringLiteral("Salva"))->click();
    ASSERT_EQ(w.windowTitle(), QStringLiteral("Sonivo - ") + list);

    const QString missing = files.path(QStringLiteral("nowhere.svl"));
    dialogs.files = {missing};
    w.toolButton(QStringLiteral("Apri"))->click();
    ASSERT_EQ(dialogs.notices.size(), 1);
    EXPECT_TRUE(dialogs.notices[0].endsWith(QStringLiteral("La lista dei brani non è cambiata.")));
    ASSERT_EQ(rows(w).size(), 4);
    for (qsizetype i = 0; i < rows(w).size(); ++i) {
        const QModelIndex name = w.view().reportView()->model()->index(int(i), ColFileName);
        EXPECT_FALSE(name.data(Qt::DecorationRole).value<QIcon>().isNull()) << "row " << i << " keeps its icon";
    }
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Sonivo - ") + list);
    EXPECT_FALSE(w.document().isModified());
}

TEST_F(Form1Test, ClosingDuringAnOpenStopsTheReadKeepsTheListAndThenCloses)
{
    Form1 w(services());
    w.start(QString());
    w.show();  // a hidden window is closed without asking
    scan(w, songFolder());
    const QString list = files.path(QStringLiteral("saved.svl"));
    dialogs.files = {list};
    w.toolButton(QStringLiteral("Salva"))->click();
    ASSERT_EQ(rows(w).size(), 4);
    Catalogue other;
    other.append(song(QStringLiteral("x.mp3"), QStringLiteral("1 KB"), QStringLiteral("00.01")));
    const QString otherList = files.path(QStringLiteral("other.svl"));
    ASSERT_TRUE(SalvaLista(otherList, other).ok);

    // Closed during a read: the read stops, the rows stay, then the window closes.
    bool closedAtOnce = true;
    dialogs.progressShown.clear();
    dialogs.atStep = [&] { closedAtOnce = w.close(); };
    dialogs.files = {otherList};
    w.toolButton(QStringLiteral("Apri"))->click();
    dialogs.atStep = nullptr;
    EXPECT_FALSE(closedAtOnce) << "not in the middle of a read";
    EXPECT_EQ(dialogs.progressShown, QStringList{QStringLiteral("Apertura della lista in corso...")});
    EXPECT_EQ(rows(w).size(), 4);
    EXPECT_EQ(w.view().reportView()->model()->rowCount(), 4);
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Sonivo - ") + list);
    QApplication::processEvents();  // the close asked for during the read
    EXPECT_FALSE(w.isVisible());
}

TEST_F(Form1Test, AScanShowsItsRowsAndAHeaderClickTurnsTheOrder)
{
    Form1 w(services());
    w.start(QString());
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Sonivo - Nuova lista"));
    scan(w, songFolder());
    ASSERT_EQ(rows(w).size(), 4);
    EXPECT_TRUE(w.document().isModified());
    EXPECT_EQ(w.progressFrame()->foundText(), QStringLiteral("Totale brani individuati: 4"));
    EXPECT_TRUE(w.progressFrame()->isHidden()) << "the frame goes with the scan, also in a window not shown";
    EXPECT_TRUE(w.statusLine().text(2).startsWith(QStringLiteral("Presenti 4 brani.")));
    EXPECT_EQ(QApplication::overrideCursor(), nullptr) << "the busy pointer goes with the scan";

    // A header click flips the order whatever column was sorted before; the
    // selected song stays selected and current wherever it goes.
    QTableView* table = w.view().reportView();
    table->selectRow(2);
    const QString selected = column(w, 2, ColFileName);
    w.view().headerClicked(ColSampleRate);
    EXPECT_EQ(w.view().sortColumn(), ColSampleRate);
    EXPECT_FALSE(w.view().isAscending());
    EXPECT_TRUE(w.orderEntry(ColSampleRate)->isChecked());
    EXPECT_FALSE(w.orderEntry(0)->isChecked());
    const QModelIndexList still = table->selectionModel()->selectedRows();
    ASSERT_EQ(still.size(), 1);
    EXPECT_EQ(column(w, still[0].row(), ColFileName), selected);
    EXPECT_EQ(table->currentIndex().row(), still[0].row());
    EXPECT_TRUE(table->horizontalHeader()->isSortIndicatorShown());

    w.view().headerClicked(ColSampleRate);
    EXPECT_TRUE(w.view().isAscending());
    w.orderEntry(ColFileName)->trigger();
    EXPECT_EQ(w.view().sortColumn(), ColFileName);
    EXPECT_TRUE(w.view().isAscending());
    EXPECT_TRUE(w.action(QStringLiteral("sortAscending"))->isChecked());
    EXPECT_FALSE(w.action(QStringLiteral("sortDescending"))->isChecked());

    // Rows added unsorted: the sort arrow no longer shows.
    scan(w, songFolder(QStringLiteral("more/")));
    EXPECT_EQ(rows(w).size(), 8);
    EXPECT_FALSE(table->horizontalHeader()->isSortIndicatorShown());

    dialogs.answers.push_back(DesktopDialogs::Answer::No);
    w.action(QStringLiteral("newList"))->trigger();
    EXPECT_EQ(w.statusLine().text(2), QStringLiteral("Presenti 0 brani. Spazio: 0 KB"));
}

TEST_F(Form1Test, TheScanShowsWhatItDoesAndAsksOnceForAllFolders)
{
    Form1 w(services());
    w.start(QString());
    const QString top = scanTree(w);
    ASSERT_EQ(rows(w).size(), 12);
    // The selected row is in the last folder the update reads again: its row goes.
    w.view().reportView()->selectRow(11);
    const RowId kept = rows(w).id(11);
    w.show();
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    w.view().reportView()->setFocus();

    // During the scan: the busy pointer and the scan's text in the status line.
    QString statusDuringScan;
    const QCursor* pointer = nullptr;
    dialogs.whileAskingYesNo = [&] {
        statusDuringScan = w.statusLine().text(2);
        pointer = QApplication::overrideCursor();
    };
    dialogs.answers.push_back(DesktopDialogs::Answer::No);
    dialogs.answers.push_back(DesktopDialogs::Answer::YesToAll);
    scan(w, top, true);
    EXPECT_EQ(statusDuringScan, QStringLiteral("Scansione cartelle in corso... 12 brani rilevati."));
    ASSERT_NE(pointer, nullptr);
    EXPECT_EQ(pointer->shape(), Qt::WaitCursor);
    EXPECT_EQ(dialogs.asked.count(), 4) << "two folder choices, then No and Yes to all; the last folder is not asked";
    const QString question = dialogs.asked[2];
    EXPECT_TRUE(question.startsWith(QStringLiteral("La cartella '") + top)) << "the path as it is, not in capitals";
    EXPECT_TRUE(question.endsWith(QStringLiteral("/' è già presente nell'elenco.\nVuoi aggiornarla?")));
    EXPECT_EQ(rows(w).size(), 12) << "the first folder kept, the other two read again";
    EXPECT_TRUE(w.statusLine().text(2).startsWith(QStringLiteral("Presenti 12 brani.")));
    EXPECT_EQ(rows(w).position(kept), Catalogue::kGone);
    EXPECT_TRUE(w.view().reportView()->selectionModel()->selectedRows().isEmpty()) << "the removed row's selection went with it";
    EXPECT_EQ(QApplication::focusWidget(), w.view().reportView()) << "the keys work on the catalogue again after the scan";
}

TEST_F(Form1Test, ClosingDuringAScanStopsItThenAsksAboutTheChanges)
{
    Form1 w(services());
    w.start(QString());
    w.show();  // a hidden window is closed without asking
    const QString top = scanTree(w);
    ASSERT_EQ(rows(w).size(), 12);

    // Closed at the first update question, whose answer is Yes: the folder being
    // updated stays whole, nothing else is read, and then the window asks.
    bool closedAtOnce = true;
    bool menusDuringScan = true;
    dialogs.whileAskingYesNo = [&] {
        menusDuringScan = w.menuBar()->isEnabled();
        closedAtOnce = w.close();
    };
    dialogs.answers.push_back(DesktopDialogs::Answer::Yes);
    scan(w, top, true);
    dialogs.whileAskingYesNo = nullptr;
    EXPECT_FALSE(closedAtOnce) << "not in the middle of a scan";
    EXPECT_FALSE(menusDuringScan) << "only the scan's own button answers during a scan";
    EXPECT_EQ(rows(w).size(), 12);
    EXPECT_EQ(dialogs.asked.count(), 3) << "one update question, then the scan stopped";
    EXPECT_TRUE(w.menuBar()->isEnabled());

    dialogs.answers.push_back(DesktopDialogs::Answer::Cancel);
    QApplication::processEvents();  // the close asked for during the scan
    EXPECT_TRUE(w.isVisible()) << "the changes are asked about, and Cancel keeps the window";
    EXPECT_EQ(dialogs.asked.count(QStringLiteral("La lista dei brani è stata modificata.\nVuoi salvare le modifiche?")), 1);
    dialogs.answers.push_back(DesktopDialogs::Answer::No);
    EXPECT_TRUE(w.close());
}

TEST_F(Form1Test, AnnullaStopsTheScanAndKeepsTheFolderBeingUpdatedWhole)
{
    Form1 w(services());
    w.start(QString());
    const QString top = scanTree(w);
    ASSERT_EQ(rows(w).size(), 12);
    dialogs.whileAskingYesNo = [&] { w.progressFrame()->cancelButton()->click(); };
    dialogs.answers.push_back(DesktopDialogs::Answer::Yes);
    scan(w, top, true);
    EXPECT_EQ(rows(w).size(), 12) << "the folder whose rows were taken out for the update has them back";
    EXPECT_EQ(dialogs.asked.count(), 3) << "one update question, then the scan stopped";
    EXPECT_FALSE(w.progressFrame()->isVisible());
    EXPECT_EQ(w.progressFrame()->cancelButton()->text(), QStringLiteral("Annulla"));
}

TEST_F(Form1Test, SpaceTogglesTheCheckFromAnyColumn)
{
    Form1 w(services());
    w.start(QString());
    scan(w, songFolder());
    QTableView* table = w.view().reportView();
    table->setCurrentIndex(table->model()->index(1, ColArtist));
    QKeyEvent space(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
    QApplication::sendEvent(table, &space);
    EXPECT_TRUE(rows(w).isChecked(1));
    QApplication::sendEvent(table, &space);
    EXPECT_FALSE(rows(w).isChecked(1));
}

TEST_F(Form1Test, PlacementIsWrittenAtCloseAndReadAtStart)
{
    const FormServices s = services();
    {
        Form1 w(s);
        w.start(QString());
        w.resize(800, 600);
        ASSERT_TRUE(w.close());
    }
    {
        Form1 w(s);
        w.start(QString());
        EXPECT_EQ(w.width(), 800);
        EXPECT_EQ(w.height(), 600);
    }
    // Maximized by the window's own setting, or by the start option of the options dialog.
    IniFile settings(s.settingsFile);
    settings.setValue(QStringLiteral("Opzioni"), QStringLiteral("Maximized"), QStringLiteral("1"));
    ASSERT_TRUE(settings.save());
    for (const bool startOption : {false, true}) {
        if (startOption) {
            settings.setValue(QStringLiteral("Opzioni"), QStringLiteral("Maximized"), QStringLiteral("0"));
            ASSERT_TRUE(settings.save());
            ASSERT_TRUE(KeyValueStore(s.registryFile).setValue(QStringLiteral("Sonivo"), QStringLiteral("Max"), QStringLiteral("1")));
        }
        Form1 w(s);
        w.start(QString());
        EXPECT_TRUE(w.windowState() & Qt::WindowMaximized) << startOption;
    }
}

TEST_F(Form1Test, SettingsFilesOfGarbageKeepTheDesignSize)
{
    const FormServices s = services();
    QDir().mkpath(files.path(QStringLiteral("config")));
    files.write(QStringLiteral("config/registry.ini"), QByteArray("\x00\xff[Sonivo\nMax=1\n", 16));

    for (const char* content : {"\x01\x02garbage\xff\n[Opzioni\nWidth=\n", "[Opzioni]\nMaximized=0\nWidth=1e300\nHeight=99999999999\n",
             "[Opzioni]\nMaximized=0\nWidth=abc\nHeight=-5\n", "[Opzioni]\nMaximized=2\nWidth=6000\nHeight=6000\n"}) {
        files.write(QStringLiteral("config/sonivo.ini"), QByteArray(content));
        Form1 w(s);
        w.start(QString());
        const int twips = twipsPerPixel(w.logicalDpiX());
        EXPECT_EQ(w.size(), QSize(kMinWindowWidth / twips, kMinWindowHeight / twips)) << content;
        EXPECT_FALSE(w.windowState() & Qt::WindowMaximized);
    }
    EXPECT_TRUE(dialogs.notices.isEmpty());
}

TEST_F(Form1Test, DisplayOptionsAndViewModes)
{
    Form1 w(services());
    w.start(QString());
    QTableView* table = w.view().reportView();
    QHeaderView* header = table->horizontalHeader();
    EXPECT_TRUE(w.action(QStringLiteral("showGrid"))->isChecked());
    EXPECT_TRUE(table->showGrid());
    w.action(QStringLiteral("showGrid"))->trigger();
    EXPECT_FALSE(table->showGrid());
    w.action(QStringLiteral("boldHeader"))->trigger();
    EXPECT_TRUE(header->font().bold());
    w.action(QStringLiteral("boldHeader"))->trigger();
    EXPECT_FALSE(header->font().bold());

    // Bold shows also on flat headers: the drawn header changes with it.
    w.resize(900, 600);
    w.show();
    w.action(QStringLiteral("flatHeader"))->trigger();
    EXPECT_FALSE(header->styleSheet().isEmpty());
    const QImage flat = header->grab().toImage();
    w.action(QStringLiteral("boldHeader"))->trigger();
    EXPECT_NE(header->grab().toImage(), flat) << "bold has an effect on the flat header";
    w.action(QStringLiteral("boldHeader"))->trigger();
    EXPECT_EQ(header->grab().toImage(), flat);
    w.action(QStringLiteral("flatHeader"))->trigger();
    EXPECT_TRUE(header->styleSheet().isEmpty()) << "back to the button look";

    QAction* listMode = w.action(QStringLiteral("listMode"));
    QAction* reportMode = w.action(QStringLiteral("reportMode"));
    EXPECT_FALSE(listMode->isChecked());
    EXPECT_FALSE(reportMode->isChecked());
    listMode->trigger();
    EXPECT_TRUE(listMode->isChecked());
    EXPECT_FALSE(reportMode->isChecked());
    reportMode->trigger();
    EXPECT_FALSE(listMode->isChecked());
    EXPECT_TRUE(reportMode->isChecked());
}
