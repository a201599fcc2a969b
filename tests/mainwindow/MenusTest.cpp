#include "mainwindow/CatalogueView.h"
#include "mainwindow/Commands.h"
#include "mainwindow/Form1.h"
#include "mainwindow/PlayerPanel.h"
#include "tests/mainwindow/WindowTest.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QSlider>
#include <QTableView>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace sonivo;
using namespace sonivo::test;

namespace {

using MenusTest = WindowTest;

// A menu's entries as the user reads them: captions, "-" for a separator, a
// submenu's caption followed by ">".
QStringList captions(const QMenu* menu)
{
    QStringList all;
    for (const QAction* a : menu->actions())
        all << (a->isSeparator() ? QStringLiteral("-") : a->menu() ? a->text() + QStringLiteral(">") : a->text());
    return all;
}

QStringList texts(std::initializer_list<const char*> utf8)
{
    QStringList all;
    for (const char* t : utf8)
        all << QString::fromUtf8(t);
    return all;
}

QStringList menuBarCaptions(Form1& w, const char* title)
{
    for (const QAction* a : w.menuBar()->actions())
        if (a->text() == QString::fromUtf8(title))
            return captions(a->menu());
    return {QStringLiteral("no menu ") + QString::fromUtf8(title)};
}

}  // namespace

TEST_F(MenusTest, EachMenuKeepsItsEntriesSeparatorsAndOrder)
{
    Form1 w(services());
    w.start(QString());
    const QStringList bar = [&] {
        QStringList titles;
        for (const QAction* a : w.menuBar()->actions())
            titles << a->text();
        return titles;
    }();
    EXPECT_EQ(bar, (texts({"&File", "&Modifica", "&Ricerca", "&Opzioni", "&Player", "&Report", "&Guida"})));
    EXPECT_EQ(menuBarCaptions(w, "&File"),
        (texts({"&Nuova lista", "&Apri lista... ", "&Salva lista", "Sal&va lista con nome...", "-", "Aggiungi &cartella singola",
            "A&ggiungi cartella e sottocartelle", "-", "&Esci"})));
    EXPECT_EQ(menuBarCaptions(w, "&Modifica"),
        (texts({"Visualizza Tag", "-", "Modalità &Lista", "Modalità &Report", "-", "Ordine &Crescente", "Ordine &Decrescente", "-",
            "&Ordina per...>", "-", "Copia &files nella cartella...", "-", "&Elimina files selezionati"})));
    EXPECT_EQ(menuBarCaptions(w, "&Ricerca"), (texts({"&Brano", "&Cartella", "&Album", "-", "&Mostra tutti"})));
    EXPECT_EQ(menuBarCaptions(w, "&Opzioni"),
        (texts({"&Visualizza griglia", "&Traccia selezione", "&Intestazione flat", "&Carattere grassetto", "-", "&Seleziona tutti",
            "&Deseleziona tutti", "I&nverti selezione"})));
    EXPECT_EQ(menuBarCaptions(w, "&Player"),
        (texts({"&Play", "P&ausa", "&Stop", "-", "Brano p&recedente", "Brano s&uccessivo", "-", "Apri brano con player esterno...",
            "Apri lista con player esterno..."})));
    EXPECT_EQ(menuBarCaptions(w, "&Report"), (texts({"&Stampa lista", "&Crea lista Html", "&File lista mp3"})));
    EXPECT_EQ(menuBarCaptions(w, "&Guida"), (texts({"&Guida in linea", "&Cerca...", "-", "&Sito Sonivo", "-", "&Informazioni..."})));
}

TEST_F(MenusTest, TheToolbarsDropDownsRunTheMenusCommands)
{
    Form1 w(services());
    w.start(QString());
    const QToolButton* add = w.toolButton(QStringLiteral("Aggiungi"));
    ASSERT_NE(add->menu(), nullptr);
    EXPECT_EQ(captions(add->menu()), (texts({"Cartella singola", "Cartella e sottocartelle"})));
    EXPECT_EQ(captions(w.toolButton(QStringLiteral("Stampa"))->menu()), (texts({"Stampa lista", "Crea lista Html", "File lista mp3"})));

    dialogs.folders.push_back(QString());  // cancelled
    add->menu()->actions().at(1)->trigger();
    ASSERT_FALSE(dialogs.asked.isEmpty());
    EXPECT_EQ(dialogs.asked.last(), QStringLiteral("Seleziona la cartella da cui iniziare la ricerca:"));
}

TEST_F(MenusTest, TheFileCommandsHaveTheirStandardKeysAndF1IsForHelp)
{
    Form1 w(services());
    w.start(QString());
    const std::pair<Command, const char*> keys[] = {{Command::NewList, "Ctrl+N"}, {Command::OpenList, "Ctrl+O"},
        {Command::SaveList, "Ctrl+S"}, {Command::SaveListAs, "Ctrl+Shift+S"}, {Command::Exit, "Ctrl+Q"}, {Command::Help, "F1"}};
    for (const auto& [command, key] : keys)
        EXPECT_EQ(w.command(command)->shortcut(), QKeySequence(QString::fromLatin1(key))) << key;
    EXPECT_TRUE(w.command(Command::Help)->isEnabled()) << "F1 opens the help";
}

TEST_F(MenusTest, TabLeavesTheCatalogueForThePlayersButtonsSliderAndQueue)
{
    Form1 w(services());
    w.start(QString());
    Catalogue& rows = w.document().catalogue();
    for (const char* name : {"a.mp3", "b.mp3"}) {
        SongRecord song;
        song.setColumn(ColFileName, QString::fromLatin1(name));
        song.setColumn(ColFolder, QStringLiteral(SONIVO_FIXTURES "/"));
        rows.append(song);
    }
    w.show();
    QApplication::setActiveWindow(&w);
    w.player().transportButton(1)->setEnabled(true);  // as with a song loaded
    w.player().slider()->setEnabled(true);
    QTableView* table = w.view().reportView();
    table->setFocus();
    table->setCurrentIndex(table->model()->index(0, 0));
    auto press = [](int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QKeyEvent event(QEvent::KeyPress, key, modifiers);
        QApplication::sendEvent(QApplication::focusWidget(), &event);
        return QApplication::focusWidget();
    };
    ASSERT_EQ(QApplication::focusWidget(), table);
    EXPECT_EQ(press(Qt::Key_Tab), w.player().transportButton(1)) << "not the next cell";
    EXPECT_EQ(press(Qt::Key_Tab), w.player().slider());
    EXPECT_EQ(press(Qt::Key_Tab), w.player().queueView());
    EXPECT_EQ(press(Qt::Key_Backtab, Qt::ShiftModifier), w.player().slider());
    EXPECT_EQ(press(Qt::Key_Backtab, Qt::ShiftModifier), w.player().transportButton(1));
    EXPECT_EQ(press(Qt::Key_Backtab, Qt::ShiftModifier), table);
}
