#include "mainwindow/HelpCommands.h"
#include "dialogs/HelpWindow.h"
#include "mainwindow/Form1.h"
#include "mainwindow/StatusLine.h"
#include "player/Transport.h"
#include "tests/mainwindow/WindowTest.h"
#include "tests/support/DesktopHome.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/SongRows.h"
#include "tests/support/TempFiles.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace sonivo;
using namespace sonivo::test;

namespace {

class EditAndHelpCommandsTest : public WindowTest {
protected:
    FormServices services()
    {
        FormServices s = WindowTest::services();
        home.setup.registryFile = s.registryFile;
        s.desktop = home.setup;
        return s;
    }
    DesktopHome home;

    // Four songs whose files exist, the second and fourth checked (queued).
    void fill(Form1& w)
    {
        QDir().mkpath(files.path(QStringLiteral("songs")));
        Catalogue& rows = w.document().catalogue();
        for (const char* name : {"a.mp3", "b.mp3", "c.mp3", "d.mp3"}) {
            SongRecord song;
            song.setColumn(ColFileName, QString::fromLatin1(name));
            song.setColumn(ColFolder, files.path(QStringLiteral("songs/")));
            song.setColumn(ColSize, QStringLiteral("1.024 KB"));
            files.write(QStringLiteral("songs/") + QString::fromLatin1(name), name);
            rows.append(song);
        }
        w.app().setChecked(3, true);
        w.app().setChecked(1, true);
    }
};

TEST_F(EditAndHelpCommandsTest, DeletingTakesTheCheckedRowsAndRefreshesTheStatusAndTheCommands)
{
    Form1 w(services());
    w.start(QString());
    fill(w);
    ASSERT_TRUE(w.command(Command::DeleteSelected)->isEnabled());
    w.command(Command::DeleteSelected)->trigger();
    ASSERT_EQ(w.document().catalogue().size(), 2);
    EXPECT_TRUE(w.statusLine().text(2).startsWith(QStringLiteral("Presenti 2 brani. Spazio: "))) << w.statusLine().text(2).toStdString();
    EXPECT_FALSE(w.command(Command::DeleteSelected)->isEnabled()) << "nothing checked is left";
}

TEST_F(EditAndHelpCommandsTest, CopyingTakesTheQueuedFilesInQueueOrder)
{
    Form1 w(services());
    w.start(QString());
    fill(w);
    const QString dest = files.path(QStringLiteral("dest/"));
    QDir().mkpath(dest);
    files.write(QStringLiteral("dest/b.mp3"), "old");
    dialogs.folders = {dest};
    dialogs.answers = {DesktopDialogs::Answer::Yes};
    w.command(Command::CopyFiles)->trigger();
    EXPECT_EQ(dialogs.asked.value(0), QStringLiteral("Seleziona la crtella di destinazione:"));
    EXPECT_EQ(dialogs.asked.value(1), QStringLiteral("Il file b.mp3 esiste già in %1.\nSostituirlo?").arg(dest))
        << "the queue is b then d: b is asked about first";
    EXPECT_EQ(TempFiles::read(dest + QStringLiteral("b.mp3")), "b.mp3");
    EXPECT_EQ(TempFiles::read(dest + QStringLiteral("d.mp3")), "d.mp3");
    EXPECT_FALSE(QFile::exists(dest + QStringLiteral("a.mp3")));
    EXPECT_EQ(dialogs.notices, QStringList(QStringLiteral("inform: 2 file copiati in %1.").arg(dest)));
    dialogs.folders = {QString()};
    w.command(Command::CopyFiles)->trigger();
    EXPECT_EQ(dialogs.startedIn.last(), dest) << "the chooser starts where the last copy went";
    EXPECT_EQ(test::checkedRows(w.document().catalogue()), 2) << "the catalogue and queue stay";
}

TEST_F(EditAndHelpCommandsTest, TheOptionsAndAboutButtonsOpenTheirDialogs)
{
    Form1 w(services());
    w.start(QString());
    w.show();
    ASSERT_TRUE(w.toolButton(QStringLiteral("Opzioni"))->isEnabled());
    EXPECT_EQ(withModal([&] { w.command(Command::Options)->trigger(); }), QStringLiteral("Sonivo - Opzioni"));
    EXPECT_EQ(withModal([&] { w.command(Command::About)->trigger(); }), QStringLiteral("Informazioni su Sonivo"));

    // No menu holds the options: a key opens them, and the button says which.
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    QTest::keyClick(&w, Qt::Key_Comma, Qt::ControlModifier);
    auto* options = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(options, nullptr);
    EXPECT_EQ(options->windowTitle(), QStringLiteral("Sonivo - Opzioni"));
    options->reject();
    EXPECT_TRUE(w.toolButton(QStringLiteral("Opzioni"))->toolTip().contains(QStringLiteral("Ctrl+,")));
}

TEST_F(EditAndHelpCommandsTest, F1OpensTheHelpAndCercaItsKeywordSearch)
{
    Form1 w(services());
    w.start(QString());
    EXPECT_EQ(w.command(Command::Help)->shortcut(), QKeySequence(QKeySequence::HelpContents));
    w.command(Command::Help)->trigger();
    HelpWindow* help = w.helpCommands().helpWindow();
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->isVisible());
    EXPECT_EQ(help->windowTitle(), QStringLiteral("Guida di Sonivo"));
    EXPECT_TRUE(help->page().toString().endsWith(QStringLiteral("/pages/index.html")));
    w.command(Command::HelpSearch)->trigger();
    EXPECT_EQ(w.helpCommands().helpWindow(), help) << "one help window";
    w.command(Command::Website)->trigger();
    EXPECT_EQ(dialogs.opened, QStringList(QStringLiteral("https://sonivo.example.org/")));
}

}  // namespace
