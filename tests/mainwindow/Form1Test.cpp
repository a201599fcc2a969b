#include "catalogue/ListFile.h"
#include "mainwindow/Form1.h"
#include "mainwindow/ScanProgressFrame.h"
#include "platform/IniFile.h"
#include "platform/KeyValueStore.h"
#include "tests/mainwindow/ScriptedDialogs.h"
#include "tests/support/TempFiles.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QTableView>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace sonivo;
using namespace sonivo::test;

namespace {

const QString kFixtures = QStringLiteral(SONIVO_FIXTURES);

class Form1Test : public testing::Test {
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

    // A folder holding copies of the four fixture songs.
    QString songFolder()
    {
        const QString folder = files.path(QStringLiteral("songs/"));
        QDir().mkpath(folder);
        for (const QString& name : QDir(kFixtures).entryList({QStringLiteral("*.mp3")}))
            QFile::copy(kFixtures + QLatin1Char('/') + name, folder + name);
        return folder;
    }

    QString column(const Form1& w, int row, int c) const
    {
        return const_cast<Form1&>(w).catalogue().row(row).text(c);
    }

    void scan(Form1& w, const QString& folder, bool tree = false)
    {
        dialogs.folders.push_back(folder);
        w.fileEntry(tree ? 6 : 5)->trigger();
    }
};

SongRecord song(const QString& name, const QString& size, const QString& duration)
{
    SongRecord r;
    r.setColumn(ColFileName, name);
    r.setColumn(ColSize, size);
    r.setColumn(ColFolder, QStringLiteral("/music/"));
    r.setColumn(ColDuration, duration);
    return r;
}

}  // namespace

TEST_F(Form1Test, StartsWithTheListNamedOnTheCommandLine)
{
    Catalogue c;
    c.append(song(QStringLiteral("a.mp3"), QStringLiteral("1 KB"), QStringLiteral("59.59")));
    c.append(song(QStringLiteral("b.mp3"), QStringLiteral("2 KB"), QStringLiteral("00.01")));
    const QString list = files.path(QStringLiteral("my list.svl"));
    ASSERT_TRUE(SalvaLista(list, c).ok);

    Form1 w(services());
    w.start(list);
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Sonivo - ") + list);
    EXPECT_EQ(w.reportView()->model()->rowCount(), 2);
    EXPECT_FALSE(w.isModified());
    EXPECT_EQ(w.statusText(1), QStringLiteral("Sonivo - Versione 1.3.0"));
    EXPECT_EQ(w.statusText(3), QStringLiteral("Durata totale 01:00:00"));
    EXPECT_TRUE(w.statusText(2).startsWith(QStringLiteral("Presenti 2 brani. Spazio: ")));
    EXPECT_TRUE(dialogs.notices.isEmpty());
}

TEST_F(Form1Test, AMissingListOnTheCommandLineIsReportedAndLeavesANewList)
{
    Form1 w(services());
    const QString missing = files.path(QStringLiteral("nowhere.svl"));
    w.start(missing);
    ASSERT_EQ(dialogs.notices.size(), 1);
    EXPECT_TRUE(dialogs.notices[0].startsWith(QStringLiteral("warn: ")));
    EXPECT_TRUE(dialogs.notices[0].contains(missing));
    EXPECT_EQ(w.catalogue().size(), 0);
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Sonivo - Nuova lista"));
    EXPECT_EQ(w.statusText(2), QStringLiteral("Presenti 0 brani. Spazio: 0 MB"));

    // A folder is no list either.
    Form1 other(services());
    other.start(files.path(QString()));
    ASSERT_EQ(dialogs.notices.size(), 2);
    EXPECT_TRUE(dialogs.notices[1].startsWith(QStringLiteral("warn: ")));
    EXPECT_EQ(other.windowTitle(), QStringLiteral("Sonivo - Nuova lista"));
}

