#pragma once
// New file names from a pattern: the tokens %a %t %n %y %g %c %b %f %s %m %x %l %v
// filled from the analysis object, characters a file name cannot hold replaced,
// and ".mp3" appended when missing. Each token of the pattern is filled once: the
// values put in are never read as tokens. Empty when the name would be only ".mp3".

#include <QString>

namespace sonivo {

class clsMP3;

QString fillRenamePattern(const QString& pattern, const clsMP3& mp3);

}  // namespace sonivo
