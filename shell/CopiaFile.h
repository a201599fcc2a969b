#pragma once
// Copies songs' files into a folder for the user, in the order given, keeping
// their names. Each file is written under a temporary name in the folder and
// renamed into place only when complete, so a failed or cancelled copy leaves
// no half file under the real name, and a song written to while it was copied
// is not put in place. A new file has the song's permissions (less the umask)
// from its first byte; a file replaced keeps its owner, group and permissions.
// A file that would replace another is copied only when the user says so, also
// when the other came from this same copy (two songs of the same name); a
// destination that is the file itself (its own folder, or the same file reached
// through a link) is refused for that file. Stopping finishes the file being
// copied. Questions go through DesktopDialogs.

#include "common/DesktopDialogs.h"

#include <QStringList>
#include <functional>
#include <optional>
#include <sys/stat.h>

namespace sonivo {

struct CopyProgress {
    qsizetype file = 0;   // the file being copied, from 0
    qsizetype files = 0;  // how many are to be copied
    QString name;         // its name
    qint64 bytesDone = 0;  // of all files
    qint64 bytesTotal = 0;
};

struct CopyOutcome {
    QStringList copied;     // the files made, in order
    QStringList notCopied;  // one line per file that was not: "name: why"
    bool stopped = false;   // the user stopped the copy
};

class CopiaFile {
public:
    // Told as the bytes go; returns false when the user asks to stop.
    using Progress = std::function<bool(const CopyProgress&)>;

    CopiaFile(DesktopDialogs& dialogs, Progress progress);

    // The files that exist are copied into the folder (ending with "/" or not);
    // nothing happens when none exists.
    CopyOutcome copy(const QStringList& sources, const QString& folder);

private:
    enum class Step { Done, Skipped, Stop };
    Step copyOne(const QString& source, const QString& folder, QString& why);
    // Copies the open file st describes under a temporary name in the folder, then
    // puts that in the target's place (replacing the file `replaced` describes, if
    // any); "" when done, else why not.
    QString writeCopy(int in, const struct stat& st, const QString& folder, const QString& target, const struct stat* replaced);
    bool confirmReplace(const QString& name, const QString& folder, bool fromThisCopy);

    DesktopDialogs& dialogs_;
    Progress progress_;
    CopyProgress state_;
    bool stopAsked_ = false;
    QStringList madeHere_;  // names this copy made in the folder
    std::optional<bool> replaceExisting_;  // "Sì a tutti" / "No a tutti" for files already there
    std::optional<bool> replaceSameName_;  // the same for files of this copy
};

// The message after a copy that left files behind: "" when nothing was left.
QString notCopiedMessage(const CopyOutcome& outcome);
// What the user reads after a copy: how many files went to which folder, that
// the user stopped it, then the files left behind.
QString copyOutcomeMessage(const CopyOutcome& outcome, const QString& folder);

}  // namespace sonivo
