#pragma once
// New file names from a pattern: the tokens %a %t %n %y %g %c %b %f %s %m %x %l %v
// filled from the analysis object, characters a file name cannot hold replaced,
// and ".mp3" appended when missing. Each token of the pattern is filled once: the
// values put in are never read as tokens. Empty when the name would be only ".mp3".

#include <QString>
#include <array>

namespace sonivo {

class clsMP3;

QString fillRenamePattern(const QString& pattern, const clsMP3& mp3);
// False for a name that a file should not get: nothing but blanks and dots
// before its ".mp3", a "/" in it, or longer than the file system allows.
bool isUsableFileName(const QString& name);

enum class RenameStatus {
    Renamed,      // or already so named
    NoTag,        // nothing to take the name from
    NameRefused,  // the name the pattern gave is not usable
    NameTaken,    // another file of the folder has it
    FileMissing,
    Failed,  // the file system refused (error says why)
};

struct RenameOutcome {
    RenameStatus status = RenameStatus::Renamed;
    QString name;   // the name the pattern gave
    int error = 0;  // errno, for Failed
};

// An arrangement of artist and title for a new file name, as the tag editor offers it.
struct RenameArrangement {
    const char* caption;
    const char* pattern;
};
const std::array<RenameArrangement, 6>& renameArrangements();

}  // namespace sonivo
