#include "analysis/RenamePattern.h"

#include "analysis/clsMP3.h"

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
    const std::pair<const char*, QString> tokens[] = {
        {"%a", mp3.Artist()},
        {"%t", mp3.Album()},
        {"%n", mp3.Title()},
        {"%y", mp3.Year()},
        {"%g", mp3.Genre()},
        {"%c", mp3.Comment()},
        {"%b", mp3.BitRate().trimmed()},
        {"%f", mp3.SampleRate().trimmed()},
        {"%s", QString::number(seconds)},
        {"%m", minutesAndSeconds(seconds)},
        {"%x", mp3.ChannelMode().trimmed()},
        {"%l", mp3.Layer().trimmed()},
        {"%v", mp3.MPEGVersion().trimmed()},
    };
    QString name = pattern;
    for (const auto& [token, value] : tokens)
        clsMP3::pReplace(name, QLatin1String(token), value);

    const std::pair<QChar, const char*> cleanUp[] = {
        {QChar(0), ""}, {QChar(1), ""}, {u'"', "'"}, {u'*', ""}, {u'?', ""}, {u'/', ""},
        {u'\\', ""}, {u':', "."}, {u'<', "["}, {u'>', "]"}, {u'|', ""}, {u'\n', " "},
    };
    for (const auto& [c, replacement] : cleanUp)
        name.replace(c, QLatin1String(replacement));

    if (!name.endsWith(QLatin1String(".mp3"), Qt::CaseSensitive))
        name += QLatin1String(".mp3");
    return name;
}

}  // namespace sonivo
