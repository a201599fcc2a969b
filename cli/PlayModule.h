#pragma once
// The player lives in a module of its own (sonivo-cli-play.so, beside the
// program in the build tree, in libexec/sonivo/ once installed), loaded only
// for the play command: the sound libraries it needs would otherwise be
// loaded, at some cost, by every other command too.

#include <QStringList>

namespace sonivo::cli {

// Loads the module and runs its play command; a module that cannot be loaded
// is reported and fails the command.
int runPlayModule(const QStringList& args);

}  // namespace sonivo::cli
