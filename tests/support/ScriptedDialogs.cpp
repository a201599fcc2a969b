#include "tests/support/ScriptedDialogs.h"

#include <gtest/gtest.h>

namespace sonivo::test {
namespace {

template <typename T> T take(std::deque<T>& queue, const QString& what, T whenEmpty)
{
    if (queue.empty()) {
        ADD_FAILURE() << "unexpected dialog: " << what.toStdString();
        return whenEmpty;
    }
    // Copied, not moved: GCC 12 takes a moved std::optional<QString> for one that
    // may be uninitialised.
    T next = queue.front();
    queue.pop_front();
    return next;
}

}  // namespace

QString ScriptedDialogs::openFile(const QString& title, const FileFilter&, const QString&)
{
    asked << title;
    return take(files, title, QString());
}

QString ScriptedDialogs::saveFile(const QString& title, const FileFilter&, const QString&)
{
    asked << title;
    return take(files, title, QString());
}

QString ScriptedDialogs::chooseFolder(const QString& title)
{
    asked << title;
    return take(folders, title, QString());
}

DesktopDialogs::Answer ScriptedDialogs::askYesNoCancel(const QString& text)
{
    asked << text;
    return take(answers, text, Answer::Cancel);
}

bool ScriptedDialogs::askYesNo(const QString& text)
{
    asked << text;
    if (whileAskingYesNo)
        whileAskingYesNo();
    return take(answers, text, Answer::No) == Answer::Yes;
}

DesktopDialogs::Answer ScriptedDialogs::askYesNoToAll(const QString& text)
{
    asked << text;
    if (whileAskingYesNo)
        whileAskingYesNo();
    return take(answers, text, Answer::No);
}

std::optional<QString> ScriptedDialogs::inputText(const QString& prompt, const QString&, const QString&)
{
    asked << prompt;
    return take(inputs, prompt, std::optional<QString>());
}

}  // namespace sonivo::test
