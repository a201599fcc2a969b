#include "tests/reports/ReportTestRows.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/TempFiles.h"

#include "catalogue/ListFile.h"
#include "common/NativePath.h"
#include "reports/ReportCommand.h"
#include "reports/ReportFile.h"

#include <QDir>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

using namespace sonivo;
using namespace sonivo::test;

namespace {

const QLocale kItalian(QLocale::Italian, QLocale::Italy);

class ReportCommand : public ::testing::Test {
protected:
    ReportChoice choice(ReportKind kind, bool queueOnly = false, bool toPrinter = false)
    {
        ReportChoice c;
        c.kind = kind;
        c.queueOnly = queueOnly;
        c.toPrinter = toPrinter;
        return c;
    }
    void run(const ReportChoice& c) { runReport(c, catalogue, list, queue, files.path(QString()), dialogs, kItalian); }

    TempFiles files;
    Catalogue catalogue = numberedSongs(8);
    QString list;  // the list file the catalogue was read from
    std::vector<RowId> queue = idsOfRows(catalogue, {7, 2, 5});
    ScriptedDialogs dialogs;
};

}  // namespace

TEST_F(ReportCommand, AsksForTheFileWithTheTitleFilterAndDefaultNameOfEachKind)
{
    const QString folder = files.path(QString());  // where the caller says the dialog starts
    for (const ReportKind kind : {ReportKind::TextList, ReportKind::HtmlPage, ReportKind::Playlist}) {
        dialogs.files.push_back(QString());
        run(choice(kind));
    }
    EXPECT_EQ(dialogs.namedSaves,
        (QStringList{QStringLiteral("Salva lista MP3|File di testo|*.txt|txt|") + folder + QStringLiteral("|Lista mp3"),
            QStringLiteral("Salva lista HTML|File Html|*.htm|htm|") + folder + QStringLiteral("|Lista mp3"),
            QStringLiteral("Salva Playlist|File M3U|*.m3u|m3u|") + folder + QStringLiteral("|Lista mp3")}));
    // Cancelled: nothing written, nothing opened, nothing said.
    EXPECT_TRUE(dialogs.opened.isEmpty());
    EXPECT_TRUE(dialogs.notices.isEmpty());
    EXPECT_TRUE(QDir(files.path(QString())).isEmpty());
}

TEST_F(ReportCommand, WritesTheChosenFileAndOpensItWithTheDesktop)
{
    const QString target = files.write(QStringLiteral("Lista mp3.m3u"), "old content");
    dialogs.files.push_back(target);
    run(choice(ReportKind::Playlist, true));
    EXPECT_EQ(TempFiles::read(target), QByteArray("/music/Song 7.mp3\r\n/music/Song 2.mp3\r\n/music/Song 5.mp3\r\n"));
    EXPECT_EQ(dialogs.opened, QStringList{target});
    EXPECT_TRUE(dialogs.notices.isEmpty());

    // The playlist ignores the extra data; the text list does not.
    ReportChoice text = choice(ReportKind::TextList);
    text.options.withDuration = true;
    dialogs.files.push_back(files.path(QStringLiteral("lista.txt")));
    run(text);
    EXPECT_TRUE(TempFiles::read(files.path(QStringLiteral("lista.txt"))).startsWith("Sonivo - Lista brani\r\n\r\nSong 1 [01.00]\r\n"));
}

TEST_F(ReportCommand, AFileNoProgramOpensIsSaidToBeSavedAndNamed)
{
    dialogs.desktopOpens = false;
    const QString target = files.path(QStringLiteral("x.htm"));
    dialogs.files.push_back(target);
    EXPECT_EQ(runReport(choice(ReportKind::HtmlPage), catalogue, list, queue, files.path(QString()), dialogs, kItalian), target);
    EXPECT_TRUE(QFileInfo::exists(target));
    EXPECT_EQ(dialogs.notices,
        QStringList{QStringLiteral("inform: Il file ") + target + QStringLiteral(" è stato salvato, ma nessun programma lo ha aperto.")})
        << "an information, not a warning that reads as a failed report";
}

TEST_F(ReportCommand, AReportNeverReplacesTheListItReads)
{
    list = files.path(QStringLiteral("Lista mp3.svl"));
    ASSERT_TRUE(SalvaLista(list, catalogue).ok);
    const QByteArray listBytes = TempFiles::read(list);
    const QString linked = files.path(QStringLiteral("Lista mp3.htm"));
    ASSERT_EQ(::link(toNativePath(list).constData(), toNativePath(linked).constData()), 0);
    for (const QString& chosen : {list, linked}) {
        dialogs.notices.clear();
        dialogs.files.push_back(chosen);
        run(choice(ReportKind::HtmlPage));
        EXPECT_EQ(dialogs.notices,
            QStringList{QStringLiteral("critical: Impossibile scrivere il file ") + chosen
                + QStringLiteral(": è la lista da cui vengono i brani, che non viene sostituita")});
    }
    EXPECT_TRUE(dialogs.opened.isEmpty());
    EXPECT_EQ(TempFiles::read(list), listBytes);
    EXPECT_EQ(TempFiles::read(linked), listBytes);

    // Another file is written as ever.
    dialogs.files.push_back(files.path(QStringLiteral("other.htm")));
    run(choice(ReportKind::HtmlPage));
    EXPECT_EQ(dialogs.opened, QStringList{files.path(QStringLiteral("other.htm"))});
}

