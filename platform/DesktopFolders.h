#pragma once
// The user's folders that the desktop integration writes into, as the
// freedesktop base-directory and user-directory rules give them.

#include <QString>

namespace sonivo {

struct DesktopFolders {
    QString home;
    QString configHome;  // $XDG_CONFIG_HOME, else ~/.config
    QString dataHome;    // $XDG_DATA_HOME, else ~/.local/share
    QString desktop;     // the desktop folder, see desktopFolder()

    // From $HOME, $XDG_CONFIG_HOME, $XDG_DATA_HOME and the user's user-dirs.dirs.
    static DesktopFolders fromEnvironment();
};

// The desktop folder as `xdg-user-dir DESKTOP` gives it: XDG_DESKTOP_DIR of
// configHome/user-dirs.dirs ("$HOME/..." or an absolute path), else home/Desktop.
QString desktopFolder(const QString& home, const QString& configHome);

}  // namespace sonivo
