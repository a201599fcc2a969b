#pragma once
// The command-line companion's commands on single files. Each takes the words that
// follow the command name and returns the process exit status.

#include <QStringList>

namespace sonivo::cli {

int infoCommand(const QStringList& args);
int tagCommand(const QStringList& args);
int untagCommand(const QStringList& args);
int renameCommand(const QStringList& args);

}  // namespace sonivo::cli
