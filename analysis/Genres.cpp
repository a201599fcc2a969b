#include "analysis/Genres.h"

#include <algorithm>

namespace sonivo {
namespace {

// One text, the names separated by "|", split once when first needed.
constexpr const char* kGenreNames = "Blues|Classic Rock|Country|Dance|Disco|Funk|Grunge|Hip-Hop|Jazz|Metal|New Age|"
                                    "Oldies|Other|Pop|R&B|Rap|Reggae|Rock|Techno|Industrial|Alternative|Ska|"
                                    "Death Metal|Pranks|Soundtrack|Euro-Techno|Ambient|Trip Hop|Vocal|Jazz+Funk|"
                                    "Fusion|Trance|Classical|Instrumental|Acid|House|Game|Sound Clip|Gospel|Noise|"
                                    "Alt. Rock|Bass|Soul|Punk|Space|Meditative|Instrumental Pop|Instrumental Rock|"
                                    "Ethnic|Gothic|Darkwave|Techno-Industrial|Electronic|Pop-Folk|Eurodance|Dream|"
                                    "Southern Rock|Comedy|Cult|Gangsta Rap|Top 40|Christian Rap|Pop/Punk|Jungle|"
                                    "Native American|Cabaret|New Wave|Phychedelic|Rave|Showtunes|Trailer|Lo-Fi|"
                                    "Tribal|Acid Punk|Acid Jazz|Polka|Retro|Musical|Rock & Roll|Hard Rock|Folk|"
                                    "Folk/Rock|National Folk|Swing|Fast-Fusion|Bebob|Latin|Revival|Celtic|Blue Grass|"
                                    "Avantegarde|Gothic Rock|Progressive Rock|Psychedelic Rock|Symphonic Rock|"
                                    "Slow Rock|Big Band|Chorus|Easy Listening|Acoustic|Humour|Speech|Chanson|Opera|"
                                    "Chamber Music|Sonata|Symphony|Booty Bass|Primus|Porn Groove|Satire|Slow Jam|"
                                    "Club|Tango|Samba|Folklore|Ballad|power Ballad|Rhythmic Soul|Freestyle|Duet|"
                                    "Punk Rock|Drum Solo|A Capella|Euro-House|Dance Hall|Goa|Drum & Bass|Club-House|"
                                    "Hardcore|Terror|indie|Brit Pop|Negerpunk|Polsk Punk|Beat|Christian Gangsta Rap|"
                                    "Heavy Metal|Black Metal|Crossover|Comteporary Christian|Christian Rock|Merengue|"
                                    "Salsa|Trash Metal|Anime|JPop|Synth Pop";

}  // namespace

const QStringList& ListaGeneri()
{
    static const QStringList names = QString::fromLatin1(kGenreNames).split(QLatin1Char('|'));
    return names;
}

QString GenreLookup(int number)
{
    const QStringList& names = ListaGeneri();
    return (number >= 0 && number < names.size()) ? names.at(number) : QStringLiteral("Unknown");
}

int GenreLookup(const QString& name)
{
    const qsizetype index = ListaGeneri().indexOf(name);
    return index < 0 ? kUnknownGenre : int(index);
}

std::optional<int> genreNumberOf(const QString& text)
{
    const bool digitsOnly
        = !text.isEmpty() && text.size() <= 3 && std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
    if (digitsOnly && text.toInt() <= 255)
        return text.toInt();
    return std::nullopt;
}

int genreNumberForWrite(const QString& text)
{
    return genreNumberOf(text).value_or(GenreLookup(text));
}

}  // namespace sonivo
