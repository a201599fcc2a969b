#pragma once
// Building song records for every MP3 file of a folder, or of a folder tree, and
// appending them to the catalogue. The questions the scan asks (update a folder
// already present, the name of a CD) and its progress go through ScanDialogs,
// answered by the window's dialogs, the command line's options or a test's script.
// The scan never writes to a song file.

#include "catalogue/Catalogue.h"
#include "catalogue/DriveInfo.h"
#include "catalogue/NameOrder.h"

#include <atomic>
#include <chrono>
#include <deque>

namespace sonivo {

class FolderWalk;
class ReaderPool;

class ScanDialogs {
public:
    virtual ~ScanDialogs() = default;
    // The folder is already in the catalogue: true to update it (its rows go now).
    virtual bool askUpdateFolder(const QString& folder) = 0;
    // The scan starts on a CD-ROM: the name to give it ("" when cancelled).
    virtual QString askCdName(const QString& volumeLabel) = 0;
    // The files to read are counted.
    virtual void scanCounted(qint64 total) = 0;
    // Once for each folder, before its rows are made. Readers may have read some
    // of its files already: a file read ahead keeps its row if it goes meanwhile.
    virtual void folderProgress(qint64 total, qint64 read) = 0;
    // While a folder's files are read, about every 50 ms (not more often); on the
    // scan's thread, so a window can run its pending events and stop the scan.
    virtual void fileProgress(qint64 /*total*/, qint64 /*read*/) {}
};

// A folder or file the scan could not read, and why.
struct ScanSkip {
    QString path;
    QString reason;
};

// The texts of the scan's questions.
QString updateFolderQuestion(const QString& folder);
QString cdNamePrompt();
QString cdNameTitle();

class FolderScan {
public:
    // Several reads under way at once keep a disk busy while the scan works on
    // what it has read.
    static constexpr int kDefaultReaders = 3;

    FolderScan(Catalogue& catalogue, ScanDialogs& dialogs, const DriveInfo& drives);

    void setIncludeSubfolders(bool include) { includeSubfolders_ = include; }
    // Threads that read files ahead of the scan, into the folders that follow (0:
    // the calling thread reads them all); the rows and the questions are the same
    // either way.
    void setReaders(int readers) { readers_ = readers; }
    // Off by default: a file without an ID3v1 tag but with an ID3v2 tag gets its
    // artist, title, album, year, genre and comment from the ID3v2 tag.
    void setReadId3v2(bool read) { readId3v2_ = read; }
    // Scans the folder (and its subfolders when included); returns the songs added.
    // A folder's songs come in name order, then its subfolders' trees, one by one.
    // Folders are named by their path without links, so that a folder reached
    // through a link is the same folder. A file that cannot be read gets the
    // cleared header, or keeps its row when its folder is being updated.
    qint64 ScanFolders(const QString& folder);
    // Stops the scan after the file being read; from any thread, or from a
    // question or progress call. The rows found so far are added as usual; the
    // folder being read is left out whole (an update's old rows stay). A scan
    // starts unstopped.
    void requestStop() { stopRequested_ = true; }
    // True when the last scan ended on requestStop.
    bool stopped() const { return stopped_; }
    // What the last scan could not read: folders it could not open or list (their
    // rows are kept), files it could not read, entries named *.mp3 that are no file.
    const std::vector<ScanSkip>& skipped() const { return skipped_; }
    // The files of the last scan's rows whose only tag is an ID3v2 tag it did not
    // read (0 when it read them).
    qint64 unreadId3v2Files() const { return unreadId3v2Files_; }
    // The "*.mp3" files the scan would read; lists folders only.
    qint64 CountFiles(const QString& folder) const;
    // The name given to the last CD scanned; it goes into every CD song's identifier.
    const QString& cdName() const { return cdName_; }

private:
    struct QueuedFolder;
    // Lists the next folder and queues its songs to the readers; false at the end.
    bool queueNextFolder(FolderWalk& walk, const DriveInfo& drives, ReaderPool& readers, std::deque<QueuedFolder>& queued);
    // Calls fileProgress when 50 ms have passed since the last progress call.
    void reportProgress();
    void AddFolderSongs(const QueuedFolder& folder, ReaderPool& readers);

    Catalogue& catalogue_;
    ScanDialogs& dialogs_;
    const DriveInfo& drives_;
    NameOrder order_;
    bool includeSubfolders_ = false;
    int readers_ = kDefaultReaders;
    bool readId3v2_ = false;
    qint64 unreadId3v2Files_ = 0;
    QString cdName_;
    qint64 total_ = 0;
    std::vector<SongRecord> collected_;
    std::vector<ScanSkip> skipped_;
    std::atomic<bool> stopRequested_ = false;
    bool stopped_ = false;
    std::chrono::steady_clock::time_point lastProgress_;
};

// True for a name the scan reads: "*.mp3", letter case aside.
bool isMp3Name(const QString& name);

}  // namespace sonivo
