#include "audio/MediaCommand.h"

#include "audio/MediaControl.h"

#include <QStringList>

namespace sonivo {

namespace {

bool isKeyword(const QString& word, const char* keyword)
{
    return word.compare(QLatin1String(keyword), Qt::CaseInsensitive) == 0;
}

// A position: decimal digits only, no sign or blank.
bool readPosition(const QString& word, qint64& position)
{
    if (word.isEmpty() || word.size() > 15)
        return false;
    for (const QChar c : word) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    }
    position = word.toLongLong();
    return true;
}

// "open PATH type T alias A" (the two clauses in either order). The path is what
// stands between "open " and the last four words, so it may hold blanks and quotes;
// one pair of double quotes around it is removed.
int parseOpen(const QString& rest, MediaCommand& command)
{
    const QStringList words = rest.split(QLatin1Char(' '));
    if (words.size() < 5)
        return kMediaBadParameter;
    const qsizetype n = words.size();
    for (qsizetype i = n - 4; i < n; i += 2) {
        if (isKeyword(words.at(i), "type"))
            command.deviceType = words.at(i + 1);
        else if (isKeyword(words.at(i), "alias"))
            command.alias = words.at(i + 1);
        else
            return kMediaBadParameter;
    }
    if (command.deviceType.isEmpty() || command.alias.isEmpty())
        return kMediaBadParameter;
    qsizetype clauseLength = 0;
    for (qsizetype i = n - 4; i < n; ++i)
        clauseLength += words.at(i).size() + 1;
    QString path = rest.left(rest.size() - clauseLength);
    if (path.size() >= 2 && path.startsWith(QLatin1Char('"')) && path.endsWith(QLatin1Char('"')))
        path = path.mid(1, path.size() - 2);
    if (path.isEmpty())
        return kMediaBadParameter;
    command.verb = MediaCommand::Verb::Open;
    command.path = path;
    return kMediaOk;
}

int parseDeviceCommand(const QStringList& words, MediaCommand& command)
{
    const QString& verb = words.at(0);
    command.alias = words.at(1);
    const qsizetype n = words.size();
    if (isKeyword(verb, "play")) {
        command.verb = MediaCommand::Verb::Play;
        if (n == 2)
            return kMediaOk;
        return n == 4 && isKeyword(words.at(2), "from") && readPosition(words.at(3), command.position) ? kMediaOk : kMediaBadParameter;
    }
    if (isKeyword(verb, "seek")) {
        command.verb = MediaCommand::Verb::Seek;
        return n == 4 && isKeyword(words.at(2), "to") && readPosition(words.at(3), command.position) ? kMediaOk : kMediaBadParameter;
    }
    if (isKeyword(verb, "set")) {
        command.verb = MediaCommand::Verb::SetTimeFormat;
        return n == 5 && isKeyword(words.at(2), "time") && isKeyword(words.at(3), "format")
                && (isKeyword(words.at(4), "milliseconds") || isKeyword(words.at(4), "ms"))
            ? kMediaOk
            : kMediaBadParameter;
    }
    if (isKeyword(verb, "status")) {
        command.verb = MediaCommand::Verb::Status;
        if (n != 3)
            return kMediaBadParameter;
        if (isKeyword(words.at(2), "mode"))
            command.item = MediaCommand::Item::Mode;
        else if (isKeyword(words.at(2), "position"))
            command.item = MediaCommand::Item::Position;
        else if (isKeyword(words.at(2), "length"))
            command.item = MediaCommand::Item::Length;
        else if (isKeyword(words.at(2), "output"))
            command.item = MediaCommand::Item::Output;
        else
            return kMediaBadParameter;
        return kMediaOk;
    }
    const struct {
        const char* word;
        MediaCommand::Verb verb;
    } plain[] = {
        {"pause", MediaCommand::Verb::Pause},
        {"stop", MediaCommand::Verb::Stop},
        {"close", MediaCommand::Verb::Close},
    };
    for (const auto& p : plain) {
        if (isKeyword(verb, p.word)) {
            command.verb = p.verb;
            return n == 2 ? kMediaOk : kMediaBadParameter;
        }
    }
    return kMediaUnknownCommand;
}

}  // namespace

int parseMediaCommand(const QString& text, MediaCommand& command)
{
    command = MediaCommand{};
    const qsizetype blank = text.indexOf(QLatin1Char(' '));
    if (blank > 0 && isKeyword(text.left(blank), "open"))
        return parseOpen(text.mid(blank + 1), command);
    const QStringList words = text.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (words.size() < 2)
        return words.isEmpty() ? kMediaUnknownCommand : kMediaBadParameter;
    return parseDeviceCommand(words, command);
}

}  // namespace sonivo
