#include "dialogs/frmTag.h"
#include "mainwindow/CatalogueView.h"
#include "mainwindow/Form1.h"
#include "tests/mainwindow/WindowTest.h"
#include "tests/support/SongRows.h"

#include <QAction>
#include <QApplication>
#include <QTableView>
#include <QTimer>
#include <QMenu>
#include <QToolButton>
#include <functional>
#include <map>

#include <gtest/gtest.h>

using namespace sonivo;
using namespace sonivo::test;

namespace {

class SearchAndTagCommands : public WindowTest {
protected:
    std::unique_ptr<Form1> window;

    void SetUp() override
    {
        window = std::make_unique<Form1>(services());
        window->start(QString());
        for (const char* name : {"a.mp3", "b.mp3"}) {
            SongRecord r = songIn(QLatin1String(name), files.path(QString()));
            r.setColumn(ColAlbum, QStringLiteral("Sky"));
            window->document().catalogue().append(r);
        }
        window->applyEnablingRules();
    }
    void selectRow(int row)
    {
        QTableView* table = window->view().reportView();
        table->setCurrentIndex(table->model()->index(row, 0));
    }
};

}  // namespace

TEST_F(SearchAndTagCommands, ADoubleClickOpensTheTagEditorForTheSelectedRowAndAgainForTheNext)
{
    QTableView* table = window->view().reportView();
    Q_EMIT table->doubleClicked(table->model()->index(0, 0));
    EXPECT_EQ(window->findChild<frmTag*>(), nullptr) << "nothing happens with no row selected";

    selectRow(1);
    Q_EMIT table->doubleClicked(table->currentIndex());
    frmTag* editor = window->findChild<frmTag*>();
    ASSERT_NE(editor, nullptr);
    EXPECT_TRUE(editor->isVisible());
    EXPECT_EQ(editor->row(), window->document().catalogue().id(1));

    selectRow(0);
    Q_EMIT table->doubleClicked(table->currentIndex());
    EXPECT_EQ(window->findChildren<frmTag*>().size(), 1) << "one editor, reloaded";
    EXPECT_EQ(editor->row(), window->document().catalogue().id(0));
}

TEST_F(SearchAndTagCommands, TheMenuEntriesAndTheFindButtonOpenTheirDialogs)
{
    EXPECT_FALSE(window->command(Command::ViewTag)->isEnabled()) << "enabled while a song is loaded";
    ASSERT_TRUE(window->command(Command::SearchSong)->isEnabled());
    ASSERT_TRUE(window->command(Command::SearchAlbum)->isEnabled());
    EXPECT_EQ(withModal([&] { window->command(Command::SearchSong)->trigger(); }), QStringLiteral("Ricerca brani"));
    EXPECT_EQ(withModal([&] { window->command(Command::SearchAlbum)->trigger(); }), QStringLiteral("Ricerca per Album"));

    QToolButton* find = window->toolButton(QStringLiteral("Trova"));
    ASSERT_NE(find, nullptr);
    EXPECT_TRUE(find->isEnabled());
    EXPECT_EQ(withModal([&] { find->click(); }), QStringLiteral("Ricerca brani"));
    ASSERT_NE(find->menu(), nullptr);
    std::map<QString, QAction*> entries;
    for (QAction* a : find->menu()->actions())
        entries[a->text()] = a;
    EXPECT_EQ(withModal([&] { entries.at(QStringLiteral("Brano"))->trigger(); }), QStringLiteral("Ricerca brani"));
    EXPECT_EQ(withModal([&] { entries.at(QStringLiteral("Album"))->trigger(); }), QStringLiteral("Ricerca per Album"));
    EXPECT_EQ(withModal([&] { entries.at(QStringLiteral("Cartella"))->trigger(); }), QStringLiteral("Ricerca per cartelle"));
}
