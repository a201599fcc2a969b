#include "catalogue/ListDocument.h"
#include "catalogue/FolderScan.h"
#include "catalogue/ListFile.h"
#include "tests/support/Mp3Builder.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/SongRows.h"
#include "tests/support/TempFiles.h"

#include <QFileInfo>
#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace sonivo;
using namespace sonivo::test;

namespace {

const QString kPrompt = QStringLiteral("La lista dei brani è stata modificata.\nVuoi salvare le modifiche?");

// Answers the scan's questions with Yes and counts them.
class UpdateAll final : public ScanDialogs {
public:
    int asked = 0;
    bool askUpdateFolder(const QString&) override { return ++asked, true; }
    QString askCdName(const QString& label) override { return label; }
    void scanCounted(qint64) override {}
    void folderProgress(qint64, qint64) override {}
};

class ListDocumentTest : public testing::Test {
protected:
    TempFiles files;
    ScriptedDialogs dialogs;
    DriveInfo drives{systemMountTable()};
    ListDocument doc{dialogs, drives};
    UpdateAll scanAnswers;

    // A folder holding copies of the four fixture songs.
    QString songFolder()
    {
        const QString folder = files.path(QStringLiteral("songs/"));
        QDir().mkpath(folder);
        for (const QString& name : QDir(QStringLiteral(SONIVO_FIXTURES)).entryList({QStringLiteral("*.mp3")}))
            QFile::copy(QStringLiteral(SONIVO_FIXTURES "/") + name, folder + name);
        return folder;
    }

    std::optional<qint64> scan(const QString& folder)
    {
        dialogs.folders.push_back(folder);
        return doc.addFolder(false, scanAnswers);
    }

    // The four songs saved as a list, then the first row taken out of the
    // catalogue; the list's path.
    QString savedListWithOneRowOut()
    {
        const QString list = files.path(QStringLiteral("saved.svl"));
        EXPECT_EQ(scan(songFolder()), 4);
        dialogs.files.push_back(list);
        EXPECT_TRUE(doc.save());
        doc.catalogue().setChecked(0, true);
        doc.catalogue().removeChecked();
        return list;
    }
};

}  // namespace

TEST_F(ListDocumentTest, SaveOpenAndTheTitle)
{
    EXPECT_EQ(doc.title(), QStringLiteral("Sonivo - Nuova lista"));
    EXPECT_TRUE(doc.save()) << "nothing to save";
    EXPECT_TRUE(dialogs.asked.isEmpty());

    ASSERT_EQ(scan(songFolder()), 4);
    EXPECT_TRUE(doc.isModified());

    // Never saved: save asks for a name.
    const QString list = files.path(QStringLiteral("saved.svl"));
    dialogs.files.push_back(list);
    int titles = 0;
    QObject::connect(&doc, &ListDocument::listPathChanged, [&] { ++titles; });
    ASSERT_TRUE(doc.save());
    EXPECT_EQ(dialogs.asked.last(), QStringLiteral("Salva lista con nome..."));
    EXPECT_EQ(doc.title(), QStringLiteral("Sonivo - ") + list);
    EXPECT_EQ(titles, 1);
    EXPECT_FALSE(doc.isModified());
    EXPECT_TRUE(doc.save());
    EXPECT_EQ(dialogs.asked.size(), 2) << "saved before: no question";

    ASSERT_TRUE(doc.newList()) << "nothing changed: no prompt";
    EXPECT_EQ(doc.catalogue().size(), 0);
    EXPECT_EQ(doc.title(), QStringLiteral("Sonivo - Nuova lista"));
    dialogs.files.push_back(list);
    ASSERT_TRUE(doc.openList());
    EXPECT_EQ(doc.catalogue().size(), 4);
    EXPECT_FALSE(doc.isModified());
    EXPECT_EQ(doc.listPath(), list);
    EXPECT_FALSE(dialogs.asked.contains(kPrompt));
    dialogs.files.push_back(QString());
    doc.openList();
    EXPECT_EQ(dialogs.startedIn.last(), QFileInfo(list).path()) << "the next list is looked for beside this one";
}

