// The internal player of the main window, playing the fixture songs through the
// silent output on a clock the test moves.

#include "mainwindow/PlayerPanel.h"
#include "mainwindow/CatalogueModel.h"
#include "mainwindow/CatalogueView.h"
#include "dialogs/frmTag.h"
#include "mainwindow/Form1.h"
#include "tests/support/MediaFixtures.h"
#include "tests/mainwindow/WindowTest.h"
#include "tests/support/SongRows.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QListView>
#include <QMenu>
#include <QSlider>
#include <QStatusBar>
#include <QTableView>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace sonivo;
using namespace sonivo::test;

namespace {

class PlayerPanelTest : public WindowTest {
protected:
    std::shared_ptr<ManualClock> clock = std::make_shared<ManualClock>();
    std::unique_ptr<Form1> window = makeWindow();

    std::unique_ptr<Form1> makeWindow()
    {
        FormServices s = services();
        s.audio = AudioOptions{AudioOptions::Output::Null, clock};
        auto w = std::make_unique<Form1>(s);
        w->resize(1200, 800);
        w->show();
        return w;
    }

    Catalogue& catalogue() { return window->document().catalogue(); }
    PlayerPanel& player() { return window->player(); }
    Transport& transport() { return window->transport(); }
    RowId rowId(int row) { return catalogue().id(row - 1); }

    // A catalogue row for a copy of the tone at folder/name; with copy false the file is not there.
    void addSong(const QString& folder, const QString& name, bool copy = true)
    {
        catalogue().append(toneRow(files.path(folder + name), copy ? "tone-3s-8k.mp3" : nullptr));
        window->document().setModified(true);
    }

    // The user sets or clears a row's check box.
    void check(int row, bool on = true)
    {
        CatalogueModel* model = window->view().model();
        model->setData(model->index(row, 0), on ? Qt::Checked : Qt::Unchecked, Qt::CheckStateRole);
    }

    std::vector<qsizetype> queueRows()
    {
        std::vector<qsizetype> rows;
        for (RowId id : transport().queue().entries())
            rows.push_back(catalogue().position(id));
        return rows;
    }

    void selectEntry(int entry)
    {
        QListView* v = player().queueView();
        v->setCurrentIndex(v->model()->index(entry, 0));
    }

    QString playing()
    {
        return QFileInfo(transport().playerFile()).dir().dirName() + QLatin1Char('/') + QFileInfo(transport().playerFile()).fileName();
    }
};

}  // namespace

TEST_F(PlayerPanelTest, WhatThePlayerCouldNotDoIsReadInTheStatusLineNotInABox)
{
    addSong(QStringLiteral("s/"), QStringLiteral("gone.mp3"), false);
    transport().SuonaBrano(rowId(1));
    EXPECT_EQ(transport().state(), PlayerState::Stopped);
    EXPECT_TRUE(dialogs.notices.empty()) << "no box in the middle of playing";
    EXPECT_EQ(window->statusBar()->currentMessage(), QStringLiteral("File non trovato: ") + files.path(QStringLiteral("s/gone.mp3")));
    window->app().tick();
    EXPECT_EQ(player().positionLabel()->text(), QStringLiteral("00:00"));
}

TEST_F(PlayerPanelTest, AClickedRowIsLoadedNotPlayed)
{
    addSong(QStringLiteral("s/"), QStringLiteral("a.mp3"));
    window->app().tick();
    EXPECT_EQ(player().fileLabel()->text(), QStringLiteral("Nessun brano selezionato"));
    EXPECT_FALSE(player().transportButton(1)->isEnabled());
    EXPECT_FALSE(player().slider()->isEnabled());
    QTableView* rows = window->view().reportView();
    Q_EMIT rows->clicked(rows->model()->index(0, 0));
    EXPECT_EQ(transport().state(), PlayerState::Stopped);
    EXPECT_EQ(player().fileLabel()->text(), QStringLiteral("a"));
    EXPECT_TRUE(player().transportButton(1)->isEnabled()) << "at once, not at the next tick";
    EXPECT_TRUE(player().slider()->isEnabled());
    EXPECT_FALSE(player().transportButton(4)->isEnabled()) << "no queue to move in";
    EXPECT_EQ(player().transportButton(1)->accessibleName(), QStringLiteral("Suona"));
    player().transportButton(1)->click();
    EXPECT_EQ(transport().state(), PlayerState::Playing);
    EXPECT_TRUE(window->action(QStringLiteral("play"))->isChecked());
    player().transportButton(1)->click();
    EXPECT_TRUE(window->action(QStringLiteral("play"))->isChecked()) << "the mark shows the state, however often it is clicked";
    EXPECT_EQ(player().bitrateLabel()->text(), QStringLiteral("24 kbps"));
    EXPECT_EQ(player().durationLabel()->text(), QStringLiteral("Durata: 0:03"));
    player().transportButton(3)->click();
    EXPECT_EQ(transport().state(), PlayerState::Stopped);
    EXPECT_TRUE(window->action(QStringLiteral("stop"))->isChecked());
}

