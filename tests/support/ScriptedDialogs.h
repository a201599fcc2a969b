#pragma once
// Dialogs for the tests: each question takes the next scripted answer and
// every message shown is recorded. A question with no answer left fails the test
// and is cancelled, so a test never blocks.

#include "common/DesktopDialogs.h"

#include <QStringList>
#include <deque>
#include <functional>
#include <vector>

namespace sonivo::test {

class ScriptedDialogs final : public DesktopDialogs {
public:
    std::deque<QString> files;    // answers to openFile and saveFile
    std::deque<QString> folders;  // answers to chooseFolder
    std::deque<Answer> answers;   // answers to askYesNoCancel and askYesNoToAll
    std::deque<std::optional<QString>> inputs;

    std::function<void()> whileAskingYesNo;  // run inside askYesNoToAll, as a user might act

    QStringList asked;      // every question's text
    QStringList startedIn;  // the folder each file or folder dialog started in
    QStringList notices;  // "inform: ...", "warn: ...", "critical: ..."
    QStringList opened;   // every file handed to the desktop
    bool desktopOpens = true;

    QString openFile(const QString& title, const FileFilter& filter, const QString& folder) override;
    QString saveFile(const QString& title, const FileFilter& filter, const QString& folder) override;
    QString chooseFolder(const QString& title, const QString& folder) override;
    Answer askYesNoCancel(const QString& text) override;
    Answer askYesNoToAll(const QString& text) override;
    std::optional<QString> inputText(const QString& prompt, const QString& title, const QString& text) override;
    void inform(const QString& text) override { notices << QStringLiteral("inform: ") + text; }
    void warn(const QString& text) override { notices << QStringLiteral("warn: ") + text; }
    void critical(const QString& text) override { notices << QStringLiteral("critical: ") + text; }
    bool openWithDesktop(const QString& file) override
    {
        opened << file;
        return desktopOpens;
    }
    // Answered from files; each question recorded as "title|description|pattern|extension|folder|name".
    QStringList namedSaves;
    QString saveFileNamed(const QString& title, const FileFilter& filter, const QString& folder, const QString& name) override;
    // Every text printed; the printer, when set, prints it (to a PDF file), else printOutcome is the answer.
    QStringList printed;
    PrintOutcome printOutcome = PrintOutcome::Printed;
    std::function<PrintOutcome(const QString& jobName, const QString& text)> printer;
    PrintOutcome printText(const QString& jobName, const QString& text) override;
    // Every progress shown, by its text, and the steps told to them all; the
    // user presses "Annulla" at the step numbered cancelAtStep (from 1), if any,
    // and does atStep (when set) at each step, while the work runs.
    QStringList progressShown;
    std::vector<std::pair<qint64, qint64>> steps;
    std::optional<size_t> cancelAtStep;
    std::function<void()> atStep;
    std::unique_ptr<WorkProgress> showProgress(const QString& text) override;
    bool openAddress(const QString& url) override
    {
        opened << url;
        return desktopOpens;
    }
};

}  // namespace sonivo::test
