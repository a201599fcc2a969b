#pragma once
// The catalogue as a document: its rows, the list file they were last read from
// or written to, and whether they differ from it. The file commands (new, open,
// save, save as, add a folder) and the save prompt live here, asking their
// questions through DesktopDialogs and the scan's through ScanDialogs, so the
// window only shows what they do.

#include "catalogue/Catalogue.h"
#include "catalogue/DriveInfo.h"
#include "catalogue/ListFile.h"

#include <QObject>
#include <optional>

namespace sonivo {

class DesktopDialogs;
class FolderScan;
class ScanDialogs;

class ListDocument final : public QObject {
    Q_OBJECT
public:
    // Long work the window shows with a busy pointer and status texts.
    enum class Work { Loading, Saving, Scanning };

    ListDocument(DesktopDialogs& dialogs, const DriveInfo& drives, QObject* parent = nullptr);

    Catalogue& catalogue() { return catalogue_; }
    const Catalogue& catalogue() const { return catalogue_; }
    // The list file's path, "" for a new list.
    const QString& listPath() const { return listPath_; }
    bool isModified() const { return changes_ != Changes::None; }
    void setModified(bool modified) { changes_ = modified ? Changes::Some : Changes::None; }
    // Rows were taken out: the list is modified, and its file still holds every
    // row when it did before.
    void setNarrowed();
    bool isScanning() const { return scan_ != nullptr; }
    bool isLoading() const { return loading_; }
    // Where the file dialogs start: the list's folder, the current one for a new list.
    QString dialogFolder() const;
    // "Sonivo - " and the list path, or "Sonivo - Nuova lista".
    QString title() const;

    // Each returns false when it was cancelled or failed; nothing is lost then.
    bool newList();
    bool openList();
    // Reads a list file in place of the rows. A file that cannot be opened or is
    // no list is refused and the rows stay as they were; when reading fails
    // part-way what was read stays as a new, modified list; a list with damaged
    // lines is read without them. In the last two cases no save overwrites the
    // file without asking.
    bool load(const QString& path);
    // "&Salva lista": nothing to do without rows; save as for a new list and for
    // one read without its damaged lines.
    bool save();
    bool saveAs();
    // Asks whether to save the changes: false when the user cancelled or the
    // save failed, so that whatever asked must not go on.
    bool savePrompt();
    // The save prompt when there are changes.
    bool confirmDiscard() { return !isModified() || savePrompt(); }
    // Before rows are taken out: the save prompt when some row is in no list
    // file, since restoreList could not bring it back.
    bool confirmNarrowing() { return changes_ != Changes::Some || savePrompt(); }
    // Asks for a folder and scans it (with its subfolders when asked): the songs
    // added, or nothing when no folder was chosen. What could not be read is
    // reported at the end, and so are the files whose only tag, ID3v2, was left
    // unread (readId3v2: it is read for a file without an ID3v1 tag).
    std::optional<qint64> addFolder(bool withSubfolders, ScanDialogs& scanDialogs, bool readId3v2 = false);
    // Stops the running scan after the file being read; the folder being read
    // then is left as it was, the rows found before it are kept.
    void stopScan();
    // Stops the list being read at its next step of progress, as "Annulla" does:
    // the rows, the path and the modified flag stay as they were before the read,
    // and nothing is said.
    void stopLoad() { stopLoad_ = true; }
    // The rows of the current list file in place of the catalogue's, unmodified.
    // The file is read to its end first: one that cannot be read leaves the rows
    // as they are and is reported. A list never saved has no file to restore
    // from: the user is told so and nothing changes.
    bool restoreList();

Q_SIGNALS:
    void workStarted(sonivo::ListDocument::Work work);
    void workFinished(sonivo::ListDocument::Work work);
    void listPathChanged();

private:
    bool write(const QString& path);
    // Reads the list file, its rows then in place of the catalogue's: those read
    // before a failure too when there are any (WhatWasRead), or only when the
    // whole file was read. taken: the rows took the catalogue's place.
    enum class Keep { WhatWasRead, OnlyAWholeRead };
    struct Read {
        ListFileResult file;
        bool taken;
    };
    Read readRows(const QString& path, Keep keep);
    // Read without its damaged lines: warns, and saving will ask for a name.
    void readWithDamage(const QString& path, qint64 damagedLines);
    void setListPath(const QString& path);

    DesktopDialogs& dialogs_;
    const DriveInfo& drives_;
    Catalogue catalogue_;
    QString listPath_;
    // Since the list file was last read or written: nothing, only rows taken
    // out (the file holds every row), or changes the file lacks.
    enum class Changes { None, OnlyNarrowed, Some };
    Changes changes_ = Changes::None;
    bool needsName_ = false;      // saving asks for a name even though there is a path
    FolderScan* scan_ = nullptr;  // while a scan runs
    bool loading_ = false;        // while a list file is read
    bool stopLoad_ = false;       // the read was asked to stop
};

}  // namespace sonivo