TEST_F(ListDocumentTest, TheSavePromptNeverLosesChanges)
{
    ASSERT_EQ(scan(songFolder()), 4);

    dialogs.answers.push_back(DesktopDialogs::Answer::Cancel);
    EXPECT_FALSE(doc.newList());
    EXPECT_EQ(doc.catalogue().size(), 4);
    EXPECT_TRUE(doc.isModified());

    // Yes, then a cancelled save-as dialog: nothing happens.
    dialogs.answers.push_back(DesktopDialogs::Answer::Yes);
    dialogs.files.push_back(QString());
    EXPECT_FALSE(doc.openList());
    EXPECT_TRUE(doc.isModified());

    // Yes, then a save that fails: reported, nothing lost, and no word of a
    // previous file where there was none.
    dialogs.answers.push_back(DesktopDialogs::Answer::Yes);
    files.write(QStringLiteral("blocker"), "a file where the folder should be");
    dialogs.files.push_back(files.path(QStringLiteral("blocker/x.svl")));
    EXPECT_FALSE(doc.confirmDiscard());
    ASSERT_EQ(dialogs.notices.size(), 1);
    EXPECT_TRUE(dialogs.notices[0].startsWith(QStringLiteral("critical: Impossibile salvare la lista")));
    EXPECT_TRUE(dialogs.notices[0].contains(QStringLiteral("non è una cartella"))) << dialogs.notices[0].toStdString();
    EXPECT_FALSE(dialogs.notices[0].contains(QStringLiteral("precedente")));
    EXPECT_EQ(doc.catalogue().size(), 4);
    EXPECT_TRUE(doc.isModified());

    // No: the list goes, unsaved, as asked.
    dialogs.answers.push_back(DesktopDialogs::Answer::No);
    EXPECT_TRUE(doc.newList());
    EXPECT_EQ(doc.catalogue().size(), 0);
    EXPECT_FALSE(doc.isModified());
    EXPECT_EQ(dialogs.asked.count(kPrompt), 4);
}

TEST_F(ListDocumentTest, ASaveStoppedWithAnnullaKeepsTheOldListAndTheChanges)
{
    const QString list = files.write(QStringLiteral("old.svl"), "old;content\r\n");
    std::vector<SongRecord> many;  // several chunks of the file, so the save has steps
    for (int i = 0; i < 8000; ++i)
        many.push_back(songIn(QStringLiteral("%1 - ").arg(i) + QString(200, QLatin1Char('x')) + QStringLiteral(".mp3"),
            QStringLiteral("/musica/")));
    doc.catalogue().append(std::move(many));
    doc.setModified(true);
    dialogs.files.push_back(list);
    dialogs.cancelAtStep = 1;
    EXPECT_FALSE(doc.saveAs());
    EXPECT_EQ(dialogs.progressShown, QStringList{QStringLiteral("Salvataggio della lista in corso...")});
    ASSERT_EQ(dialogs.steps.size(), 1u);
    EXPECT_LT(dialogs.steps[0].first, dialogs.steps[0].second) << "stopped halfway";
    EXPECT_EQ(TempFiles::read(list), QByteArray("old;content\r\n"));
    EXPECT_EQ(QDir(files.path(QString())).entryList(QDir::Files), QStringList{QStringLiteral("old.svl")}) << "no new file left";
    EXPECT_TRUE(doc.isModified());
    EXPECT_TRUE(dialogs.notices.isEmpty()) << "a stop the user asked for needs no message";

    dialogs.answers.push_back(DesktopDialogs::Answer::Yes);
    dialogs.files.push_back(list);
    EXPECT_FALSE(doc.savePrompt()) << "what was to follow the save does not go on";
    dialogs.cancelAtStep.reset();
    dialogs.files.push_back(list);
    ASSERT_TRUE(doc.saveAs());
    EXPECT_EQ(dialogs.steps.back().second, 8000);
    Catalogue saved;
    ASSERT_TRUE(ApriLista(list, saved).ok);
    EXPECT_EQ(saved.size(), 8000);
}

TEST_F(ListDocumentTest, ASaveWhileAnotherProgramKeepsTheListLockedFailsAndSaysSo)
{
    ASSERT_EQ(scan(songFolder()), 4);
    const QString list = files.write(QStringLiteral("busy.svl"), "old;content\r\n");
    PathLock otherProgram;
    ASSERT_EQ(otherProgram.lock(list, std::chrono::milliseconds(100)), 0);
    dialogs.files.push_back(list);
    EXPECT_FALSE(doc.saveAs());
    ASSERT_EQ(dialogs.notices.size(), 1);
    EXPECT_EQ(dialogs.notices[0],
        QStringLiteral("critical: Impossibile salvare la lista \"") + list
            + QStringLiteral("\":\nla lista è in uso da un altro programma da più di 5 secondi; riprova più tardi"
                             "\nIl file precedente non è stato modificato."));
    EXPECT_EQ(TempFiles::read(list), QByteArray("old;content\r\n"));
    EXPECT_TRUE(doc.isModified());
}

