#pragma once
// The command-line companion's player: plays files in turn, in real time.

#include <QStringList>

namespace sonivo::cli {

// play [--output null|default] FILE...
int playCommand(const QStringList& args);

}  // namespace sonivo::cli
