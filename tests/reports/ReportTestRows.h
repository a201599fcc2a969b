#pragma once
// Small catalogues for the report tests.

#include "catalogue/Catalogue.h"

#include <span>
#include <vector>

namespace sonivo::test {

inline SongRecord song(const QString& folder, const QString& name, const QString& size, const QString& duration)
{
    SongRecord r;
    r.setColumn(ColFolder, folder);
    r.setColumn(ColFileName, name);
    r.setColumn(ColSize, size);
    r.setColumn(ColDuration, duration);
    return r;
}

// "Song 1.mp3" to "Song N.mp3" in /music/, song n of n × 1.000 KB and n minutes.
inline Catalogue numberedSongs(int count)
{
    Catalogue c;
    for (int n = 1; n <= count; ++n)
        c.append(song(QStringLiteral("/music/"), QStringLiteral("Song %1.mp3").arg(n), QStringLiteral("%1.000 KB").arg(n),
            QStringLiteral("%1.00").arg(n, 2, 10, QLatin1Char('0'))));
    return c;
}

// The identities of the rows numbered from 1, in the order given.
inline std::vector<RowId> idsOfRows(const Catalogue& c, std::initializer_list<qsizetype> rows)
{
    std::vector<RowId> ids;
    for (const qsizetype row : rows)
        ids.push_back(c.id(row - 1));
    return ids;
}

}  // namespace sonivo::test
