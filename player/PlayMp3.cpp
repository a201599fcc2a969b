#include "player/PlayMp3.h"

#include "platform/NativeFile.h"

#include <algorithm>

namespace sonivo {

namespace {

// Characters of a reply buffer, its closing NUL included.
constexpr int kReplyChars = 30;

// A path with blanks or double quotes goes in double quotes; the service takes the
// outermost pair off again.
QString quotedPath(const QString& path)
{
    if (path.contains(QLatin1Char(' ')) || path.contains(QLatin1Char('"')))
        return QLatin1Char('"') + path + QLatin1Char('"');
    return path;
}

}  // namespace

PlayMp3::PlayMp3(MediaControl& media) : media_(media) {}

PlayMp3::~PlayMp3()
{
    mmStop();
}

QString PlayMp3::command(const char* verb, const QString& rest) const
{
    QString text = QLatin1String(verb) + QLatin1Char(' ') + QLatin1String(kAlias);
    if (!rest.isEmpty())
        text += QLatin1Char(' ') + rest;
    return text;
}

QString PlayMp3::query(const QString& command)
{
    return media_.send(command).text.left(kReplyChars - 1);
}

bool PlayMp3::IsPlaying()
{
    return query(command("status", QStringLiteral("mode"))).startsWith(QLatin1String("playing"));
}

bool PlayMp3::PlaysWithoutSound()
{
    return query(command("status", QStringLiteral("output"))) == QLatin1String("silent");
}

QString PlayMp3::mmPlay()
{
    if (!pathExists(filename_))
        return QStringLiteral("Errore nel file di input");
    // A pipe or a device would keep the service waiting for bytes that may never come.
    NativeFile file;
    if (!file.open(filename_, NativeFile::Mode::Read) && file.error() == kNotRegularFile)
        return unreadableFileText(kNotRegularFile);
    file.close();
    const MediaReply opened = media_.send(QStringLiteral("open ") + quotedPath(filename_) + QStringLiteral(" type ")
        + QLatin1String(kDeviceType) + QStringLiteral(" Alias ") + QLatin1String(kAlias));
    if (opened.code != kMediaOk)
        return media_.errorText(opened.code);
    media_.send(command("play"));
    return Success();
}

void PlayMp3::mmPause()
{
    const QString mode = query(command("status", QStringLiteral("mode")));
    if (mode.startsWith(QLatin1String("playing")))
        media_.send(command("pause"));
    else if (mode.startsWith(QLatin1String("paused")))
        media_.send(command("play"));
}

QString PlayMp3::mmStop()
{
    media_.send(command("stop"));
    media_.send(command("close"));
    return {};
}

qint64 PlayMp3::secondsOf(const char* item)
{
    media_.send(command("set", QStringLiteral("time format milliseconds")));
    return query(command("status", QLatin1String(item))).toLongLong() / 1000;
}

qint64 PlayMp3::PositionInSec()
{
    return secondsOf("position");
}

QString PlayMp3::Position()
{
    return timeText(secondsOf("position"));
}

qint64 PlayMp3::LengthInSec()
{
    return secondsOf("length");
}

QString PlayMp3::Length()
{
    return timeText(secondsOf("length"));
}

void PlayMp3::SeekTo(qint64 Second)
{
    const QString target = QString::number(std::max<qint64>(0, Second));
    media_.send(command("set", QStringLiteral("time format milliseconds")));
    if (IsPlaying())
        media_.send(command("play", QStringLiteral("from ") + target));
    if (!IsPlaying())
        media_.send(command("seek", QStringLiteral("to ") + target));
}

QString PlayMp3::timeText(qint64 seconds)
{
    const QString secondsPart = QStringLiteral("%1").arg(seconds % 60, 2, 10, QLatin1Char('0'));
    if (seconds < 60)
        return QStringLiteral("0:") + secondsPart;
    return QStringLiteral("%1:").arg(seconds / 60, 2, 10, QLatin1Char('0')) + secondsPart;
}

}  // namespace sonivo