TEST_F(ListDocumentTest, AListThatCannotBeOpenedLeavesTheCatalogueAsItWasAndSaysWhyInItalian)
{
    const QString list = savedListWithOneRowOut();
    doc.setModified(true);
    const std::vector<SongRecord> before = doc.catalogue().rows();

    const QString missing = files.path(QStringLiteral("nowhere.svl"));
    EXPECT_FALSE(doc.load(missing));
    ASSERT_EQ(dialogs.notices.size(), 1);
    EXPECT_EQ(dialogs.notices[0], QStringLiteral("warn: Impossibile leggere la lista \"") + missing
            + QStringLiteral("\":\nfile o cartella inesistente\nLa lista dei brani non è cambiata."));
    EXPECT_EQ(doc.catalogue().rows(), before);
    EXPECT_EQ(doc.listPath(), list);
    EXPECT_TRUE(doc.isModified());
}

TEST_F(ListDocumentTest, AStoppedOpenOrRestoreLeavesTheCatalogueAsItWasAndSaysNothing)
{
    const QString list = savedListWithOneRowOut();
    doc.setNarrowed();
    const std::vector<SongRecord> before = doc.catalogue().rows();
    const qsizetype noticesBefore = dialogs.notices.size();

    const QString other = files.write(QStringLiteral("other.svl"), QByteArray(kColumnCount - 1, ';') + "\r\n");
    // "Annulla" stops the open, a stop asked for from outside (a close) the restore.
    dialogs.progressShown.clear();
    dialogs.cancelAtStep = 1;
    EXPECT_FALSE(doc.load(other));
    dialogs.cancelAtStep.reset();
    dialogs.atStep = [&] {
        EXPECT_TRUE(doc.isLoading());
        doc.stopLoad();
    };
    EXPECT_FALSE(doc.restoreList());
    EXPECT_EQ(dialogs.progressShown, QStringList(2, QStringLiteral("Apertura della lista in corso...")));
    ASSERT_EQ(dialogs.steps.size(), 2u);
    EXPECT_LE(dialogs.steps[0].first, dialogs.steps[0].second);
    EXPECT_FALSE(doc.isLoading());
    EXPECT_EQ(doc.catalogue().rows(), before);
    EXPECT_EQ(doc.listPath(), list);
    EXPECT_TRUE(doc.isModified());
    EXPECT_EQ(dialogs.notices.size(), noticesBefore) << "a stop the user asked for needs no message";

    dialogs.atStep = nullptr;
    ASSERT_TRUE(doc.restoreList()) << "the next read is not stopped";
    EXPECT_EQ(doc.catalogue().size(), 4);
}

TEST_F(ListDocumentTest, DamagedLinesAreLeftOutCountedAndTheListIsNeverWrittenOverUnasked)
{
    const QByteArray content = QByteArray("only;three;fields\r\n") + QByteArray(21, ';') + "\r\n";
    const QString list = files.write(QStringLiteral("odd.svl"), content);
    EXPECT_TRUE(doc.load(list));
    EXPECT_EQ(doc.catalogue().size(), 1);
    EXPECT_EQ(doc.listPath(), list);
    ASSERT_EQ(dialogs.notices.size(), 1);
    EXPECT_EQ(dialogs.notices[0],
        QStringLiteral("warn: La lista \"") + list
            + QStringLiteral("\" contiene righe danneggiate: 1 righe non sono state lette, le altre sì.\n"
                             "Per salvarla verrà chiesto un nome, così il file non viene sovrascritto."));

    doc.setModified(true);
    dialogs.files.push_back(QString());  // the name is asked for, and not given
    EXPECT_FALSE(doc.save());
    EXPECT_EQ(dialogs.asked.last(), QStringLiteral("Salva lista con nome..."));
    EXPECT_EQ(TempFiles::read(list), content);

    const QString chosen = files.path(QStringLiteral("mended.svl"));
    dialogs.files.push_back(chosen);
    ASSERT_TRUE(doc.save());
    EXPECT_EQ(doc.listPath(), chosen);
    EXPECT_EQ(TempFiles::read(list), content);
    const qsizetype asked = dialogs.asked.size();
    EXPECT_TRUE(doc.save()) << "a list saved under a chosen name saves there again";
    EXPECT_EQ(dialogs.asked.size(), asked);
}

