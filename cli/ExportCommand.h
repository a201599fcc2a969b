#pragma once
// The command-line companion's export: the HTML page, the text list or the M3U
// playlist of every row of a list file, the same bytes the report dialog writes.

#include <QStringList>

namespace sonivo::cli {

int exportCommand(const QStringList& args);

}  // namespace sonivo::cli