TEST_F(Form1Test, ScanSortCheckSaveAndReopen)
{
    Form1 w(services());
    w.start(QString());
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Sonivo - Nuova lista"));
    w.applyEnablingRules();
    EXPECT_FALSE(w.fileEntry(2)->isEnabled()) << "nothing to save yet";
    EXPECT_FALSE(w.toolButton(QStringLiteral("Salva"))->isEnabled());

    const QString folder = songFolder();
    scan(w, folder);
    ASSERT_EQ(w.catalogue().size(), 4);
    EXPECT_TRUE(w.isModified());
    EXPECT_EQ(w.progressFrame()->foundText(), QStringLiteral("Totale brani individuati: 4"));
    EXPECT_FALSE(w.progressFrame()->isVisible());
    EXPECT_EQ(w.fileIcons().images().size(), 1u) << "all songs share the .mp3 icon";
    for (qsizetype i = 0; i < w.catalogue().size(); ++i)
        EXPECT_EQ(w.catalogue().icon(i), 1u);
    EXPECT_TRUE(w.statusText(2).startsWith(QStringLiteral("Presenti 4 brani.")));
    w.applyEnablingRules();
    EXPECT_TRUE(w.fileEntry(2)->isEnabled());
    EXPECT_TRUE(w.toolButton(QStringLiteral("Salva"))->isEnabled());

    // A header click flips the order whatever column was sorted before.
    w.headerClicked(ColSampleRate);
    EXPECT_EQ(w.sortColumn(), ColSampleRate);
    EXPECT_FALSE(w.sortIsAscending());
    EXPECT_TRUE(w.orderEntry(ColSampleRate)->isChecked());
    EXPECT_FALSE(w.orderEntry(0)->isChecked());
    for (int i = 1; i < 4; ++i)
        EXPECT_GE(column(w, i - 1, ColSampleRate).compare(column(w, i, ColSampleRate), Qt::CaseInsensitive), 0);
    w.headerClicked(ColSampleRate);
    EXPECT_TRUE(w.sortIsAscending());
    w.sortByMenu(ColFileName);
    EXPECT_TRUE(w.sortIsAscending());
    EXPECT_TRUE(w.menuEntry(QStringLiteral("Ordine &Crescente"))->isChecked());
    EXPECT_FALSE(w.menuEntry(QStringLiteral("Ordine &Decrescente"))->isChecked());
    QStringList names;
    for (int i = 0; i < 4; ++i)
        names << column(w, i, ColFileName);
    QStringList sorted = names;
    std::sort(sorted.begin(), sorted.end(), [](const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
    EXPECT_EQ(names, sorted);

    // Checks: all, invert, and one through the view's check box.
    w.optionEntry(5)->trigger();
    EXPECT_EQ(w.catalogue().checkedCount(), 4);
    w.optionEntry(7)->trigger();
    EXPECT_EQ(w.catalogue().checkedCount(), 0);
    QAbstractItemModel* model = w.reportView()->model();
    ASSERT_TRUE(model->setData(model->index(2, 0), Qt::Checked, Qt::CheckStateRole));
    EXPECT_TRUE(w.catalogue().isChecked(2));

    const QString list = files.path(QStringLiteral("saved.svl"));
    dialogs.files.push_back(list);
    w.toolButton(QStringLiteral("Salva"))->click();  // never saved: save as
    EXPECT_EQ(dialogs.asked.last(), QStringLiteral("Salva lista con nome..."));
    EXPECT_FALSE(w.isModified());
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Sonivo - ") + list);
    w.toolButton(QStringLiteral("Salva"))->click();  // saved before: saves without asking
    EXPECT_EQ(dialogs.asked.size(), 2);

    ASSERT_TRUE(w.newList());
    EXPECT_EQ(w.catalogue().size(), 0);
    EXPECT_EQ(w.statusText(2), QStringLiteral("Presenti 0 brani. Spazio: 0 KB"));
    dialogs.files.push_back(list);
    ASSERT_TRUE(w.openList());
    ASSERT_EQ(w.catalogue().size(), 4);
    QStringList reopened;
    for (int i = 0; i < 4; ++i)
        reopened << column(w, i, ColFileName);
    EXPECT_EQ(reopened, names);
    EXPECT_FALSE(w.isModified());
}

TEST_F(Form1Test, AFolderAlreadyListedIsUpdatedOnlyWhenTheUserSaysSo)
{
    Form1 w(services());
    w.start(QString());
    const QString folder = songFolder();
    scan(w, folder);
    ASSERT_EQ(w.catalogue().size(), 4);
    dialogs.answers.push_back(DesktopDialogs::Answer::No);
    scan(w, folder);
    EXPECT_EQ(w.catalogue().size(), 4);
    EXPECT_TRUE(dialogs.asked.last().contains(QStringLiteral("è già presente nell'elenco.\nVuoi aggiornarla?")));
    QFile::remove(folder + QStringLiteral("mpeg2-16k.mp3"));
    dialogs.answers.push_back(DesktopDialogs::Answer::Yes);
    w.show();
    bool closed = true;
    dialogs.whileAskingYesNo = [&] { closed = w.close(); };
    scan(w, folder);
    EXPECT_FALSE(closed) << "the window does not close in the middle of a scan";
    EXPECT_EQ(w.catalogue().size(), 3) << "the folder's old rows go";
}

TEST_F(Form1Test, TheSavePromptNeverLosesChanges)
{
    Form1 w(services());
    w.start(QString());
    w.show();  // a hidden window is closed without asking
    scan(w, songFolder());
    ASSERT_TRUE(w.isModified());

    dialogs.answers.push_back(DesktopDialogs::Answer::Cancel);
    EXPECT_FALSE(w.newList());
    EXPECT_EQ(w.catalogue().size(), 4);
    EXPECT_TRUE(w.isModified());

    // Yes, then a cancelled save-as dialog: nothing happens.
    dialogs.answers.push_back(DesktopDialogs::Answer::Yes);
    dialogs.files.push_back(QString());
    EXPECT_FALSE(w.newList());
    EXPECT_TRUE(w.isModified());

    // Yes, then a save that fails: reported as a failure to write, nothing lost.
    dialogs.answers.push_back(DesktopDialogs::Answer::Yes);
    files.write(QStringLiteral("blocker"), "a file where the folder should be");
    dialogs.files.push_back(files.path(QStringLiteral("blocker/x.svl")));
    EXPECT_FALSE(w.close());
    ASSERT_EQ(dialogs.notices.size(), 1);
    EXPECT_TRUE(dialogs.notices[0].startsWith(QStringLiteral("critical: ")));
    EXPECT_EQ(w.catalogue().size(), 4);
    EXPECT_TRUE(w.isModified());

    // No: the list goes, unsaved, as asked.
    dialogs.answers.push_back(DesktopDialogs::Answer::No);
    EXPECT_TRUE(w.newList());
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Sonivo - Nuova lista"));
    EXPECT_EQ(dialogs.asked.count(QStringLiteral("La lista dei brani è stata modificata.\nVuoi salvare le modifiche?")), 4);
}

TEST_F(Form1Test, PlacementIsWrittenAtCloseAndReadAtStart)
{
    const FormServices s = services();
    {
        Form1 w(s);
        w.start(QString());
        w.resize(800, 600);
        ASSERT_TRUE(w.close());
    }
    EXPECT_EQ(readSetting(s.settingsFile, QStringLiteral("opzioni"), QStringLiteral("MAXIMIZED")), QStringLiteral("0"));
    const int width = readSetting(s.settingsFile, QStringLiteral("Opzioni"), QStringLiteral("Width")).toInt();
    EXPECT_EQ(width, 800 * 15);
    {
        Form1 w(s);
        w.start(QString());
        EXPECT_EQ(w.width(), 800);
        EXPECT_EQ(w.height(), 600);
    }
    writeSetting(s.settingsFile, QStringLiteral("Opzioni"), QStringLiteral("Maximized"), QStringLiteral("1"));
    {
        Form1 w(s);
        w.start(QString());
        EXPECT_TRUE(w.windowState() & Qt::WindowMaximized);
    }
}

TEST_F(Form1Test, ASettingsFileOfGarbageKeepsTheDesignSize)
{
    const FormServices s = services();
    Form1 design(s);
    design.start(QString());
    const QSize designSize = design.size();
    QDir().mkpath(files.path(QStringLiteral("config")));

    for (const char* content : {"\x01\x02garbage\xff\n[Opzioni\nWidth=\n", "[Opzioni]\nMaximized=0\nWidth=1e300\nHeight=99999999999\n",
                                "[Opzioni]\nMaximized=0\nWidth=abc\nHeight=-5\n", "[Opzioni]\nMaximized=2\nWidth=6000\nHeight=6000\n"}) {
        files.write(QStringLiteral("config/sonivo.ini"), QByteArray(content));
        Form1 w(s);
        w.start(QString());
        EXPECT_EQ(w.size(), designSize) << content;
        EXPECT_FALSE(w.windowState() & Qt::WindowMaximized);
    }
}

TEST_F(Form1Test, TheRegistryStartOptionMaximizes)
{
    const FormServices s = services();
    ASSERT_TRUE(KeyValueStore(s.registryFile).setValue(QStringLiteral("Sonivo"), QStringLiteral("Max"), QStringLiteral("1")));
    Form1 w(s);
    w.start(QString());
    EXPECT_TRUE(w.windowState() & Qt::WindowMaximized);
}

TEST_F(Form1Test, EveryMenuEntryAndToolbarButtonIsThere)
{
    Form1 w(services());
    w.start(QString());
    for (const char* caption :
         {"&Nuova lista", "&Apri lista... ", "&Salva lista", "Sal&va lista con nome...", "Aggiungi &cartella singola",
          "A&ggiungi cartella e sottocartelle", "&Esci", "Visualizza Tag", "Modalità &Lista", "Modalità &Report",
          "Ordine &Crescente", "Ordine &Decrescente", "&Ordina per...", "Copia &files nella cartella...",
          "&Elimina files selezionati", "&Brano", "&Cartella", "&Album", "&Mostra tutti", "&Visualizza griglia",
          "&Traccia selezione", "&Intestazione flat", "&Carattere grassetto", "&Seleziona tutti", "&Deseleziona tutti",
          "I&nverti selezione", "&Play", "P&ausa", "&Stop", "Brano p&recedente", "Brano s&uccessivo",
          "Apri brano con player esterno...", "Apri lista con player esterno...", "&Stampa lista", "&Crea lista Html",
          "&File lista mp3", "&Guida in linea", "&Cerca...", "&Sito Sonivo", "&Informazioni...", "Rimuovi brano",
          "Rimuovi tutti"})
        EXPECT_NE(w.menuEntry(QString::fromUtf8(caption)), nullptr) << caption;
    for (const char* key : {"Apri", "Nuovo", "Salva", "Aggiungi", "Trova", "Stampa", "Opzioni", "Informazioni", "Esci"})
        EXPECT_NE(w.toolButton(QString::fromLatin1(key)), nullptr) << key;
    EXPECT_EQ(w.fileEntry(8)->text(), QStringLiteral("&Esci"));
    EXPECT_TRUE(w.fileEntry(4)->isSeparator());
    EXPECT_TRUE(w.fileEntry(7)->isSeparator());
    EXPECT_FALSE(w.menuEntry(QStringLiteral("Apri brano con player esterno..."))->isEnabled());
}

TEST_F(Form1Test, DisplayOptionsAndViewModes)
{
    Form1 w(services());
    w.start(QString());
    EXPECT_TRUE(w.optionEntry(0)->isChecked());
    EXPECT_TRUE(w.reportView()->showGrid());
    w.optionEntry(0)->trigger();
    EXPECT_FALSE(w.reportView()->showGrid());
    w.optionEntry(3)->trigger();
    EXPECT_TRUE(w.reportView()->horizontalHeader()->font().bold());
    w.optionEntry(3)->trigger();
    EXPECT_FALSE(w.reportView()->horizontalHeader()->font().bold());
    w.optionEntry(2)->trigger();
    EXPECT_FALSE(w.reportView()->horizontalHeader()->styleSheet().isEmpty());
    w.optionEntry(2)->trigger();
    EXPECT_TRUE(w.reportView()->horizontalHeader()->styleSheet().isEmpty()) << "back to the button look";

    QAction* listMode = w.menuEntry(QStringLiteral("Modalità &Lista"));
    QAction* reportMode = w.menuEntry(QStringLiteral("Modalità &Report"));
    EXPECT_FALSE(listMode->isChecked());
    EXPECT_FALSE(reportMode->isChecked());
    listMode->trigger();
    EXPECT_TRUE(listMode->isChecked());
    EXPECT_FALSE(reportMode->isChecked());
    reportMode->trigger();
    EXPECT_FALSE(listMode->isChecked());
    EXPECT_TRUE(reportMode->isChecked());

    // Every caption of the sort submenu is a column title, in column order.
    for (int c = 0; c < kColumnCount; ++c)
        EXPECT_EQ(w.orderEntry(c)->text(), columnCaptions().at(c));
}
