#pragma once
// The list file (.svl): one song record a line, CR LF line ends, UTF-8. Reading
// takes a line that is not valid UTF-8 as Windows-1252, so lists of old keep
// their accents, ends a line at CR, LF or CR LF, skips empty lines and takes a
// byte-order mark only at the very start of the file.

#include "catalogue/Catalogue.h"
#include "platform/FileLock.h"

#include <chrono>
#include <functional>

namespace sonivo {

struct ListFileResult {
    bool ok = true;
    QString error;            // what went wrong, for the user
    qint64 damagedLines = 0;  // lines that are no row of a list, left out (see ListReader)
    // The file is no list at all: it begins as a binary file does (see
    // ListReader::binary), or none of its lines is a row. No row of it is taken
    // (ok is false).
    bool notAList = false;
    bool unlocked = false;    // saved without the lock: the file system takes none
    bool cancelled = false;   // stopped by whoever followed it: no row taken, no file changed
};

// How long a save or an update of a list waits for another one of the same list.
constexpr std::chrono::seconds kListLockWait(5);

// Lines longer than this are no row of a list: they are left out, unread.
constexpr qsizetype kMaxListLine = 4 << 20;

// "listamp3.svl" in the user's data folder ($XDG_DATA_HOME/sonivo/).
QString defaultListFile();

// Told how far a read (bytes) or a save (rows) has come; false stops it.
using ListProgress = std::function<bool(qint64 done, qint64 total)>;

// Writes every row to the file through a temporary file, so that a save that
// fails or is stopped leaves the old file as it was (see ReplacingFile). It
// holds the list's lock (see ListUpdate) while it writes, waiting at most
// kListLockWait for an update of the list to end. Where the file system takes
// no locks it goes on, unlocked: a save replaces the whole list, as a later save
// would. progress is told after each chunk written.
ListFileResult SalvaLista(const QString& fileName, const Catalogue& catalogue, const ListProgress& progress = {});

// A list's read-modify-write (a scan added to the rows of a list file): the
// list's lock is held from the read to the write, so that of two at once the
// second reads what the first wrote, or fails after waiting kListLockWait; no
// rows are lost and no failure is taken for a success. Where the file system
// takes no locks it is refused, since another update could be lost.
class ListUpdate {
public:
    // Locks the list file (an empty one is made when there is none, and removed
    // again unless written) and appends its rows.
    ListFileResult read(const QString& fileName, Catalogue& catalogue);
    // After a read that succeeded: writes the rows in place of the list and
    // releases the lock.
    ListFileResult write(const Catalogue& catalogue);

private:
    QString fileName_;
    PathLock lock_;
};
// Appends the bytes a save writes for one row: its line and CR LF. A first line
// beginning with U+FEFF gets a byte-order mark in front, which the reader takes
// off, so that the row keeps its own.
void appendListLine(QByteArray& out, const SongRecord& record, bool firstLine);
// Turns the bytes of a list file, given in chunks of any size, into rows: a line
// ends at CR, LF or CR LF, also when a chunk ends between the CR and the LF.
class ListReader {
public:
    void feed(QByteArrayView chunk, std::vector<SongRecord>& rows);
    // The last line, when the file does not end with a line end.
    void finish(std::vector<SongRecord>& rows);
    // Lines that are no row, left out: longer than kMaxListLine, holding a NUL
    // byte, or without exactly 21 separators.
    qint64 damagedLines() const { return damaged_; }
    // Before the first row came a line that is no row and holds a NUL byte:
    // text files never hold one, binary files soon do. A row that holds one is
    // only a damaged line of a list.
    bool binary() const { return binary_; }

private:
    void takeLine(QByteArrayView line, std::vector<SongRecord>& rows);

    SongRecordBuilder builder_;
    QByteArray pending_;     // the start of a line whose end has not come yet
    bool firstLine_ = true;  // no line was taken yet: a byte-order mark may lead
    bool dropping_ = false;  // the rest of an over-long line is still to come
    bool tookRow_ = false;
    bool binary_ = false;
    qint64 damaged_ = 0;
};

// Reads the rows of the file (the default list file for an empty name) into
// rows; when reading fails part-way the rows read so far are there. A file that
// is no list gives no rows, and neither does a read that progress stopped.
// progress is told after each chunk read.
ListFileResult readListFile(const QString& fileName, std::vector<SongRecord>& rows, const ListProgress& progress = {});
// The same, appended to the catalogue.
ListFileResult ApriLista(const QString& fileName, Catalogue& catalogue);

}  // namespace sonivo