TEST_F(PlayerPanelTest, ClosingTheWindowStopsThePlayerUnlessTheCloseIsCancelled)
{
    addSong(QStringLiteral("t/"), QStringLiteral("c.mp3"));
    transport().SuonaBrano(rowId(1));
    ASSERT_EQ(transport().state(), PlayerState::Playing);
    dialogs.answers.push_back(DesktopDialogs::Answer::Cancel);
    EXPECT_FALSE(window->close());
    EXPECT_EQ(transport().state(), PlayerState::Playing) << "a cancelled close leaves the song playing";
    dialogs.answers.push_back(DesktopDialogs::Answer::No);
    EXPECT_TRUE(window->close());
    EXPECT_EQ(transport().state(), PlayerState::Stopped);
    EXPECT_EQ(transport().playerFile(), QString()) << "the player and its device are gone";
}

TEST_F(PlayerPanelTest, AClickedRowGoesToTheDesktopsPlayerThatMayRefuseIt)
{
    addSong(QStringLiteral("s/"), QStringLiteral("a.mp3"));
    addSong(QStringLiteral("s/"), QStringLiteral("b.mp3"));
    QAction* openSong = window->action(QStringLiteral("openSongExternally"));
    EXPECT_FALSE(openSong->isEnabled()) << "no row clicked";
    dialogs.desktopOpens = false;
    QTableView* rows = window->view().reportView();
    rows->setCurrentIndex(rows->model()->index(1, 0));
    rows->selectRow(1);
    Q_EMIT rows->clicked(rows->model()->index(1, 0));
    EXPECT_TRUE(openSong->isEnabled());
    EXPECT_TRUE(openSong->text().startsWith(QStringLiteral("Apri ")) && openSong->text().endsWith(QStringLiteral("...")));
    openSong->trigger();
    EXPECT_EQ(dialogs.opened.last(), files.path(QStringLiteral("s/b.mp3")));
    ASSERT_EQ(dialogs.notices.size(), 1);
    EXPECT_TRUE(dialogs.notices[0].contains(files.path(QStringLiteral("s/b.mp3"))));
}

TEST_F(PlayerPanelTest, OnlyTheUsersSliderMovesSeek)
{
    addSong(QStringLiteral("s/"), QStringLiteral("a.mp3"));
    transport().SuonaBrano(rowId(1));
    QSlider* slider = player().slider();
    slider->setSliderDown(true);  // the user holds it
    clock->advanceMs(1100);
    ASSERT_TRUE(eventually([&] {
        window->app().tick();
        return player().positionLabel()->text() == QStringLiteral("0:01");
    }));
    EXPECT_EQ(slider->value(), 0) << "not moved under the user's hand";
    slider->setSliderDown(false);
    window->app().tick();
    EXPECT_EQ(slider->value(), 1);
    EXPECT_EQ(slider->maximum(), 3);
    EXPECT_EQ(player().positionLabel()->text(), QStringLiteral("0:01")) << "the tick's own writes seek nowhere";

    slider->triggerAction(QAbstractSlider::SliderSingleStepAdd);  // a key or a click of the user
    window->app().tick();
    EXPECT_EQ(player().positionLabel()->text(), QStringLiteral("0:02"));
    transport().pause();
    slider->setSliderDown(true);
    slider->setSliderPosition(0);
    slider->setSliderDown(false);  // a drag let go
    transport().pause();
    window->app().tick();
    EXPECT_EQ(player().positionLabel()->text(), QStringLiteral("0:00")) << "seeking while paused";
}

TEST_F(PlayerPanelTest, TheQueueMenuRemovesEntriesAndTheirChecks)
{
    QListView* queue = player().queueView();
    auto* menu = window->findChild<QMenu*>();
    for (QMenu* m : window->findChildren<QMenu*>())
        if (m->title() == QStringLiteral("Popup"))
            menu = m;
    Q_EMIT queue->customContextMenuRequested(QPoint(2, 2));
    EXPECT_FALSE(menu->isVisible()) << "nothing to remove";

    for (const char* name : {"a.mp3", "b.mp3", "c.mp3"})
        addSong(QStringLiteral("s/"), QString::fromLatin1(name));
    for (int row : {2, 0, 1})
        check(row);
    Q_EMIT queue->customContextMenuRequested(QPoint(2, 2));
    EXPECT_TRUE(menu->isVisible());
    EXPECT_FALSE(window->action(QStringLiteral("removeQueueEntry"))->isVisible()) << "no entry selected";
    menu->hide();

    selectEntry(0);
    transport().playSelectedEntry();
    Q_EMIT queue->customContextMenuRequested(QPoint(2, 2));
    EXPECT_TRUE(window->action(QStringLiteral("removeQueueEntry"))->isVisible());
    menu->hide();
    window->action(QStringLiteral("removeQueueEntry"))->trigger();
    EXPECT_EQ(queueRows(), (std::vector<qsizetype>{0, 1})) << "the first entry in check order was row 2";
    EXPECT_FALSE(catalogue().isChecked(2)) << "a later sync does not bring it back";
    EXPECT_EQ(queue->toolTip(), QStringLiteral("Brani in lista: 2 - Durata brani in lista: 00:00:06"));
    EXPECT_EQ(queue->accessibleDescription(), queue->toolTip()) << "read by screen readers too";
    EXPECT_EQ(transport().state(), PlayerState::Playing) << "removing does not stop the song";

    window->action(QStringLiteral("removeAllQueueEntries"))->trigger();
    EXPECT_TRUE(transport().queue().isEmpty());
    EXPECT_EQ(test::checkedRows(catalogue()), 0);
    EXPECT_EQ(playing(), QStringLiteral("s/c.mp3"));
}

