#pragma once
// Finding songs in the catalogue: by a piece of their file name, letter case
// ignored, and by album, compared exactly. Both look at the rows as they are
// when the search is made and name them by their identity.

#include "catalogue/Catalogue.h"

#include <array>
#include <vector>

namespace sonivo {

// The catalogue's file names, ready to be searched again at every keystroke.
class FileNameSearch {
public:
    explicit FileNameSearch(const Catalogue& catalogue);

    // The songs are numbered 0 to songCount() - 1 in the catalogue's order.
    qsizetype songCount() const { return qsizetype(ids_.size()); }
    RowId id(qsizetype song) const { return ids_[size_t(song)]; }
    // The songs whose file name (with its extension) contains the text, letter
    // case ignored, in order; every song for an empty text.
    const std::vector<quint32>& find(const QString& text);

private:
    // The names of the songs from first to the next part's first, in lower case
    // one after another; the second part is made and searched on a thread of its
    // own.
    struct Part {
        size_t first = 0;
        QString names;
    };
    const Part& partOf(size_t song) const { return song >= parts_[1].first ? parts_[1] : parts_[0]; }
    qsizetype begin(size_t song) const { return song == partOf(song).first ? 0 : ends_[song - 1]; }
    bool matches(size_t song, QStringView needle) const;
    // Appends the part's songs, up to last (one past), whose name holds the needle.
    void findIn(const Part& part, size_t last, QStringView needle, std::vector<quint32>& hits) const;

    std::array<Part, 2> parts_;
    std::vector<qsizetype> ends_;  // where each name ends in its part's names
    std::vector<RowId> ids_;
    QString lastNeedle_;
    std::vector<quint32> found_;  // what the last text found
};

struct AlbumEntry {
    QString album;
    QString artist;  // of the first row that carries the album
    bool operator==(const AlbumEntry&) const = default;
};

// The albums of the catalogue in the order each is first met going down the
// rows; rows without an album are left out, and two albums are the same only
// when they are equal character for character.
std::vector<AlbumEntry> albumsOf(const Catalogue& catalogue);

}  // namespace sonivo
