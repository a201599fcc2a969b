#include "catalogue/ListDocument.h"

#include "catalogue/FolderScan.h"
#include "catalogue/ListFile.h"
#include "common/DesktopDialogs.h"
#include "common/ErrorText.h"
#include "common/WorkProgress.h"

#include <QDir>
#include <QFileInfo>

namespace sonivo {
namespace {

const FileFilter kListFilter{QStringLiteral("File lista Sonivo"), QStringLiteral("*.svl"), QStringLiteral("svl")};

// What a scan could not read: the count, then the first few with their reasons.
QString skippedText(const std::vector<ScanSkip>& skipped)
{
    constexpr size_t kShown = 10;
    QString text = QStringLiteral("La scansione non ha potuto leggere %1 tra file e cartelle:").arg(skipped.size());
    for (size_t i = 0; i < std::min(skipped.size(), kShown); ++i)
        text += QLatin1Char('\n') + skipped[i].path + QStringLiteral(": ") + skipped[i].reason;
    if (skipped.size() > kShown)
        text += QStringLiteral("\n... e altri %1.").arg(skipped.size() - kShown);
    return text;
}

QString unreadableText(const QString& path, const QString& error)
{
    return QStringLiteral("Impossibile leggere la lista \"") + path + QStringLiteral("\":\n") + errorText(error);
}

QString notAListText(const QString& path, const QString& why)
{
    return QStringLiteral("Il file \"") + path + QStringLiteral("\" non è una lista di brani: ") + why + QLatin1Char('.');
}

}  // namespace

ListDocument::ListDocument(DesktopDialogs& dialogs, const DriveInfo& drives, QObject* parent)
    : QObject(parent), dialogs_(dialogs), drives_(drives)
{
}

QString ListDocument::title() const
{
    return QStringLiteral("Sonivo - ") + (listPath_.isEmpty() ? QStringLiteral("Nuova lista") : listPath_);
}

void ListDocument::setNarrowed()
{
    if (changes_ == Changes::None)
        changes_ = Changes::OnlyNarrowed;
}

void ListDocument::setListPath(const QString& path)
{
    listPath_ = path;
    Q_EMIT listPathChanged();
}

bool ListDocument::newList()
{
    if (!confirmDiscard())
        return false;
    catalogue_.clear();
    setModified(false);
    needsName_ = false;
    setListPath(QString());
    return true;
}

QString ListDocument::dialogFolder() const
{
    return listPath_.isEmpty() ? QDir::currentPath() : QFileInfo(listPath_).path();
}

bool ListDocument::openList()
{
    if (!confirmDiscard())
        return false;
    const QString path = dialogs_.openFile(QStringLiteral("Apri lista"), kListFilter, dialogFolder());
    return !path.isEmpty() && load(path);
}

bool ListDocument::load(const QString& path)
{
    const Read read = readRows(path, Keep::WhatWasRead);
    const ListFileResult& result = read.file;
    if (result.cancelled)
        return false;
    if (result.notAList) {
        dialogs_.warn(notAListText(path, result.error) + QStringLiteral("\nNon è stato aperto e la lista dei brani non è cambiata."));
        return false;
    }
    if (!read.taken) {
        dialogs_.warn(unreadableText(path, result.error) + QStringLiteral("\nLa lista dei brani non è cambiata."));
        return false;
    }
    if (!result.ok) {
        setModified(true);
        setListPath(QString());
        dialogs_.warn(unreadableText(path, result.error));
        return false;
    }
    setModified(false);
    setListPath(path);
    readWithDamage(path, result.damagedLines);
    return true;
}

ListDocument::Read ListDocument::readRows(const QString& path, Keep keep)
{
    Q_EMIT workStarted(Work::Loading);
    loading_ = true;
    stopLoad_ = false;
    std::vector<SongRecord> rows;
    const std::unique_ptr<WorkProgress> progress = dialogs_.showProgress(QStringLiteral("Apertura della lista in corso..."));
    Read read{readListFile(path, rows, [&](qint64 done, qint64 total) { return progress->step(done, total) && !stopLoad_; }),
        false};
    loading_ = false;
    read.taken = keep == Keep::OnlyAWholeRead ? read.file.ok
                                              : !read.file.notAList && !read.file.cancelled && (read.file.ok || !rows.empty());
    if (read.taken) {
        catalogue_.clear();
        catalogue_.append(std::move(rows));
    }
    Q_EMIT workFinished(Work::Loading);
    return read;
}

void ListDocument::readWithDamage(const QString& path, qint64 damagedLines)
{
    // What was left out would be lost by writing the file over: saving asks for a name.
    needsName_ = damagedLines > 0;
    if (needsName_)
        dialogs_.warn(QStringLiteral("La lista \"") + path
            + QStringLiteral("\" contiene righe danneggiate: %1 righe non sono state lette, le altre sì.\n"
                             "Per salvarla verrà chiesto un nome, così il file non viene sovrascritto.")
                  .arg(damagedLines));
}

bool ListDocument::restoreList()
{
    if (listPath_.isEmpty()) {
        dialogs_.inform(QStringLiteral("La lista completa si può ripristinare solo da un file lista salvato: "
                                       "questa lista non è ancora stata salvata."));
        return false;
    }
    const ListFileResult result = readRows(listPath_, Keep::OnlyAWholeRead).file;
    if (result.cancelled)
        return false;
    if (!result.ok) {
        const QString why = result.notAList ? notAListText(listPath_, result.error) : unreadableText(listPath_, result.error);
        dialogs_.warn(why + QStringLiteral("\nLa lista attuale non è stata modificata."));
        return false;
    }
    setModified(false);
    readWithDamage(listPath_, result.damagedLines);
    return true;
}

bool ListDocument::write(const QString& path)
{
    const bool existed = QFileInfo::exists(path);
    Q_EMIT workStarted(Work::Saving);
    const ListFileResult result = [&] {
        const std::unique_ptr<WorkProgress> progress = dialogs_.showProgress(QStringLiteral("Salvataggio della lista in corso..."));
        return SalvaLista(path, catalogue_, [&](qint64 done, qint64 total) { return progress->step(done, total); });
    }();
    Q_EMIT workFinished(Work::Saving);
    if (result.cancelled)
        return false;  // the file is as it was, the list still modified
    if (!result.ok) {
        QString text = QStringLiteral("Impossibile salvare la lista \"") + path + QStringLiteral("\":\n") + errorText(result.error);
        if (existed)
            text += QStringLiteral("\nIl file precedente non è stato modificato.");
        dialogs_.critical(text);
        return false;
    }
    setModified(false);
    if (result.unlocked)
        dialogs_.warn(QStringLiteral("La lista \"") + path
            + QStringLiteral("\" è stata salvata senza bloccarla: il file system non permette di bloccare i file."));
    return true;
}

bool ListDocument::save()
{
    if (catalogue_.isEmpty())
        return true;  // nothing to save
    if (listPath_.isEmpty() || needsName_)
        return saveAs();
    return write(listPath_);
}

bool ListDocument::saveAs()
{
    const QString path = dialogs_.saveFile(QStringLiteral("Salva lista con nome..."), kListFilter, dialogFolder());
    if (path.isEmpty() || !write(path))
        return false;
    needsName_ = false;
    setListPath(path);
    return true;
}

bool ListDocument::savePrompt()
{
    const DesktopDialogs::Answer answer
        = dialogs_.askYesNoCancel(QStringLiteral("La lista dei brani è stata modificata.\nVuoi salvare le modifiche?"));
    if (answer == DesktopDialogs::Answer::Cancel)
        return false;
    if (answer == DesktopDialogs::Answer::No)
        return true;
    return listPath_.isEmpty() ? saveAs() : save();
}

void ListDocument::stopScan()
{
    if (scan_)
        scan_->requestStop();
}

std::optional<qint64> ListDocument::addFolder(bool withSubfolders, ScanDialogs& scanDialogs, bool readId3v2)
{
    const QString folder = dialogs_.chooseFolder(withSubfolders ? QStringLiteral("Seleziona la cartella da cui iniziare la ricerca:")
                                                                : QStringLiteral("Seleziona la cartella singola in cui ricercare:"),
        QString());
    if (folder.isEmpty())
        return std::nullopt;
    Q_EMIT workStarted(Work::Scanning);
    FolderScan scan(catalogue_, scanDialogs, drives_);
    scan.setIncludeSubfolders(withSubfolders);
    scan.setReadId3v2(readId3v2);
    scan_ = &scan;
    const qint64 added = scan.ScanFolders(folder);
    scan_ = nullptr;
    setModified(true);  // after every scan, also one that found nothing
    Q_EMIT workFinished(Work::Scanning);
    if (!scan.skipped().empty())
        dialogs_.warn(skippedText(scan.skipped()));
    if (const qint64 unread = scan.unreadId3v2Files())
        dialogs_.inform((unread == 1 ? QStringLiteral("1 file ha soltanto un tag ID3v2, che non è stato letto")
                                     : QStringLiteral("%1 file hanno soltanto un tag ID3v2, che non è stato letto").arg(unread))
            + QStringLiteral(": per leggerlo attivare \"Leggi i tag ID3v2 dei file senza tag ID3v1\" nella finestra Opzioni."));
    return added;
}

}  // namespace sonivo
