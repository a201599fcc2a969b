#pragma once
// The desktop's own tools that refresh its caches after a change of the user's
// files (update-mime-database, update-desktop-database, gio), behind a seam so
// that tests see what would run.

#include <QString>
#include <QStringList>
#include <functional>

namespace sonivo {

// Runs a tool by name with its arguments and waits for it.
using DesktopToolRunner = std::function<void(const QString& tool, const QStringList& arguments)>;

// Runs the tool when it is installed (found on PATH) and does nothing otherwise:
// a missing cache tool only delays the desktop's noticing of the change.
DesktopToolRunner installedToolRunner();

}  // namespace sonivo