TEST_F(PlayerPanelTest, TheArrowKeysActAsARowClickAndEnterOpensTheSongAsADoubleClickDoes)
{
    addSong(QStringLiteral("s/"), QStringLiteral("a.mp3"));
    addSong(QStringLiteral("s/"), QStringLiteral("b.mp3"));
    QTableView* rows = window->view().reportView();
    rows->setFocus();
    rows->setCurrentIndex(rows->model()->index(0, 0));
    QTest::keyClick(rows, Qt::Key_Down);
    EXPECT_EQ(rows->currentIndex().row(), 1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !transport().playerFile().isEmpty(); })) << "loaded as a click loads it";
    EXPECT_EQ(playing(), QStringLiteral("s/b.mp3"));
    EXPECT_EQ(transport().state(), PlayerState::Stopped);
    EXPECT_TRUE(window->action(QStringLiteral("openSongExternally"))->isEnabled());
    EXPECT_TRUE(window->action(QStringLiteral("viewTag"))->isEnabled());
    // A key that cannot move (Down on the last row) still takes the row the keys are on.
    rows->clearSelection();
    window->action(QStringLiteral("openSongExternally"))->setEnabled(false);
    QTest::keyClick(rows, Qt::Key_Down);
    EXPECT_TRUE(QTest::qWaitFor([&] { return window->action(QStringLiteral("openSongExternally"))->isEnabled(); }));
    EXPECT_TRUE(rows->selectionModel()->isRowSelected(1, {}));

    QTest::keyClick(rows, Qt::Key_Return);
    auto* editor = window->findChild<frmTag*>();
    ASSERT_NE(editor, nullptr);
    EXPECT_TRUE(editor->isVisible());
    editor->close();

    // Shift+F10 opens the right-button menu at the current row, as the Menu key does.
    QTest::keyClick(rows, Qt::Key_F10, Qt::ShiftModifier);
    QMenu* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(popup, nullptr);
    EXPECT_TRUE(popup->actions().contains(window->action(QStringLiteral("viewTag"))));
    popup->close();
}

TEST_F(PlayerPanelTest, EnterPlaysAQueueEntryAndThePlayerAndMediaKeysWork)
{
    addSong(QStringLiteral("s/"), QStringLiteral("a.mp3"));
    addSong(QStringLiteral("s/"), QStringLiteral("b.mp3"));
    check(0);
    check(1);
    QListView* queue = player().queueView();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    queue->setFocus();
    selectEntry(1);
    QTest::keyClick(queue, Qt::Key_Return);
    EXPECT_EQ(playing(), QStringLiteral("s/b.mp3"));
    EXPECT_EQ(transport().state(), PlayerState::Playing);
    QTest::keyClick(queue, Qt::Key_F10, Qt::ShiftModifier);
    QMenu* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(popup, nullptr);
    EXPECT_TRUE(popup->actions().contains(window->action(QStringLiteral("removeQueueEntry"))));
    popup->close();

    // The Player menu's keys, shown beside its entries, and the keyboard's media keys.
    EXPECT_EQ(window->action(QStringLiteral("pause"))->shortcut(), QKeySequence(Qt::Key_F6));
    QTest::keyClick(queue, Qt::Key_F6);
    EXPECT_EQ(transport().state(), PlayerState::Paused);
    const auto mediaKey = [&](Qt::Key key) { QTest::sendKeyEvent(QTest::Click, queue, key, QString(), Qt::NoModifier); };
    mediaKey(Qt::Key_MediaTogglePlayPause);
    EXPECT_EQ(transport().state(), PlayerState::Playing);
    mediaKey(Qt::Key_MediaNext);
    EXPECT_EQ(playing(), QStringLiteral("s/a.mp3"));
    mediaKey(Qt::Key_MediaStop);
    EXPECT_EQ(transport().state(), PlayerState::Stopped);
    QTest::keyClick(queue, Qt::Key_F5);
    EXPECT_EQ(transport().state(), PlayerState::Playing);
}
