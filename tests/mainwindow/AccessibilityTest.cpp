#include "mainwindow/CatalogueView.h"
#include "mainwindow/Form1.h"
#include "mainwindow/ScanProgressFrame.h"
#include "mainwindow/StatusLine.h"
#include "tests/mainwindow/WindowTest.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSlider>
#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QMenuBar>
#include <QProgressBar>
#include <QStatusBar>
#include <QTableView>
#include <QToolBar>

#include <gtest/gtest.h>

using namespace sonivo;
using namespace sonivo::test;

namespace {

class AccessibilityTest : public WindowTest {
protected:
    // Rows whose total time passes 99 hours.
    static void addLongRows(Form1& w, int n)
    {
        std::vector<SongRecord> rows;
        for (int i = 0; i < n; ++i) {
            SongRecord r;
            r.setColumn(ColFileName, QStringLiteral("brano %1.mp3").arg(i));
            r.setColumn(ColFolder, QStringLiteral("/musica/"));
            r.setColumn(ColSize, QStringLiteral("987654 KB"));
            r.setColumn(ColDuration, QStringLiteral("59.59"));
            rows.push_back(r);
        }
        w.document().catalogue().append(std::move(rows));
        w.statusLine().refresh(w.document().catalogue());
    }
};

QString nameOf(QObject* object)
{
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(object);
    return a ? a->text(QAccessible::Name) : QStringLiteral("(no interface)");
}

std::vector<QLabel*> panelsOf(Form1& w)
{
    std::vector<QLabel*> panels;
    for (QLabel* l : w.statusBar()->findChildren<QLabel*>())
        if (!l->text().isEmpty())
            panels.push_back(l);
    return panels;
}

}  // namespace

TEST_F(AccessibilityTest, EveryControlHasANameInWords)
{
    Form1 w(services());
    w.start(QString());
    w.show();
    EXPECT_EQ(nameOf(w.findChild<QToolBar*>()), QStringLiteral("Barra degli strumenti"));
    EXPECT_EQ(nameOf(w.statusBar()), QStringLiteral("Riga di stato"));
    EXPECT_EQ(nameOf(w.menuBar()), QStringLiteral("Barra dei menu"));
    for (QWidget* control : w.findChildren<QWidget*>()) {
        const bool isControl = qobject_cast<QAbstractButton*>(control) || qobject_cast<QAbstractSlider*>(control)
            || qobject_cast<QAbstractItemView*>(control) || qobject_cast<QProgressBar*>(control);
        // The table's corner button is never shown: the rows have no header.
        if (!isControl || control->inherits("QTableCornerButton") || control->parent()->inherits("QAbstractScrollArea")
            || control->inherits("QScrollBar"))
            continue;
        const QString name = nameOf(control);
        EXPECT_FALSE(name.trimmed().isEmpty()) << control->metaObject()->className() << " " << control->objectName().toStdString();
        EXPECT_NE(name, QStringLiteral("Toolbar1"));
    }
}

TEST_F(AccessibilityTest, StatusPanelsAreReadAsTheirTextsAndNeverCutThem)
{
    Form1 w(services());
    w.start(QString());
    w.show();
    addLongRows(w, 240);
    w.resize(667, 474);  // the design's smallest window
    QApplication::processEvents();
    ASSERT_EQ(panelsOf(w).size(), 3u);
    EXPECT_EQ(w.statusLine().text(3), QStringLiteral("Durata totale 239:56:00"));
    // Also during a scan of a million songs, when panel 2 says more: panel 1 still shows the whole version.
    for (const bool scanning : {false, true}) {
        if (scanning)
            w.statusLine().showScanning(1000000);
        QApplication::processEvents();
        for (QLabel* panel : panelsOf(w)) {
            EXPECT_EQ(nameOf(panel), panel->text()) << "no fixed name hides the value";
            EXPECT_GE(panel->width(), panel->fontMetrics().horizontalAdvance(panel->text()) + 2 * panel->frameWidth())
                << panel->text().toStdString();
        }
    }
    EXPECT_EQ(w.statusLine().text(1), QStringLiteral("Sonivo - Versione 1.3.0"));
}

TEST_F(AccessibilityTest, TheScanProgressIsAProgressBarWithItsValue)
{
    Form1 w(services());
    w.start(QString());
    ProgressBox* box = w.progressFrame()->progressBox();
    w.progressFrame()->showProgress(3, 2);
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(box);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->role(), QAccessible::ProgressBar);
    EXPECT_EQ(a->text(QAccessible::Name), QStringLiteral("Avanzamento della scansione"));
    ASSERT_NE(a->valueInterface(), nullptr);
    EXPECT_EQ(a->valueInterface()->currentValue().toInt(), 66);
    EXPECT_EQ(a->valueInterface()->maximumValue().toInt(), 100);
    EXPECT_EQ(w.progressFrame()->levelText(), QStringLiteral("67%")) << "the label rounds";
    w.progressFrame()->showProgress(0, 0);
    EXPECT_EQ(w.progressFrame()->levelText(), QStringLiteral("0%"));
}

TEST_F(AccessibilityTest, CheckCellsSayWhetherTheyAreCheckedAndThatTheyCanBe)
{
    Form1 w(services());
    w.start(QString());
    w.show();
    addLongRows(w, 2);
    w.document().catalogue().setChecked(1, true);
    QAccessibleInterface* table = QAccessible::queryAccessibleInterface(w.view().reportView());
    ASSERT_NE(table, nullptr);
    ASSERT_NE(table->tableInterface(), nullptr);
    QAccessibleInterface* unchecked = table->tableInterface()->cellAt(0, ColFileName);
    QAccessibleInterface* checked = table->tableInterface()->cellAt(1, ColFileName);
    ASSERT_TRUE(unchecked && checked);
    EXPECT_EQ(unchecked->text(QAccessible::Name), QStringLiteral("brano 0.mp3"));
    EXPECT_EQ(unchecked->text(QAccessible::Description), QStringLiteral("selezionabile, non selezionato"));
    EXPECT_FALSE(unchecked->state().checked);
    EXPECT_EQ(checked->text(QAccessible::Description), QStringLiteral("selezionato"));
    EXPECT_TRUE(checked->state().checked);
}
