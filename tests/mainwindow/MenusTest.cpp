#include "mainwindow/CatalogueView.h"
#include "mainwindow/Commands.h"
#include "mainwindow/Form1.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/TempFiles.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace sonivo;
using namespace sonivo::test;

namespace {

class MenusTest : public testing::Test {
protected:
    TempFiles files;
    ScriptedDialogs dialogs;

    FormServices services()
    {
        FormServices s;
        s.dialogs = &dialogs;
        s.settingsFile = files.path(QStringLiteral("config/sonivo.ini"));
        s.registryFile = files.path(QStringLiteral("config/registry.ini"));
        return s;
    }
};

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
    EXPECT_EQ(captions(w.toolButton(QStringLiteral("Trova"))->menu()), (texts({"Brano", "Cartella", "Album"})));
    EXPECT_EQ(captions(w.toolButton(QStringLiteral("Stampa"))->menu()), (texts({"Stampa lista", "Crea lista Html", "File lista mp3"})));

    dialogs.folders.push_back(QString());  // cancelled
    add->menu()->actions().at(1)->trigger();
    ASSERT_FALSE(dialogs.asked.isEmpty());
    EXPECT_EQ(dialogs.asked.last(), QStringLiteral("Seleziona la cartella da cui iniziare la ricerca:"));
}

TEST_F(MenusTest, WhatDoesNotExistYetIsDisabledEvenWhenItsRuleHolds)
{
    Form1 w(services());
    w.start(QString());
    Catalogue& rows = w.document().catalogue();
    SongRecord song;
    song.setColumn(ColFileName, QStringLiteral("a.mp3"));
    song.setColumn(ColFolder, files.path(QString()));
    rows.append(song);
    rows.setChecked(0, true);
    w.applyEnablingRules();
    EXPECT_TRUE(w.command(Command::SaveList)->isEnabled());
    EXPECT_TRUE(w.command(Command::OpenQueueExternally)->isEnabled());
    for (Command c : {Command::ViewTag, Command::SearchSong, Command::SearchFolder, Command::SearchAlbum, Command::PrintList,
             Command::HtmlList, Command::M3uList})
        EXPECT_FALSE(w.command(c)->isEnabled()) << w.command(c)->objectName().toStdString();
    for (const char* key : {"Trova", "Stampa"})
        EXPECT_FALSE(w.toolButton(QString::fromLatin1(key))->isEnabled()) << key;
    for (const char* key : {"Apri", "Nuovo", "Salva", "Aggiungi", "Opzioni", "Informazioni", "Esci"})
        EXPECT_TRUE(w.toolButton(QString::fromLatin1(key))->isEnabled()) << key;
}
