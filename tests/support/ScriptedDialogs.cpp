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
    T next = std::move(queue.front());
    queue.pop_front();
    return next;
}

}  // namespace

QString ScriptedDialogs::openFile(const QString& title, const FileFilter&, const QString& folder)
{
    asked << title;
    startedIn << folder;
    return take(files, title, QString());
}

QString ScriptedDialogs::saveFile(const QString& title, const FileFilter&, const QString& folder)
{
    asked << title;
    startedIn << folder;
    return take(files, title, QString());
}

QString ScriptedDialogs::chooseFolder(const QString& title, const QString& folder)
{
    asked << title;
    startedIn << folder;
    return take(folders, title, QString());
}

DesktopDialogs::Answer ScriptedDialogs::askYesNoCancel(const QString& text)
{
    asked << text;
    return take(answers, text, Answer::Cancel);
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
    // Not through take(): GCC 12 takes a moved std::optional<QString> for one that
    // may be uninitialised.
    if (inputs.empty()) {
        ADD_FAILURE() << "unexpected dialog: " << prompt.toStdString();
        return std::nullopt;
    }
    const bool cancelled = !inputs.front().has_value();
    const QString text = inputs.front().value_or(QString());
    inputs.pop_front();
    if (cancelled)
        return std::nullopt;
    return text;
}

QString ScriptedDialogs::saveFileNamed(const QString& title, const FileFilter& filter, const QString& folder, const QString& name)
{
    asked << title;
    namedSaves << QStringList{title, filter.description, filter.pattern, filter.defaultExtension, folder, name}.join(QLatin1Char('|'));
    return take(files, title, QString());
}

std::unique_ptr<WorkProgress> ScriptedDialogs::showProgress(const QString& text)
{
    // Steps go on being recorded after "Annulla", so that a test sees work that does not stop.
    class Scripted final : public WorkProgress {
    public:
        explicit Scripted(ScriptedDialogs& dialogs) : dialogs_(dialogs) {}
        bool step(qint64 done, qint64 total) override
        {
            dialogs_.steps.emplace_back(done, total);
            if (dialogs_.atStep)
                dialogs_.atStep();
            return !dialogs_.cancelAtStep || dialogs_.steps.size() < *dialogs_.cancelAtStep;
        }

    private:
        ScriptedDialogs& dialogs_;
    };
    progressShown << text;
    return std::make_unique<Scripted>(*this);
}

DesktopDialogs::PrintOutcome ScriptedDialogs::printText(const QString& jobName, const QString& text)
{
    printed << text;
    return printer ? printer(jobName, text) : printOutcome;
}

}  // namespace sonivo::test
