#include "analysis/RenamePattern.h"

#include "analysis/clsMP3.h"
#include "common/NativePath.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace sonivo {
namespace {

QString minutesAndSeconds(qint64 seconds)
{
    return QStringLiteral("%1:%2").arg(seconds / 60).arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

}  // namespace

QString fillRenamePattern(const QString& pattern, const clsMP3& mp3)
{
    // A file without a valid header has no play time: its tokens read 0 and 0:00.
    const qint64 seconds = mp3.ValidHeader() ? std::llround(mp3.PlayTime()) : 0;
    const std::pair<char16_t, QString> tokens[] = {
        {u'a', mp3.Artist()},
        {u't', mp3.Album()},
        {u'n', mp3.Title()},
        {u'y', mp3.Year()},
        {u'g', mp3.Genre()},
        {u'c', mp3.Comment()},
        {u'b', mp3.BitRate().trimmed()},
        {u'f', mp3.SampleRate().trimmed()},
        {u's', QString::number(seconds)},
        {u'm', minutesAndSeconds(seconds)},
        {u'x', mp3.ChannelMode().trimmed()},
        {u'l', mp3.Layer().trimmed()},
        {u'v', mp3.MPEGVersion().trimmed()},
    };
    // One pass over the pattern: a value put in is never read again as a token.
    QString name;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const auto token = i + 1 < pattern.size() && pattern[i] == QLatin1Char('%')
            ? std::find_if(std::begin(tokens), std::end(tokens), [&](const auto& t) { return t.first == pattern[i + 1].unicode(); })
            : std::end(tokens);
        if (token == std::end(tokens)) {
            name += pattern[i];
        } else {
            name += token->second;
            ++i;
        }
    }

    const std::pair<QChar, const char*> cleanUp[] = {
        {QChar(0), ""},
        {QChar(1), ""},
        {u'"', "'"},
        {u'*', ""},
        {u'?', ""},
        {u'/', ""},
        {u'\\', ""},
        {u':', "."},
        {u'<', "["},
        {u'>', "]"},
        {u'|', ""},
        {u'\n', " "},
    };
    for (const auto& [c, replacement] : cleanUp)
        name.replace(c, QLatin1String(replacement));

    if (!name.endsWith(QLatin1String(".mp3"), Qt::CaseSensitive))
        name += QLatin1String(".mp3");
    // Nothing but the extension would make a hidden file with no name.
    return name == QLatin1String(".mp3") ? QString() : name;
}

}  // namespace sonivo

namespace sonivo {

bool isUsableFileName(const QString& name)
{
    const QString stem = name.endsWith(QLatin1String(".mp3")) ? name.chopped(4) : name;
    const bool onlyBlanksAndDots = std::all_of(stem.begin(), stem.end(), [](QChar c) { return c == u' ' || c == u'.'; });
    return !onlyBlanksAndDots && !name.contains(QLatin1Char('/')) && toNativePath(name).size() <= NAME_MAX;
}

const std::array<RenameArrangement, 6>& renameArrangements()
{
    static const std::array<RenameArrangement, 6> arrangements = {{
        {"Artista - Titolo", "%a - %n"},
        {"Artista Titolo", "%a %n"},
        {"(Artista) Titolo", "(%a) %n"},
        {"Titolo - Artista", "%n - %a"},
        {"Titolo  Artista", "%n %a"},
        {"Titolo (Artista)", "%n (%a)"},
    }};
    return arrangements;
}

}  // namespace sonivo
