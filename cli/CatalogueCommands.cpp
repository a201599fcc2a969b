#include "cli/CatalogueCommands.h"

#include "catalogue/FolderScan.h"
#include "catalogue/LineForm.h"
#include "catalogue/ListFile.h"
#include "cli/Output.h"
#include "platform/Directory.h"

#include <cerrno>

namespace sonivo::cli {
namespace {

// Answers the scan from the options: folders already in the list are updated, a
// CD gets the name given (its label without one).
class OptionDialogs final : public ScanDialogs {
public:
    explicit OptionDialogs(std::optional<QString> cdName) : cdName_(std::move(cdName)) {}
    bool askUpdateFolder(const QString&) override { return true; }
    QString askCdName(const QString& volumeLabel) override { return cdName_.value_or(volumeLabel); }
    void scanCounted(qint64) override {}
    void folderProgress(qint64, qint64) override {}

private:
    std::optional<QString> cdName_;
};

const QString kScanUsage = QStringLiteral("uso: sonivo-cli scan [--recursive] [--id3v2] [--cd-name NOME] CARTELLA [--list FILE.svl]");

void printRows(const Catalogue& catalogue, qsizetype from)
{
    // The line form in UTF-8 is what printing its text would write: it holds no
    // byte of a name that is not UTF-8 (those are escaped) and writes a lone
    // UTF-16 half as "?", as printing does.
    QByteArray line;
    for (qsizetype i = from; i < catalogue.size(); ++i) {
        line.resize(0);
        appendLine(line, catalogue.row(i));
        printLine(QByteArrayView(line));
    }
}

QString unreadId3v2Text(qint64 files)
{
    return (files == 1 ? QStringLiteral("1 file ha soltanto un tag ID3v2, non letto")
                       : QStringLiteral("%1 file hanno soltanto un tag ID3v2, non letto").arg(files))
        + QStringLiteral(": con --id3v2 la scansione ne legge artista, titolo, album, anno, genere e commento");
}

}  // namespace

int scanCommand(const QStringList& args)
{
    bool recursive = false;
    bool readId3v2 = false;
    std::optional<QString> cdName;
    QString listFile;
    QString folder;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args.at(i);
        if (a == QLatin1String("--recursive")) {
            recursive = true;
        } else if (a == QLatin1String("--id3v2")) {
            readId3v2 = true;
        } else if ((a == QLatin1String("--cd-name") || a == QLatin1String("--list")) && i + 1 < args.size()) {
            (a == QLatin1String("--list") ? listFile : cdName.emplace()) = args.at(++i);
        } else if (folder.isEmpty() && !a.startsWith(QLatin1String("--"))) {
            folder = a;
        } else {
            printError(kScanUsage);
            return 2;
        }
    }
    if (folder.isEmpty()) {
        printError(kScanUsage);
        return 2;
    }
    const int opened = FolderHandle::open(folder).error();
    if (opened == ENOENT || opened == ENOTDIR) {
        printError(QStringLiteral("%1: cartella non trovata").arg(folder));
        return 1;
    }
    Catalogue catalogue;
    ListUpdate update;
    if (!listFile.isEmpty()) {
        const ListFileResult loaded = update.read(listFile, catalogue);
        if (!loaded.ok) {
            printError(QStringLiteral("%1: impossibile aggiornare la lista (%2)").arg(listFile, loaded.error));
            return 1;
        }
        // Saving would replace whatever the file holds with the rows read from it.
        if (loaded.damagedLines > 0) {
            printError(QStringLiteral("%1: non è un file di lista (%2 righe non valide); non viene sovrascritto")
                           .arg(listFile)
                           .arg(loaded.damagedLines));
            return 1;
        }
    }
    OptionDialogs dialogs(cdName);
    const DriveInfo drives;
    FolderScan scan(catalogue, dialogs, drives);
    scan.setIncludeSubfolders(recursive);
    scan.setReadId3v2(readId3v2);
    const qsizetype before = catalogue.size();
    const qint64 added = scan.ScanFolders(folder);
    for (const ScanSkip& skip : scan.skipped())
        printError(QStringLiteral("%1: non letto (%2)").arg(skip.path, skip.reason));
    if (const qint64 unread = scan.unreadId3v2Files())
        printError(unreadId3v2Text(unread));
    const int status = scan.skipped().empty() ? 0 : 1;
    if (listFile.isEmpty()) {
        printRows(catalogue, before);
        return status;
    }
    const ListFileResult saved = update.write(catalogue);
    if (!saved.ok) {
        printError(QStringLiteral("%1: impossibile salvare la lista (%2)").arg(listFile, saved.error));
        return 1;
    }
    printError(QStringLiteral("%1 brani aggiunti a %2").arg(added).arg(listFile));
    return status;
}

int listCommand(const QStringList& args)
{
    if (args.size() != 1) {
        printError(QStringLiteral("uso: sonivo-cli list FILE.svl"));
        return 2;
    }
    Catalogue catalogue;
    const ListFileResult loaded = ApriLista(args.first(), catalogue);
    printRows(catalogue, 0);
    if (!loaded.ok) {
        printError(QStringLiteral("%1: impossibile leggere la lista (%2)").arg(args.first(), loaded.error));
        return 1;
    }
    if (loaded.damagedLines > 0) {
        printError(QStringLiteral("%1: %2 righe danneggiate").arg(args.first()).arg(loaded.damagedLines));
        return 1;
    }
    return 0;
}

}  // namespace sonivo::cli
