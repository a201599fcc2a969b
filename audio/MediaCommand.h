#pragma once
// Parsing of the media-control commands (see MediaControl.h).

#include <QString>

namespace sonivo {

struct MediaCommand {
    enum class Verb { Open, Play, Pause, Stop, Close, Seek, SetTimeFormat, Status };
    enum class Item { Mode, Position, Length, Output };

    Verb verb = Verb::Status;
    QString alias;
    QString path;          // open: the file, without the quotes around it
    QString deviceType;    // open
    qint64 position = -1;  // play from / seek to, in milliseconds; -1 for a plain play
    Item item = Item::Mode;
};

// kMediaOk and the command, or the error code of a malformed command.
int parseMediaCommand(const QString& text, MediaCommand& command);

}  // namespace sonivo
