#pragma once
// The command-line companion's catalogue commands: scanning folders and reading
// list files.

#include <QStringList>

namespace sonivo::cli {

int scanCommand(const QStringList& args);
int listCommand(const QStringList& args);

}  // namespace sonivo::cli
