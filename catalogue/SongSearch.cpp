#include "catalogue/SongSearch.h"

#include "common/TwoHalves.h"

#include <algorithm>
#include <numeric>
#include <string_view>
#include <unordered_set>

namespace sonivo {

FileNameSearch::FileNameSearch(const Catalogue& catalogue)
{
    const size_t n = size_t(catalogue.size());
    ids_.resize(n);
    ends_.resize(n);
    parts_[1].first = n;
    inTwoHalves(n, [&](size_t from, size_t to) {
        Part& part = parts_[from == 0 ? 0 : 1];
        part.first = from;
        // A name never takes more code units than its stored bytes, and lowering
        // one needs room for two units a byte before it is cut to size: room
        // made once, as the whole names take it.
        qsizetype bytes = 0;
        qsizetype longest = 0;
        for (size_t i = from; i < to; ++i) {
            const qsizetype size = catalogue.row(qsizetype(i)).stored(ColFileName).size();
            bytes += size;
            longest = std::max(longest, size);
        }
        part.names.reserve(bytes + 2 * longest);
        for (size_t i = from; i < to; ++i) {
            appendLowered(part.names, catalogue.row(qsizetype(i)).stored(ColFileName));
            ends_[i] = part.names.size();
            ids_[i] = catalogue.id(qsizetype(i));
        }
    });
}

bool FileNameSearch::matches(size_t song, QStringView needle) const
{
    const qsizetype from = begin(song);
    return QStringView(partOf(song).names).sliced(from, ends_[song] - from).contains(needle);
}

void FileNameSearch::findIn(const Part& part, size_t last, QStringView needle, std::vector<quint32>& hits) const
{
    if (part.first >= last)
        return;
    // One search through the names one after another: a hit that runs into the
    // next name is none, nor is any other that starts in the same name.
    const QStringView names(part.names);
    size_t song = part.first;
    for (qsizetype at = 0; song < last;) {
        const qsizetype hit = names.indexOf(needle, at);
        if (hit < 0)
            break;
        while (ends_[song] <= hit)
            ++song;
        if (hit + needle.size() <= ends_[song])
            hits.push_back(quint32(song));
        at = ends_[song++];
    }
}

const std::vector<quint32>& FileNameSearch::find(const QString& text)
{
    const QString needle = text.toLower();
    std::vector<quint32> hits;
    // A longer text finds only among what the text it grew from found.
    if (!lastNeedle_.isEmpty() && needle.contains(lastNeedle_)) {
        for (const quint32 song : found_)
            if (matches(song, needle))
                hits.push_back(song);
    } else if (needle.isEmpty()) {
        hits.resize(ids_.size());
        std::iota(hits.begin(), hits.end(), 0u);
    } else {
        std::vector<quint32> secondHits;
        together(
            ids_.size(), [&] { findIn(parts_[0], parts_[1].first, needle, hits); },
            [&] { findIn(parts_[1], ids_.size(), needle, secondHits); });
        hits.insert(hits.end(), secondHits.begin(), secondHits.end());
    }
    lastNeedle_ = needle;
    found_ = std::move(hits);
    return found_;
}

std::vector<AlbumEntry> albumsOf(const Catalogue& catalogue)
{
    std::vector<AlbumEntry> albums;
    // The stored forms are equal exactly when the texts are.
    std::unordered_set<std::string_view> seen;
    for (const SongRecord& row : catalogue.rows()) {
        const QByteArrayView album = row.stored(ColAlbum);
        if (album.isEmpty() || !seen.emplace(album.data(), size_t(album.size())).second)
            continue;
        albums.push_back({decodeStored(album), row.text(ColArtist)});
    }
    return albums;
}

}  // namespace sonivo
