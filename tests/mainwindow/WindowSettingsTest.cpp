#include "mainwindow/CatalogueView.h"
#include "mainwindow/Form1.h"
#include "mainwindow/WindowLayout.h"
#include "platform/IniFile.h"
#include "platform/RegistryEntries.h"
#include "tests/mainwindow/WindowTest.h"

#include <QDir>
#include <QFileInfo>
#include <QListView>
#include <QStyle>
#include <QTableView>

#include <gtest/gtest.h>

using namespace sonivo;
using namespace sonivo::test;

using WindowSettingsTest = WindowTest;

TEST_F(WindowSettingsTest, ClosingWritesThePlacementAndKeepsTheFilesOtherLines)
{
    const FormServices s = services();
    QDir().mkpath(files.path(QStringLiteral("config")));
    files.write(QStringLiteral("config/sonivo.ini"), "[Opzioni]\nMaximized=0\nWidth=12000\nHeight=9000\n; mine\n");
    Form1 w(s);
    w.start(QString());
    w.resize(700, 500);
    ASSERT_TRUE(w.close());
    EXPECT_EQ(TempFiles::read(s.settingsFile), QByteArray("[Opzioni]\nMaximized=0\nWidth=10500\nHeight=7500\n; mine\n"));
    EXPECT_TRUE(dialogs.notices.isEmpty());
}

TEST_F(WindowSettingsTest, ASettingsFileThatCannotBeWrittenIsLeftAndTheUserIsTold)
{
    const FormServices s = services();
    QDir().mkpath(s.settingsFile);  // a folder where the file should be
    Form1 w(s);
    w.start(QString());
    ASSERT_TRUE(w.close());
    EXPECT_TRUE(QFileInfo(s.settingsFile).isDir());
    ASSERT_EQ(dialogs.notices.size(), 1);
    EXPECT_TRUE(dialogs.notices.first().startsWith(QStringLiteral("warn: La posizione della finestra non è stata salvata")))
        << dialogs.notices.first().toStdString();
    EXPECT_TRUE(dialogs.notices.first().endsWith(QStringLiteral("Il file delle impostazioni è rimasto com'era.")));
}

TEST_F(WindowSettingsTest, TheFirstWindowTakesMostOfTheScreenNeverLessThanTheMinimum)
{
    const QSize minimum(667, 474);
    EXPECT_EQ(firstWindowSize(QSize(800, 600), minimum).expandedTo(minimum), firstWindowSize(QSize(800, 600), minimum))
        << "an 800x600 screen still gets the minimum";
    for (const QSize screen : {QSize(1366, 768), QSize(1920, 1080), QSize(3840, 2160)}) {
        const QSize first = firstWindowSize(screen, minimum);
        EXPECT_TRUE(first.width() <= screen.width() && first.height() <= screen.height()) << screen.width();
        EXPECT_GT(first.width() * first.height(), screen.width() * screen.height() / 2) << "most of a " << screen.width() << " screen";
    }

    Form1 w(services());
    w.start(QString());
    EXPECT_GE(w.width(), w.minimumWidth());
    EXPECT_GE(w.height(), w.minimumHeight());

    // A long name takes no more than a share of the view: the columns after it show.
    SongRecord song;
    song.setColumn(ColFileName, QString(300, QLatin1Char('x')) + QStringLiteral(".mp3"));
    song.setColumn(ColSize, QStringLiteral("1.024 KB"));
    w.document().catalogue().append(song);
    w.show();
    w.view().refreshIcons();
    QTableView* table = w.view().reportView();
    EXPECT_LT(table->columnViewportPosition(ColSize), table->viewport()->width());
}

TEST_F(WindowSettingsTest, ListModeCellsAreAsHighAsTheIconsTheyDraw)
{
    Form1 w(services());
    w.start(QString());
    for (const char* name : {"a.mp3", "b.mp3"}) {
        SongRecord song;
        song.setColumn(ColFileName, QString::fromLatin1(name));
        w.document().catalogue().append(song);
    }
    w.show();
    w.view().refreshIcons();
    w.view().showListMode();
    QListView* list = w.view().listView();
    const int icon = list->style()->pixelMetric(QStyle::PM_ListViewIconSize, nullptr, list);
    const int rowStep = list->visualRect(list->model()->index(1, 0)).top() - list->visualRect(list->model()->index(0, 0)).top();
    EXPECT_GE(rowStep, icon) << "the icons of two rows would overlap";
}

TEST_F(WindowSettingsTest, ScansReadId3v2TagsOnlyWhenTheOptionSaysSo)
{
    const FormServices s = services();
    {
        Form1 w(s);
        w.start(QString());
        EXPECT_FALSE(w.app().readsId3v2()) << "off by default";
    }
    ASSERT_TRUE(RegistryEntries(s.registryFile).setReadsId3v2(true));
    Form1 w(s);
    w.start(QString());
    EXPECT_TRUE(w.app().readsId3v2());
}