TEST_F(ReportCommand, PrintsTheTextListFromMemoryWithoutAFileDialog)
{
    ReportChoice print = choice(ReportKind::TextList, true, true);
    print.options.withSize = true;
    run(print);
    EXPECT_EQ(dialogs.printed,
        QStringList{QStringLiteral("Sonivo - Lista brani\r\n\r\nSong 7 [7.000 KB]\r\nSong 2 [2.000 KB]\r\nSong 5 [5.000 KB]\r\n\r\n")});
    EXPECT_TRUE(dialogs.asked.isEmpty());
    EXPECT_TRUE(dialogs.notices.isEmpty());
    EXPECT_TRUE(dialogs.opened.isEmpty());

    dialogs.printOutcome = DesktopDialogs::PrintOutcome::NoPrinter;
    run(print);
    ASSERT_EQ(dialogs.notices.size(), 1);
    EXPECT_TRUE(dialogs.notices.at(0).startsWith(QStringLiteral("warn: Nessuna stampante predefinita")));
    dialogs.printOutcome = DesktopDialogs::PrintOutcome::Failed;
    run(print);
    EXPECT_EQ(dialogs.notices.last(), QStringLiteral("critical: Impossibile stampare la lista brani."));
}

TEST_F(ReportCommand, ACancelledPrintIsSaidToBeCancelledAndHowFar)
{
    dialogs.printOutcome = DesktopDialogs::PrintOutcome::Cancelled;
    run(choice(ReportKind::TextList, false, true));
    EXPECT_EQ(dialogs.notices, QStringList{QStringLiteral("inform: Stampa annullata.")});
    dialogs.notices.clear();
    dialogs.printOutcome = DesktopDialogs::PrintOutcome::CancelledPartlySent;
    run(choice(ReportKind::TextList, false, true));
    ASSERT_EQ(dialogs.notices.size(), 1);
    EXPECT_TRUE(dialogs.notices.at(0).startsWith(QStringLiteral("warn: Stampa annullata. La stampante non permette"))) << "the pages sent are not passed over";
    EXPECT_TRUE(dialogs.opened.isEmpty());
}

TEST_F(ReportCommand, AReportCancelledHalfwayLeavesTheOldFileWholeAndNoOtherFile)
{
    // Enough songs for pieces of several mebibytes, so that "Annulla" comes between two of them.
    catalogue = numberedSongs(120000);
    for (const ReportKind kind : {ReportKind::TextList, ReportKind::HtmlPage, ReportKind::Playlist}) {
        SCOPED_TRACE(int(kind));
        const QString target = files.write(QStringLiteral("Lista mp3"), "old report");
        dialogs.files.push_back(target);
        dialogs.notices.clear();
        dialogs.steps.clear();
        dialogs.cancelAtStep = 2;
        ReportChoice c = choice(kind);
        c.options = {true, true};
        run(c);
        ASSERT_EQ(dialogs.steps.size(), 2u) << "the work stops at the step cancelled";
        const auto [before, total] = dialogs.steps.at(0);
        EXPECT_EQ(total, 120000);
        EXPECT_GT(before, 0);
        EXPECT_LT(dialogs.steps.at(1).first, total) << "cancelled halfway";
        EXPECT_GT(dialogs.steps.at(1).first, before);
        EXPECT_EQ(TempFiles::read(target), QByteArray("old report"));
        EXPECT_EQ(QDir(files.path(QString())).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("Lista mp3")});
        EXPECT_EQ(dialogs.notices, QStringList{QStringLiteral("inform: Scrittura annullata: il file ") + target
                                       + QStringLiteral(" non è stato scritto né modificato.")});
        EXPECT_TRUE(dialogs.opened.isEmpty());
    }
    EXPECT_EQ(dialogs.progressShown.size(), 3);
    EXPECT_TRUE(dialogs.progressShown.at(0).startsWith(QStringLiteral("Scrittura di ")));

    // Not cancelled, the steps run to the last song and the report is written.
    dialogs.steps.clear();
    dialogs.cancelAtStep.reset();
    const QString target = files.path(QStringLiteral("Lista mp3"));
    dialogs.files.push_back(target);
    run(choice(ReportKind::Playlist));
    ASSERT_FALSE(dialogs.steps.empty());
    EXPECT_EQ(dialogs.steps.back(), std::make_pair(qint64(120000), qint64(120000)));
    EXPECT_TRUE(TempFiles::read(target).startsWith("/music/Song 1.mp3\r\n"));
}

TEST(ReportFile, AFailedWriteLeavesTheOldFileWhole)
{
    TempFiles files;
    const Catalogue catalogue = numberedSongs(3);
    const QString path = files.write(QStringLiteral("old.htm"), "old page");
    {
        FileSizeLimit full(100);  // the disk fills up within the page's head
        const ReportResult r = saveReport(path, ReportKind::HtmlPage, ReportSource(catalogue), {}, kItalian);
        EXPECT_FALSE(r.ok);
        EXPECT_FALSE(r.error.isEmpty());
    }
    EXPECT_EQ(TempFiles::read(path), QByteArray("old page"));
    {
        const PermissionsEnforced enforced;  // a folder the user may not write in
        const QByteArray folder = toNativePath(files.path(QString()));
        ASSERT_EQ(::chmod(folder.constData(), 0500), 0);
        EXPECT_FALSE(saveReport(path, ReportKind::TextList, ReportSource(catalogue), {}, kItalian).ok);
        ::chmod(folder.constData(), 0700);
        EXPECT_EQ(TempFiles::read(path), QByteArray("old page"));
    }
    EXPECT_EQ(QDir(files.path(QString())).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("old.htm")});
    // A folder where the file should be is refused.
    EXPECT_FALSE(saveReport(files.path(QString()), ReportKind::Playlist, ReportSource(catalogue), {}, kItalian).ok);
}
