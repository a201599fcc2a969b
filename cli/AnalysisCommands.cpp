#include "cli/AnalysisCommands.h"

#include "analysis/TagEdit.h"
#include "analysis/clsMP3.h"
#include "cli/Output.h"
#include "common/ErrorText.h"
#include "platform/NativeFile.h"

#include <map>

namespace sonivo::cli {
namespace {

QString boolText(bool value)
{
    return value ? QStringLiteral("True") : QStringLiteral("False");
}

QString playTimeText(double seconds)
{
    return seconds < 0 ? QStringLiteral("-1") : QString::number(seconds, 'f', 2);
}

// Points the object at the file and analyses it; false (with a message) when the
// file is missing or cannot be read.
bool analyse(clsMP3& mp3, const QString& file)
{
    mp3.setFullName(file);
    switch (mp3.ReadMP3Info()) {
    case clsMP3::ReadResult::Done: return true;
    case clsMP3::ReadResult::Missing: printError(QStringLiteral("%1: file non trovato").arg(file)); return false;
    case clsMP3::ReadResult::Unreadable:
        printError(file + QStringLiteral(": ") + unreadableFileText(mp3.readError()));
        return false;
    }
    return false;
}

// Why a tag write gave up waiting for another program's lock.
QString inUseText()
{
    return QStringLiteral("il file è in uso da un altro programma; riprova più tardi");
}

void printInfo(const clsMP3& mp3)
{
    const Id3v2Tag& id3v2 = mp3.Id3v2();
    const std::pair<const char*, QString> lines[] = {
        {"FullName", mp3.FullName()},
        {"MPEGVersion", mp3.MPEGVersion()},
        {"Layer", mp3.Layer()},
        {"CRCPresent", boolText(mp3.CRCPresent())},
        {"BitRate", mp3.BitRate()},
        {"SampleRate", mp3.SampleRate()},
        {"Padding", QString::number(mp3.Padding())},
        {"PrivateBit", QString::number(mp3.PrivateBit())},
        {"ChannelMode", mp3.ChannelMode()},
        {"ModeExtension", mp3.ModeExtension()},
        {"Copyright", boolText(mp3.Copyright())},
        {"Original", boolText(mp3.Original())},
        {"Emphasis", mp3.Emphasis()},
        {"FrameLength", QString::number(mp3.FrameLength())},
        {"TotalFrames", QString::number(mp3.TotalFrames())},
        {"PlayTime", playTimeText(mp3.PlayTime())},
        {"ValidHeader", boolText(mp3.ValidHeader())},
        {"Title", mp3.Title()},
        {"Artist", mp3.Artist()},
        {"Album", mp3.Album()},
        {"Year", mp3.Year()},
        {"Comment", mp3.Comment()},
        {"Genre", mp3.Genre()},
        {"TagPresent", boolText(mp3.TagPresent())},
        {"FileAttributes", mp3.FileAttributes()},
        {"ID3v2", id3v2.version == 0 ? QString() : QStringLiteral("2.%1.%2").arg(id3v2.version).arg(id3v2.revision)},
        {"ID3v2 Titolo", id3v2.fields.title.trimmed()},
        {"ID3v2 Artista", id3v2.fields.artist.trimmed()},
        {"ID3v2 Album", id3v2.fields.album.trimmed()},
        {"ID3v2 Anno", id3v2.fields.year.trimmed()},
        {"ID3v2 Commento", id3v2.fields.comment.trimmed()},
        {"ID3v2 Genere", id3v2.fields.genre.trimmed()},
    };
    for (const auto& [name, value] : lines)
        printLine(QLatin1String(name) + QLatin1String(": ") + value);
}

}  // namespace

int infoCommand(const QStringList& args)
{
    if (args.isEmpty()) {
        printError(QStringLiteral("uso: sonivo-cli info FILE..."));
        return 2;
    }
    int status = 0;
    bool first = true;
    clsMP3 mp3;
    mp3.setId3v2Reading(clsMP3::Id3v2Reading::Beside);
    for (const QString& file : args) {
        if (!analyse(mp3, file)) {
            status = 1;
            continue;
        }
        if (!first)
            printLine(QString());
        first = false;
        printInfo(mp3);
    }
    return status;
}

int tagCommand(const QStringList& args)
{
    const std::map<QString, QString TagEdit::*> fields = {
        {QStringLiteral("--title"), &TagEdit::title},
        {QStringLiteral("--artist"), &TagEdit::artist},
        {QStringLiteral("--album"), &TagEdit::album},
        {QStringLiteral("--year"), &TagEdit::year},
        {QStringLiteral("--comment"), &TagEdit::comment},
        {QStringLiteral("--genre"), &TagEdit::genre},
    };
    const QString usage
        = QStringLiteral("uso: sonivo-cli tag FILE [--title T] [--artist A] [--album A] [--year Y] [--comment C] [--genre G]");
    if (args.size() < 3 || args.size() % 2 == 0) {
        printError(usage);
        return 2;
    }
    for (qsizetype i = 1; i < args.size(); i += 2) {
        if (!fields.contains(args.at(i))) {
            printError(QStringLiteral("opzione sconosciuta: %1").arg(args.at(i)));
            printError(usage);
            return 2;
        }
    }
    clsMP3 mp3;
    if (!analyse(mp3, args.first()))
        return 1;
    // The fields not given keep what the file holds; all are written at once.
    TagEdit edit = TagEdit::of(mp3);
    for (qsizetype i = 1; i + 1 < args.size(); i += 2)
        edit.*fields.at(args.at(i)) = args.at(i + 1);
    const TagEditResult result = writeTagEdit(mp3, edit);
    if (result.written())
        return 0;
    QString refusal = refusalText(result);
    if (refusal.isEmpty())
        refusal = mp3.writeError() == kFileLocked ? QStringLiteral("scrittura del tag non riuscita, ") + inUseText()
                                                  : QStringLiteral("scrittura del tag non riuscita, il file è rimasto com'era");
    printError(QStringLiteral("%1: %2").arg(args.first(), refusal));
    return 1;
}

int untagCommand(const QStringList& args)
{
    if (args.size() != 1) {
        printError(QStringLiteral("uso: sonivo-cli untag FILE"));
        return 2;
    }
    clsMP3 mp3;
    mp3.setFullName(args.first());
    switch (mp3.RemoveTag()) {
    case 1: return 0;
    case 0: printLine(QStringLiteral("%1: il file non ha un tag").arg(args.first())); return 0;
    default:
        if (!clsMP3::FileExists(args.first()))
            printError(QStringLiteral("%1: file non trovato").arg(args.first()));
        else if (mp3.writeError() == kFileLocked)
            printError(QStringLiteral("%1: impossibile togliere il tag, ").arg(args.first()) + inUseText());
        else
            printError(QStringLiteral("%1: impossibile togliere il tag").arg(args.first()));
        return 1;
    }
}

int renameCommand(const QStringList& args)
{
    if (args.size() != 2) {
        printError(QStringLiteral("uso: sonivo-cli rename FILE PATTERN"));
        return 2;
    }
    clsMP3 mp3;
    if (!analyse(mp3, args.at(0)))
        return 1;
    const std::optional<int> result = mp3.RenameFile(args.at(1));
    if (!result) {
        printError(QStringLiteral("%1: il file non ha un tag da cui prendere il nome").arg(args.at(0)));
        return 1;
    }
    if (*result != 0) {
        printError(QStringLiteral("%1: rinomina rifiutata").arg(args.at(0)));
        return 1;
    }
    printLine(mp3.FullName());
    return 0;
}

}  // namespace sonivo::cli
