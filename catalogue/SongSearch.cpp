#include "catalogue/SongSearch.h"

#include "common/TwoHalves.h"

#include <numeric>
#include <string_view>
#include <unordered_set>

namespace sonivo {

FileNameSearch::FileNameSearch(const Catalogue& catalogue)
{
    const size_t n = size_t(catalogue.size());
    ids_.resize(n);
    ends_.resize(n);
    // The second half's names are made on their own, then put after the first's.
    QString secondNames;
    size_t second = n;
    inTwoHalves(n, [&](size_t from, size_t to) {
        QString& names = from == 0 ? names_ : secondNames;
        if (from > 0)
            second = from;
        names.reserve(qsizetype(to - from) * 40);
        for (size_t i = from; i < to; ++i) {
            appendLowered(names, catalogue.row(qsizetype(i)).stored(ColFileName));
            ends_[i] = names.size();
            ids_[i] = catalogue.id(qsizetype(i));
        }
    });
    const qsizetype offset = names_.size();
    for (size_t i = second; i < n; ++i)
        ends_[i] += offset;
    names_ += secondNames;
}

bool FileNameSearch::matches(size_t song, QStringView needle) const
{
    return QStringView(names_).sliced(begin(song), ends_[song] - begin(song)).contains(needle);
}

void FileNameSearch::findAmong(size_t first, size_t last, QStringView needle, std::vector<quint32>& hits) const
{
    if (first >= last)
        return;
    // One search through the names one after another: a hit that runs into the
    // next name is none, nor is any other that starts in the same name.
    const QStringView names = QStringView(names_).first(ends_[last - 1]);
    size_t song = first;
    for (qsizetype at = begin(first); song < last;) {
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
        inTwoHalves(ids_.size(), [&](size_t from, size_t to) { findAmong(from, to, needle, from == 0 ? hits : secondHits); });
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
