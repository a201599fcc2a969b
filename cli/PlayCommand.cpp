#include "cli/PlayCommand.h"

#include "cli/Output.h"
#include "audio/AudioMediaControl.h"
#include "player/PlayMp3.h"

#include <QCoreApplication>
#include <QThread>

namespace sonivo::cli {

namespace {

qint64 statusMs(MediaControl& media, const char* item)
{
    return media.send(QStringLiteral("status ") + QLatin1String(PlayMp3::kAlias) + QLatin1Char(' ') + QLatin1String(item))
        .text.toLongLong();
}

// Plays the file to its end and prints its line; false when it cannot be played.
bool playToTheEnd(MediaControl& media, const QString& file)
{
    PlayMp3 player(media);
    player.setFilename(file);
    const QString result = player.mmPlay();
    if (result != PlayMp3::Success()) {
        printError(file + QStringLiteral(": ") + result);
        return false;
    }
    while (player.IsPlaying())
        QThread::msleep(20);
    printLine(file + QLatin1Char('\t') + QString::number(statusMs(media, "length")) + QLatin1Char('\t')
        + QString::number(statusMs(media, "position")));
    return true;
}

}  // namespace

int playCommand(const QStringList& args)
{
    AudioOptions options;
    QStringList files = args;
    if (files.size() >= 2 && files.at(0) == QStringLiteral("--output")) {
        if (files.at(1) == QStringLiteral("null"))
            options.output = AudioOptions::Output::Null;
        else if (files.at(1) != QStringLiteral("default"))
            files.clear();
        files = files.mid(2);
    }
    if (files.isEmpty()) {
        printError(QStringLiteral("uso: play [--output null|default] FILE..."));
        return 2;
    }
    // The playback threads' timers need the application object.
    int argc = 1;
    char name[] = "sonivo-cli";
    char* argv[] = {name, nullptr};
    QCoreApplication application(argc, argv);
    AudioMediaControl media(options);
    bool allPlayed = true;
    for (const QString& file : files)
        allPlayed = playToTheEnd(media, file) && allPlayed;
    return allPlayed ? 0 : 1;
}

}  // namespace sonivo::cli

// The entry point sonivo-cli looks for when it loads the module.
extern "C" Q_DECL_EXPORT int sonivoPlayCommand(const QStringList* args)
{
    return sonivo::cli::playCommand(*args);
}