TEST_F(ListDocumentTest, AFileThatIsNoListIsRefusedAndTheRowsStay)
{
    const QString folder = songFolder();
    ASSERT_EQ(scan(folder), 4);
    const std::vector<SongRecord> before = doc.catalogue().rows();
    const QByteArray prose = QByteArray("a line of prose; not a song\n").repeated(1000);
    const QString path = files.write(QStringLiteral("prose.svl"), prose);
    EXPECT_FALSE(doc.load(path));
    EXPECT_EQ(doc.catalogue().rows(), before);
    EXPECT_TRUE(doc.listPath().isEmpty());
    EXPECT_TRUE(doc.isModified()) << "the scanned rows are still unsaved";
    ASSERT_EQ(dialogs.notices.size(), 1);
    EXPECT_TRUE(dialogs.notices[0].startsWith(QStringLiteral("warn: Il file \"") + path + QStringLiteral("\" non è una lista di brani: ")))
        << dialogs.notices[0].toStdString();
    EXPECT_EQ(TempFiles::read(path), prose);
}

TEST_F(ListDocumentTest, EveryScanSetsTheModifiedFlagAndACancelledChoiceNone)
{
    dialogs.folders.push_back(QString());
    EXPECT_EQ(doc.addFolder(true, scanAnswers), std::nullopt);
    EXPECT_FALSE(doc.isModified());

    const QString empty = files.path(QStringLiteral("empty/"));
    QDir().mkpath(empty);
    EXPECT_EQ(scan(empty), 0);
    EXPECT_TRUE(doc.isModified()) << "a scan that found nothing still changed the list";

    // A folder already listed: the question names it as it is, not in capitals.
    const QString folder = songFolder();
    scan(folder);
    scan(folder);
    EXPECT_EQ(scanAnswers.asked, 1);
    EXPECT_EQ(doc.catalogue().size(), 4);
    EXPECT_EQ(updateFolderQuestion(folder),
        QStringLiteral("La cartella '") + folder + QStringLiteral("' è già presente nell'elenco.\rVuoi aggiornarla?"));
}

TEST_F(ListDocumentTest, WhatTheScanCouldNotReadIsReportedAtTheEnd)
{
    const QString folder = songFolder();
    ASSERT_EQ(::mkfifo(QFile::encodeName(folder + QStringLiteral("pipe.mp3")).constData(), 0600), 0);
    EXPECT_EQ(scan(folder), 4) << "the songs are read, the pipe is not waited on";
    ASSERT_EQ(dialogs.notices.size(), 1);
    EXPECT_EQ(dialogs.notices[0],
        QStringLiteral("warn: La scansione non ha potuto leggere 1 tra file e cartelle:\n") + folder
            + QStringLiteral("pipe.mp3: non è un file regolare"));
}

TEST_F(ListDocumentTest, AScanThatLeftId3v2TagsUnreadSaysHowManyAndWhereToReadThem)
{
    const QString folder = files.path(QStringLiteral("v2/"));
    QDir().mkpath(folder);
    const QByteArray audio = frames(FrameFields{}, 3);
    const QByteArray v2 = id3v2TagOf(3, id3v2Frame(3, "TIT2", id3v2Text(0, QStringLiteral("Uno"))));
    for (const char* name : {"a.mp3", "b.mp3"})
        files.write(QStringLiteral("v2/") + QLatin1String(name), v2 + audio);
    TagFields v1;
    v1.title = "Dal tag ID3v1";
    files.write(QStringLiteral("v2/c.mp3"), v2 + audio + id3v1Tag(v1));  // both tags: the ID3v1 tag is shown whole
    EXPECT_EQ(scan(folder), 3);
    EXPECT_EQ(dialogs.notices, QStringList(QStringLiteral("inform: 2 file hanno soltanto un tag ID3v2, che non è stato letto: per leggerlo "
                                                          "attivare \"Leggi i tag ID3v2 dei file senza tag ID3v1\" nella finestra Opzioni.")));
    const auto titles = [&] {
        QStringList out;
        for (const SongRecord& r : doc.catalogue().rows())
            out << r.text(ColTitle);
        return out.join(QLatin1Char(','));
    };
    EXPECT_EQ(titles(), QStringLiteral(",,Dal tag ID3v1"));

    dialogs.notices.clear();
    dialogs.folders.push_back(folder);
    doc.addFolder(false, scanAnswers, true);  // the folder again, updated
    EXPECT_TRUE(dialogs.notices.isEmpty()) << "read, so nothing to say";
    EXPECT_EQ(titles(), QStringLiteral("Uno,Uno,Dal tag ID3v1"));
}
