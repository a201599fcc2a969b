#pragma once
// Rows of a catalogue for the tests: a row made from a file name, a folder and
// a CD identifier (empty for a song not read from a CD), the rest empty; the
// file names of all rows in their order; how many rows are checked.

#include "catalogue/Catalogue.h"

#include <QStringList>

namespace sonivo::test {

inline SongRecord songIn(const QString& name, const QString& folder, const QString& cd = {})
{
    SongRecord r;
    r.setColumn(ColFileName, name);
    r.setColumn(ColFolder, folder);
    r.setColumn(ColCdId, cd);
    return r;
}

// "a.mp3,b.mp3,...".
inline QString fileNames(const Catalogue& c)
{
    QStringList out;
    for (const SongRecord& r : c.rows())
        out << r.text(ColFileName);
    return out.join(QLatin1Char(','));
}

inline qsizetype checkedRows(const Catalogue& c)
{
    qsizetype checked = 0;
    for (qsizetype i = 0; i < c.size(); ++i)
        checked += c.isChecked(i);
    return checked;
}

}  // namespace sonivo::test
