// The internal player of the main window, playing the fixture songs through the
// silent output on a clock the test moves.

#include "mainwindow/PlayerPanel.h"
#include "mainwindow/CatalogueModel.h"
#include "mainwindow/CatalogueView.h"
#include "mainwindow/ExternalPlayer.h"
#include "mainwindow/Form1.h"
#include "tests/support/MediaFixtures.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/SongRows.h"
#include "tests/support/TempFiles.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListView>
#include <QMenu>
#include <QSlider>
#include <QStatusBar>
#include <QTableView>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace sonivo;
using namespace sonivo::test;

namespace {

class PlayerPanelTest : public testing::Test {
protected:
    TempFiles files;
    ScriptedDialogs dialogs;
    std::shared_ptr<ManualClock> clock = std::make_shared<ManualClock>();
    std::unique_ptr<Form1> window = makeWindow();

    std::unique_ptr<Form1> makeWindow()
    {
        FormServices s;
        s.dialogs = &dialogs;
        s.settingsFile = files.path(QStringLiteral("config/sonivo.ini"));
        s.registryFile = files.path(QStringLiteral("config/registry.ini"));
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

    // A catalogue row for a copy of the three-second tone at folder/name; with
    // copy false the file is not there.
    void addSong(const QString& folder, const QString& name, bool copy = true)
    {
        const QString dir = files.path(folder);
        QDir().mkpath(dir);
        if (copy)
            QFile::copy(fixture("tone-3s-8k.mp3"), dir + name);
        SongRecord r;
        r.setColumn(ColFileName, name);
        r.setColumn(ColFolder, dir);
        r.setColumn(ColBitRate, QStringLiteral("24"));
        r.setColumn(ColDuration, QStringLiteral("00.03"));
        catalogue().append(r);
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

    // Plays the current song to its end and lets the ticks see it.
    bool playToEnd()
    {
        const QString song = transport().playerFile();
        clock->advanceMs(3100);
        return eventually([&] {
            window->tick();
            return transport().playerFile() != song || transport().state() != PlayerState::Playing;
        });
    }

    QString playing()
    {
        return QFileInfo(transport().playerFile()).dir().dirName() + QLatin1Char('/') + QFileInfo(transport().playerFile()).fileName();
    }
};

}  // namespace

TEST_F(PlayerPanelTest, TheQueueKeepsCheckOrderAndFollowsItsRows)
{
    for (int i = 1; i <= 8; ++i)
        addSong(QStringLiteral("a/"), QStringLiteral("%1.mp3").arg(i));
    check(6);
    check(1);
    check(4);
    EXPECT_EQ(queueRows(), (std::vector<qsizetype>{6, 1, 4}));
    EXPECT_EQ(player().queueView()->model()->index(0, 0).data().toString(), QStringLiteral("7.mp3"));
    EXPECT_EQ(player().queueView()->toolTip(), QStringLiteral("Brani in lista: 3 - Durata brani in lista: 00:00:09"));
    check(1, false);
    EXPECT_EQ(queueRows(), (std::vector<qsizetype>{6, 4}));

    selectEntry(0);
    transport().playSelectedEntry();
    ASSERT_EQ(transport().state(), PlayerState::Playing);
    window->action(QStringLiteral("sortDescending"))->trigger();
    EXPECT_EQ(queueRows(), (std::vector<qsizetype>{1, 3})) << "7.mp3 and 5.mp3 in their new places";
    EXPECT_EQ(player().queueView()->model()->index(0, 0).data().toString(), QStringLiteral("7.mp3"));
    ASSERT_TRUE(playToEnd());
    EXPECT_EQ(playing(), QStringLiteral("a/5.mp3"));
}

TEST_F(PlayerPanelTest, TheEndOfASongPlaysTheNextAndTheQueueWraps)
{
    // Two songs of one name in two folders are two entries, and both play.
    addSong(QStringLiteral("one/"), QStringLiteral("01 - Intro.mp3"));
    addSong(QStringLiteral("two/"), QStringLiteral("01 - Intro.mp3"));
    check(0);
    check(1);
    ASSERT_EQ(transport().queue().size(), 2);
    selectEntry(0);
    transport().playSelectedEntry();
    EXPECT_EQ(playing(), QStringLiteral("one/01 - Intro.mp3"));
    window->tick();
    EXPECT_TRUE(player().transportButton(4)->isEnabled());
    EXPECT_TRUE(window->action(QStringLiteral("play"))->isChecked());
    EXPECT_EQ(player().fileLabel()->text(), QStringLiteral("01 - Intro"));
    EXPECT_EQ(player().bitrateLabel()->text(), QStringLiteral("24 kbps"));
    EXPECT_EQ(player().durationLabel()->text(), QStringLiteral("Durata: 0:03"));

    ASSERT_TRUE(playToEnd());
    EXPECT_EQ(playing(), QStringLiteral("two/01 - Intro.mp3"));
    EXPECT_EQ(transport().state(), PlayerState::Playing);
    ASSERT_TRUE(playToEnd());
    EXPECT_EQ(playing(), QStringLiteral("one/01 - Intro.mp3")) << "after the last entry the first";
    EXPECT_EQ(transport().queue().started(), 0);
}

TEST_F(PlayerPanelTest, PreviousAndNextWrapRoundTheQueue)
{
    for (const char* name : {"a.mp3", "b.mp3", "c.mp3"})
        addSong(QStringLiteral("s/"), QString::fromLatin1(name));
    for (int row : {0, 1, 2})
        check(row);
    transport().next();  // nothing selected: the first entry
    EXPECT_EQ(playing(), QStringLiteral("s/a.mp3"));
    transport().previous();
    EXPECT_EQ(playing(), QStringLiteral("s/c.mp3"));
    transport().next();
    EXPECT_EQ(playing(), QStringLiteral("s/a.mp3"));
    transport().pause();
    EXPECT_EQ(transport().state(), PlayerState::Paused);
    transport().next();
    EXPECT_EQ(playing(), QStringLiteral("s/b.mp3"));
    EXPECT_EQ(transport().state(), PlayerState::Playing);
    // A double-click while paused plays the entry from its start.
    clock->advanceMs(1500);
    transport().pause();
    selectEntry(1);
    transport().playSelectedEntry();
    EXPECT_EQ(transport().state(), PlayerState::Playing);
    window->tick();
    EXPECT_EQ(player().positionLabel()->text(), QStringLiteral("0:00"));
    // Entries removed while the last one plays: it is the only one, and plays again.
    transport().next();
    check(0, false);
    check(1, false);
    ASSERT_EQ(transport().queue().size(), 1);
    ASSERT_EQ(transport().queue().started(), 0);
    clock->advanceMs(2000);
    ASSERT_TRUE(eventually([&] {
        window->tick();
        return player().positionLabel()->text() == QStringLiteral("0:02");
    }));
    clock->advanceMs(1100);
    ASSERT_TRUE(eventually([&] {
        window->tick();
        return player().positionLabel()->text() == QStringLiteral("0:00");
    }));
    EXPECT_EQ(playing(), QStringLiteral("s/c.mp3"));
    EXPECT_EQ(transport().state(), PlayerState::Playing);
    window->tick();
    EXPECT_FALSE(player().transportButton(0)->isEnabled()) << "one entry: no previous or next";
    EXPECT_FALSE(window->action(QStringLiteral("nextSong"))->isEnabled());
}

TEST_F(PlayerPanelTest, SongsThatCannotBeOpenedAreSkippedOnceRound)
{
    addSong(QStringLiteral("s/"), QStringLiteral("a.mp3"));
    addSong(QStringLiteral("s/"), QStringLiteral("missing.mp3"), false);
    addSong(QStringLiteral("s/"), QStringLiteral("c.mp3"));
    QFile junk(files.path(QStringLiteral("s/junk.mp3")));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write(QByteArray(4000, 'x'));
    junk.close();
    addSong(QStringLiteral("s/"), QStringLiteral("junk.mp3"), false);
    for (int row : {0, 1, 2, 3})
        check(row);
    selectEntry(0);
    transport().playSelectedEntry();
    ASSERT_TRUE(playToEnd());
    EXPECT_EQ(playing(), QStringLiteral("s/c.mp3")) << "the missing file was passed over";
    ASSERT_TRUE(playToEnd());
    EXPECT_EQ(playing(), QStringLiteral("s/a.mp3")) << "the undecodable one too";

    QFile::remove(files.path(QStringLiteral("s/a.mp3")));
    QFile::remove(files.path(QStringLiteral("s/c.mp3")));
    ASSERT_TRUE(playToEnd());
    EXPECT_EQ(transport().state(), PlayerState::Stopped) << "nothing left to play";
    EXPECT_TRUE(window->action(QStringLiteral("stop"))->isChecked());
}

TEST_F(PlayerPanelTest, SuonaBranoOnAMissingFileSaysSoAndPlaysNothing)
{
    addSong(QStringLiteral("s/"), QStringLiteral("a.mp3"));
    addSong(QStringLiteral("s/"), QStringLiteral("gone.mp3"), false);
    transport().SuonaBrano(rowId(1));
    EXPECT_EQ(transport().state(), PlayerState::Playing);
    transport().SuonaBrano(rowId(2));
    EXPECT_EQ(transport().state(), PlayerState::Stopped);
    EXPECT_TRUE(dialogs.notices.empty()) << "no box in the middle of playing";
    EXPECT_EQ(window->statusBar()->currentMessage(), QStringLiteral("File non trovato: ") + files.path(QStringLiteral("s/gone.mp3")));
    window->tick();
    EXPECT_EQ(player().positionLabel()->text(), QStringLiteral("00:00"));

    // A song played with an empty queue ends in the stopped state.
    transport().SuonaBrano(rowId(1));
    ASSERT_TRUE(playToEnd());
    EXPECT_EQ(transport().state(), PlayerState::Stopped);
    EXPECT_EQ(playing(), QStringLiteral("s/a.mp3"));
}

TEST_F(PlayerPanelTest, PauseFollowsTheDeviceAndASuspendKeepsThePause)
{
    addSong(QStringLiteral("s/"), QStringLiteral("a.mp3"));
    transport().pause();
    EXPECT_EQ(transport().state(), PlayerState::Stopped) << "Pausa while stopped changes nothing";
    transport().SuonaBrano(rowId(1));
    clock->advanceMs(1200);
    ASSERT_TRUE(eventually([&] {
        window->tick();
        return player().positionLabel()->text() == QStringLiteral("0:01");
    }));
    EXPECT_EQ(player().slider()->value(), 1);
    EXPECT_EQ(player().slider()->maximum(), 3);
    transport().pause();
    EXPECT_EQ(transport().state(), PlayerState::Paused);
    EXPECT_TRUE(window->action(QStringLiteral("pause"))->isChecked());

    transport().FermaBrano();
    transport().RiprendiBrano();
    EXPECT_EQ(transport().state(), PlayerState::Paused);
    clock->advanceMs(5000);
    window->tick();
    EXPECT_EQ(transport().state(), PlayerState::Paused) << "still paused, not run to its end";
    transport().play();  // Suona while paused resumes
    EXPECT_EQ(transport().state(), PlayerState::Playing);
    ASSERT_TRUE(eventually([&] {
        window->tick();
        return player().positionLabel()->text() == QStringLiteral("0:01");
    })) << "resumed at the suspended second";

    // A suspend never resumed is given up by the next Stop: the song's end is seen again.
    transport().FermaBrano();
    transport().stop();
    transport().play();
    ASSERT_EQ(transport().state(), PlayerState::Playing);
    clock->advanceMs(3100);
    ASSERT_TRUE(eventually([&] {
        window->tick();
        return transport().state() == PlayerState::Stopped;
    }));
}

TEST_F(PlayerPanelTest, AClickedRowIsLoadedNotPlayed)
{
    addSong(QStringLiteral("s/"), QStringLiteral("a.mp3"));
    window->tick();
    EXPECT_EQ(player().fileLabel()->text(), QStringLiteral("Nessun brano selezionato"));
    EXPECT_FALSE(player().transportButton(1)->isEnabled());
    EXPECT_FALSE(player().slider()->isEnabled());
    Q_EMIT window->view().songClicked(0);
    window->tick();
    EXPECT_EQ(transport().state(), PlayerState::Stopped);
    EXPECT_EQ(player().fileLabel()->text(), QStringLiteral("a"));
    EXPECT_TRUE(player().transportButton(1)->isEnabled());
    EXPECT_FALSE(player().transportButton(4)->isEnabled());
    EXPECT_TRUE(window->action(QStringLiteral("play"))->isEnabled());
    EXPECT_EQ(player().transportButton(1)->accessibleName(), QStringLiteral("Suona"));
    player().transportButton(1)->click();
    EXPECT_EQ(transport().state(), PlayerState::Playing);
}

TEST_F(PlayerPanelTest, ANewListEmptiesTheQueueAndClosingStopsThePlayer)
{
    addSong(QStringLiteral("s/"), QStringLiteral("a.mp3"));
    addSong(QStringLiteral("s/"), QStringLiteral("b.mp3"));
    transport().AggiungiLista(rowId(2));
    transport().AggiungiBrani(QString());  // every row has an empty album
    EXPECT_EQ(queueRows(), (std::vector<qsizetype>{1, 0}));
    dialogs.answers.push_back(DesktopDialogs::Answer::No);
    window->action(QStringLiteral("newList"))->trigger();
    EXPECT_TRUE(transport().queue().isEmpty());

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

TEST_F(PlayerPanelTest, TheCheckedRowsGoToTheDesktopAsAPrivatePlaylist)
{
    addSong(QStringLiteral("one/"), QStringLiteral("01 - Intro.mp3"));
    addSong(QStringLiteral("s/"), QStringLiteral("b.mp3"));
    addSong(QStringLiteral("two/"), QStringLiteral("01 - Intro.mp3"));
    check(2);
    check(0);
    check(1);
    transport().SuonaBrano(rowId(2));
    window->action(QStringLiteral("openQueueExternally"))->trigger();
    EXPECT_EQ(transport().state(), PlayerState::Stopped) << "stopped before the hand-off";
    const QString playlist = window->externalPlayer().playlistPath();
    ASSERT_EQ(dialogs.opened, QStringList{playlist});
    QFile file(playlist);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(file.readAll()),
        files.path(QStringLiteral("one/01 - Intro.mp3\r\n")) + files.path(QStringLiteral("s/b.mp3\r\n"))
            + files.path(QStringLiteral("two/01 - Intro.mp3\r\n")))
        << "every checked row, in catalogue order, each line ended by CR LF";
    const QFileInfo folder(QFileInfo(playlist).path());
    EXPECT_EQ(folder.permissions() & 0x0777, QFile::ReadUser | QFile::WriteUser | QFile::ExeUser) << "the user's alone";
    EXPECT_TRUE(folder.path().startsWith(qEnvironmentVariable("XDG_RUNTIME_DIR")));

    // A song the desktop cannot open is named to the user.
    dialogs.desktopOpens = false;
    QTableView* rows = window->view().reportView();
    rows->setCurrentIndex(rows->model()->index(1, 0));
    rows->selectRow(1);
    Q_EMIT rows->clicked(rows->model()->index(1, 0));
    QAction* openSong = window->action(QStringLiteral("openSongExternally"));
    EXPECT_TRUE(openSong->isEnabled());
    EXPECT_TRUE(openSong->text().startsWith(QStringLiteral("Apri ")) && openSong->text().endsWith(QStringLiteral("...")));
    window->action(QStringLiteral("openSongExternally"))->trigger();
    EXPECT_EQ(dialogs.opened.last(), files.path(QStringLiteral("s/b.mp3")));
    ASSERT_EQ(dialogs.notices.size(), 1);
    EXPECT_TRUE(dialogs.notices[0].contains(files.path(QStringLiteral("s/b.mp3"))));

    dialogs.answers.push_back(DesktopDialogs::Answer::No);
    ASSERT_TRUE(window->close());
    EXPECT_FALSE(QFileInfo::exists(playlist)) << "removed at shutdown";
    EXPECT_FALSE(QFileInfo::exists(folder.filePath()));
}

TEST_F(PlayerPanelTest, OnlyTheUsersSliderMovesSeek)
{
    addSong(QStringLiteral("s/"), QStringLiteral("a.mp3"));
    transport().SuonaBrano(rowId(1));
    QSlider* slider = player().slider();
    slider->setSliderDown(true);  // the user holds it
    clock->advanceMs(1100);
    ASSERT_TRUE(eventually([&] {
        window->tick();
        return player().positionLabel()->text() == QStringLiteral("0:01");
    }));
    EXPECT_EQ(slider->value(), 0) << "not moved under the user's hand";
    slider->setSliderDown(false);
    window->tick();
    EXPECT_EQ(slider->value(), 1);
    EXPECT_EQ(slider->maximum(), 3);
    EXPECT_EQ(player().positionLabel()->text(), QStringLiteral("0:01")) << "the tick's own writes seek nowhere";

    slider->triggerAction(QAbstractSlider::SliderSingleStepAdd);  // a key or a click of the user
    window->tick();
    EXPECT_EQ(player().positionLabel()->text(), QStringLiteral("0:02"));
    transport().pause();
    slider->setSliderDown(true);
    slider->setSliderPosition(0);
    slider->setSliderDown(false);  // a drag let go
    transport().pause();
    window->tick();
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
    EXPECT_EQ(queueRows(), (std::vector<qsizetype>{0, 1}));
    EXPECT_FALSE(catalogue().isChecked(2)) << "a later sync does not bring it back";
    EXPECT_EQ(queue->toolTip(), QStringLiteral("Brani in lista: 2 - Durata brani in lista: 00:00:06"));
    EXPECT_EQ(transport().state(), PlayerState::Playing) << "removing does not stop the song";

    window->action(QStringLiteral("removeAllQueueEntries"))->trigger();
    EXPECT_TRUE(transport().queue().isEmpty());
    EXPECT_EQ(test::checkedRows(catalogue()), 0);
    EXPECT_EQ(playing(), QStringLiteral("s/c.mp3"));
}
