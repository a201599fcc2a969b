#include "catalogue/ListFile.h"
#include "dialogs/frmFolder.h"
#include "mainwindow/StatusLine.h"
#include "player/Transport.h"
#include "tests/mainwindow/WindowTest.h"
#include "tests/support/KeyboardChoice.h"
#include "tests/support/SongRows.h"

#include <QAction>
#include <QPushButton>
#include <functional>

using namespace sonivo;
using namespace sonivo::test;

namespace {

SongRecord song(const char* name, const char* folder, const char* cd = "")
{
    SongRecord r = songIn(QString::fromLatin1(name), QString::fromLatin1(folder), QString::fromLatin1(cd));
    r.setColumn(ColSize, QStringLiteral("1024 KB"));
    r.setColumn(ColDuration, QStringLiteral("03.00"));
    return r;
}

class FolderCommandsTest : public WindowTest {
protected:
    std::unique_ptr<Form1> window;
    QString list;

    void SetUp() override
    {
        Catalogue c;
        c.append(song("a.mp3", "/m/Rock/"));
        c.append(song("b.mp3", "/m/Rock/"));
        c.append(song("c.mp3", "/media/cdrom/", "ROCK01/1A2B-3C4D"));
        c.append(song("d.mp3", "/m/Jazz/"));
        c.append(song("e.mp3", "/m/Jazz/"));
        list = files.path(QStringLiteral("list.svl"));
        ASSERT_TRUE(SalvaLista(list, c).ok);
        window = std::make_unique<Form1>(services());
        window->start(list);
    }

    Catalogue& rows() { return window->document().catalogue(); }

    QString names() { return fileNames(rows()); }

    QString queued()
    {
        QStringList out;
        for (RowId id : window->transport().queue().entries())
            out << rows().row(rows().position(id)).text(ColFileName);
        return out.join(QLatin1Char(','));
    }

    void check(const char* name)
    {
        for (qsizetype i = 0; i < rows().size(); ++i)
            if (rows().row(i).text(ColFileName) == QString::fromLatin1(name))
                window->app().setChecked(i, true);
    }

    // Triggers the entry and works the folder chooser it opens as the user
    // would, then closes it with its close box. False when no chooser opened.
    bool withChooser(QAction* entry, const std::function<void(frmFolder&)>& work)
    {
        entry->trigger();
        auto* chooser = qobject_cast<frmFolder*>(QApplication::activeModalWidget());
        if (!chooser)
            return false;
        work(*chooser);
        chooser->close();
        return true;
    }
};

}  // namespace

TEST_F(FolderCommandsTest, TheMenuOpensTheChooserThatNarrowsTheCatalogueAndTheQueueFollows)
{
    check("b.mp3");
    check("e.mp3");
    ASSERT_EQ(queued(), QStringLiteral("b.mp3,e.mp3"));
    QAction* showAll = window->command(Command::ShowAll);
    EXPECT_FALSE(showAll->isEnabled()) << "the list is as its file";

    ASSERT_TRUE(withChooser(window->command(Command::SearchFolder), [&](frmFolder& chooser) {
        chooseByKeyboard(chooser.choiceList(), 3);
        chooser.selectButton()->click();
    }));
    EXPECT_EQ(names(), QStringLiteral("d.mp3,e.mp3"));
    EXPECT_EQ(queued(), QStringLiteral("e.mp3")) << "the queue holds only checked rows that are left";
    EXPECT_EQ(window->statusLine().text(2), QStringLiteral("Presenti 2 brani. Spazio: 2 MB"));
    EXPECT_EQ(window->statusLine().text(3), QStringLiteral("Durata totale 00:06:00"));
    EXPECT_TRUE(window->document().isModified());
    EXPECT_TRUE(showAll->isEnabled());

    showAll->trigger();
    EXPECT_EQ(names(), QStringLiteral("a.mp3,b.mp3,c.mp3,d.mp3,e.mp3")) << "exactly the rows of the list file";
    EXPECT_FALSE(window->document().isModified());
    EXPECT_EQ(queued(), QString()) << "the rows read again come unchecked";
    EXPECT_EQ(window->statusLine().text(2), QStringLiteral("Presenti 5 brani. Spazio: 5 MB"));
    for (qsizetype i = 0; i < rows().size(); ++i)
        EXPECT_NE(rows().icon(i), 0u) << "row " << i << " has its icon again";
    EXPECT_TRUE(showAll->isEnabled()) << "once on, it stays on while rows remain";
    EXPECT_TRUE(dialogs.notices.isEmpty());
}
