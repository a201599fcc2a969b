#pragma once
// The list file (.svl): one song record a line, CR LF line ends, UTF-8. Reading
// takes a line that is not valid UTF-8 as Windows-1252, so lists of old keep
// their accents, and ends a line at CR, LF or CR LF.

#include "catalogue/Catalogue.h"

namespace sonivo {

struct ListFileResult {
    bool ok = true;
    QString error;  // what went wrong, for the user
};

// "listamp3.svl" in the user's data folder ($XDG_DATA_HOME/sonivo/).
QString defaultListFile();

// Writes every row to the file through a temporary file, so that a save that
// fails leaves the old file as it was.
ListFileResult SalvaLista(const QString& fileName, const Catalogue& catalogue);
// Turns the bytes of a list file, given in chunks of any size, into rows: a line
// ends at CR, LF or CR LF, also when a chunk ends between the CR and the LF.
class ListReader {
public:
    void feed(QByteArrayView chunk, Catalogue& catalogue);
    // The last line, when the file does not end with a line end.
    void finish(Catalogue& catalogue);

private:
    QByteArray pending_;    // the start of a line whose end has not come yet
    bool afterCr_ = false;  // pending_ is empty and the last byte was a CR
};

// Appends the rows of the file (the default list file for an empty name); when
// reading fails part-way the rows read so far stay.
ListFileResult ApriLista(const QString& fileName, Catalogue& catalogue);

}  // namespace sonivo
