#include "catalogue/RowRefresh.h"

#include "analysis/FileAttributes.h"
#include "analysis/clsMP3.h"

namespace sonivo {

bool refreshRow(Catalogue& catalogue, RowId row, const QString& path)
{
    const qsizetype at = catalogue.position(row);
    if (at == Catalogue::kGone)
        return false;
    clsMP3 mp3;
    mp3.setFullName(path);
    if (mp3.ReadMP3Info() != clsMP3::ReadResult::Done || !mp3.OpenedFacts())
        return false;
    const FileFacts& facts = *mp3.OpenedFacts();
    SongSource source;
    source.folder = mp3.Path();
    source.name = mp3.Filename();
    source.size = facts.size;
    source.created = facts.created;
    source.attributes = attributeText(facts.mode, source.name);
    SongRecord record = MakeSongLine(source, mp3);
    // The disc the song was read from is the same: its identifier stays.
    const QString cdIdentifier = catalogue.row(at).text(ColCdId);
    if (!cdIdentifier.isEmpty())
        record.setColumn(ColCdId, cdIdentifier);
    catalogue.replaceRow(at, std::move(record));
    return true;
}

}  // namespace sonivo
