#include "catalogue/ListFile.h"
#include "common/NativePath.h"
#include "application/ExternalPlayer.h"
#include "mainwindow/Form1.h"
#include "player/Transport.h"
#include "tests/mainwindow/WindowTest.h"

#include <QAction>
#include <QDir>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QToolButton>
#include <functional>

using namespace sonivo;
using namespace sonivo::test;

namespace {

class ReportCommands : public WindowTest {
protected:
    void SetUp() override
    {
        window = std::make_unique<Form1>(services());
        window->start(QString());
    }
    void addSongs(int count)
    {
        for (int n = 1; n <= count; ++n) {
            SongRecord r;
            r.setColumn(ColFileName, QStringLiteral("Song %1.mp3").arg(n));
            r.setColumn(ColFolder, files.path(QString()) + QLatin1Char('/'));
            window->document().catalogue().append(r);
        }
        window->applyEnablingRules();
    }
    template <typename W> static W* child(QWidget& dialog, const char* name)
    {
        W* w = dialog.findChild<W*>(QLatin1String(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }

    std::unique_ptr<Form1> window;
};

}  // namespace

TEST_F(ReportCommands, TheReportEntriesAndTheStampaButtonOpenTheirDialogs)
{
    QToolButton* print = window->toolButton(QStringLiteral("Stampa"));
    EXPECT_FALSE(print->isEnabled()) << "nothing to list";
    addSongs(2);

    const QList<QAction*> entries = print->menu()->actions();
    ASSERT_EQ(entries.size(), 3);
    const std::pair<Command, QString> opened[] = {{Command::PrintList, QStringLiteral("Stampa lista brani")},
        {Command::HtmlList, QStringLiteral("Crea HTML lista brani")}, {Command::M3uList, QStringLiteral("Crea playlist brani")}};
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(withModal([&] { window->command(opened[k].first)->trigger(); }), opened[k].second);
        EXPECT_EQ(withModal([&] { entries.at(k)->trigger(); }), opened[k].second);
    }
    EXPECT_EQ(withModal([&] { print->click(); }), QStringLiteral("Stampa lista brani"));
    EXPECT_TRUE(dialogs.asked.isEmpty()) << "closing the dialog writes nothing";
}

TEST_F(ReportCommands, AQueuedSongsPlaylistFollowsThePlayersQueueOrder)
{
    addSongs(8);
    const Catalogue& rows = window->document().catalogue();
    for (const int row : {7, 2, 5})
        window->transport().AggiungiLista(rows.id(row - 1));
    const QString target = files.path(QStringLiteral("coda.m3u"));
    dialogs.files.push_back(target);
    withModal([&] { window->command(Command::M3uList)->trigger(); }, [&](QWidget& d) {
        child<QRadioButton>(d, "Option2")->setChecked(true);
        child<QPushButton>(d, "Command1")->click();
    });
    const QString folder = files.path(QString()) + QLatin1Char('/');
    EXPECT_EQ(QString::fromUtf8(TempFiles::read(target)),
        folder + QStringLiteral("Song 7.mp3\r\n") + folder + QStringLiteral("Song 2.mp3\r\n") + folder + QStringLiteral("Song 5.mp3\r\n"));
    EXPECT_EQ(dialogs.opened, QStringList{target});
    EXPECT_EQ(window->statusBar()->currentMessage(), QStringLiteral("File salvato: ") + target) << "where it went";
    EXPECT_EQ(dialogs.namedSaves.last().split(QLatin1Char('|')).value(4), QDir::currentPath()) << "a new list's reports start here";

    // The next report starts in the folder the last one went to.
    QDir().mkpath(files.path(QStringLiteral("reports")));
    dialogs.files.push_back(files.path(QStringLiteral("reports/lista.htm")));
    withModal([&] { window->command(Command::HtmlList)->trigger(); }, [&](QWidget& d) { child<QPushButton>(d, "Command1")->click(); });
    dialogs.files.push_back(QString());
    withModal([&] { window->command(Command::HtmlList)->trigger(); }, [&](QWidget& d) { child<QPushButton>(d, "Command1")->click(); });
    EXPECT_EQ(dialogs.namedSaves.last().split(QLatin1Char('|')).value(4), files.path(QStringLiteral("reports")));
}

TEST_F(ReportCommands, AReportOfTheOpenListNeverReplacesIt)
{
    addSongs(3);
    const QString list = files.path(QStringLiteral("lista.svl"));
    ASSERT_TRUE(SalvaLista(list, window->document().catalogue()).ok);
    ASSERT_TRUE(window->document().load(list));
    window->applyEnablingRules();
    const QByteArray listBytes = TempFiles::read(list);
    dialogs.files.push_back(list);
    withModal([&] { window->command(Command::HtmlList)->trigger(); }, [&](QWidget& d) { child<QPushButton>(d, "Command1")->click(); });
    EXPECT_EQ(TempFiles::read(list), listBytes);
    ASSERT_EQ(dialogs.notices.size(), 1);
    EXPECT_TRUE(dialogs.notices.at(0).contains(QStringLiteral("è la lista da cui vengono i brani"))) << dialogs.notices.at(0).toStdString();
    EXPECT_TRUE(dialogs.opened.isEmpty());
}

TEST_F(ReportCommands, TheDesktopsPlaylistHoldsANameThatIsNotUtf8ByteForByte)
{
    SongRecord r;
    r.setColumn(ColFileName, fromNativePath("Caf\xE9.mp3"));
    r.setColumn(ColFolder, files.path(QString()) + QLatin1Char('/'));
    Catalogue& rows = window->document().catalogue();
    rows.append(r);
    rows.setChecked(0, true);
    window->applyEnablingRules();
    window->command(Command::OpenQueueExternally)->trigger();
    const QString playlist = window->app().externalPlayer().playlistPath();
    ASSERT_EQ(dialogs.opened, QStringList{playlist});
    EXPECT_EQ(TempFiles::read(playlist), toNativePath(files.path(QString())) + "/Caf\xE9.mp3\r\n");
}
