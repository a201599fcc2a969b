#include "analysis/TagEdit.h"

#include "analysis/Genres.h"
#include "analysis/clsMP3.h"
#include "common/Windows1252.h"

namespace sonivo {
namespace {

// The characters of the text that Windows-1252 has no byte for, each once.
QString outsideCodePage(const QString& text)
{
    QString found;
    for (const char32_t c : text.toUcs4()) {
        const QString one = QString::fromUcs4(&c, 1);
        const QByteArray byte = encodeWindows1252(one);
        if (decodeWindows1252(byte.constData(), byte.size()) != one && !found.contains(one))
            found += one;
    }
    return found;
}

bool genreAccepted(const QString& text)
{
    const QString genre = text.trimmed();
    return genre.isEmpty() || genre == GenreLookup(kUnknownGenre) || genreNumberOf(genre) || GenreLookup(genre) != kUnknownGenre;
}

}  // namespace

TagEdit TagEdit::of(const clsMP3& mp3)
{
    return {mp3.Title(), mp3.Artist(), mp3.Album(), mp3.Year(), mp3.Comment(), mp3.Genre()};
}

TagEditResult checkTagEdit(const TagEdit& edit)
{
    const std::pair<const char*, const QString*> fields[] = {
        {"Titolo", &edit.title},
        {"Artista", &edit.artist},
        {"Album", &edit.album},
        {"Anno", &edit.year},
        {"Commento", &edit.comment},
        {"Genere", &edit.genre},
    };
    for (const auto& [caption, text] : fields) {
        const QString refused = outsideCodePage(*text);
        if (!refused.isEmpty())
            return {TagEditStatus::TextOutsideCodePage, QLatin1String(caption), refused};
    }
    if (!genreAccepted(edit.genre))
        return {TagEditStatus::GenreNotInList, QStringLiteral("Genere"), edit.genre.trimmed()};
    return {};
}

TagEditResult writeTagEdit(clsMP3& mp3, const TagEdit& edit)
{
    TagEditResult result = checkTagEdit(edit);
    if (!result.written())
        return result;
    if (!clsMP3::FileExists(mp3.FullName()))
        result.status = TagEditStatus::FileMissing;
    else if (!mp3.setTag({edit.title, edit.artist, edit.album, edit.year, edit.comment, edit.genre}))
        result.status = TagEditStatus::WriteFailed;
    return result;
}

QString refusalText(const TagEditResult& result)
{
    switch (result.status) {
    case TagEditStatus::TextOutsideCodePage:
        return QStringLiteral("Il campo %1 contiene caratteri che un Tag MP3 non può contenere: %2").arg(result.field, result.offending);
    case TagEditStatus::GenreNotInList:
        return QStringLiteral("Il genere \"%1\" non è nella lista dei generi.").arg(result.offending);
    case TagEditStatus::Written:
    case TagEditStatus::FileMissing:
    case TagEditStatus::WriteFailed: break;
    }
    return QString();
}

}  // namespace sonivo
