#pragma once
// The list file (.svl): one song record a line, CR LF line ends, UTF-8. Reading
// takes a line that is not valid UTF-8 as Windows-1252, so lists of old keep
// their accents, ends a line at CR, LF or CR LF, skips empty lines and takes a
// byte-order mark only at the very start of the file.

#include "catalogue/Catalogue.h"

namespace sonivo {

struct ListFileResult {
    bool ok = true;
    QString error;            // what went wrong, for the user
    qint64 damagedLines = 0;  // lines read that are no row of a list (see ListReader)
};

// Lines longer than this are no row of a list: they are left out, unread.
constexpr qsizetype kMaxListLine = 4 << 20;

// "listamp3.svl" in the user's data folder ($XDG_DATA_HOME/sonivo/).
QString defaultListFile();

// Writes every row to the file through a temporary file, so that a save that
// fails leaves the old file as it was (see ReplacingFile).
ListFileResult SalvaLista(const QString& fileName, const Catalogue& catalogue);
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
    // Lines that are no row: longer than kMaxListLine (left out), or holding a NUL
    // byte or not 21 separators (read as well as they go).
    qint64 damagedLines() const { return damaged_; }

private:
    void takeLine(QByteArrayView line, std::vector<SongRecord>& rows);

    SongRecordBuilder builder_;
    QByteArray pending_;     // the start of a line whose end has not come yet
    bool afterCr_ = false;   // pending_ is empty and the last byte was a CR
    bool firstLine_ = true;  // no line was taken yet: a byte-order mark may lead
    bool dropping_ = false;  // the rest of an over-long line is still to come
    qint64 damaged_ = 0;
};

// Appends the rows of the file (the default list file for an empty name); when
// reading fails part-way the rows read so far stay.
ListFileResult ApriLista(const QString& fileName, Catalogue& catalogue);
// Reads the rows of the file (the default list file for an empty name) to the end
// of the file, or until reading fails.
ListFileResult readListFile(const QString& fileName, std::vector<SongRecord>& rows);

}  // namespace sonivo
