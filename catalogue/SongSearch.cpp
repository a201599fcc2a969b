#include "catalogue/SongSearch.h"

#include <string_view>
#include <unordered_set>

namespace sonivo {

FileNameSearch::FileNameSearch(const Catalogue& catalogue)
{
    const qsizetype n = catalogue.size();
    ids_.reserve(size_t(n));
    ends_.reserve(size_t(n));
    names_.reserve(n * 40);
    QString name;
    for (qsizetype i = 0; i < n; ++i) {
        catalogue.row(i).copyText(ColFileName, name);
        names_ += name.toLower();
        ends_.push_back(names_.size());
        ids_.push_back(catalogue.id(i));
    }
}

bool FileNameSearch::matches(size_t song, QStringView needle) const
{
    const qsizetype begin = song == 0 ? 0 : ends_[song - 1];
    return QStringView(names_).sliced(begin, ends_[song] - begin).contains(needle);
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
    } else {
        hits.reserve(ids_.size());
        for (size_t song = 0; song < ids_.size(); ++song)
            if (matches(song, needle))
                hits.push_back(quint32(song));
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
