#pragma once
// Sonivo on the user's desktop: the list-file association, the launchers on the
// desktop and in the applications menu, the start-maximized option and the
// reading of ID3v2 tags (a setting of the program's, kept beside the others). Each
// option is read from the files it consists of, so what is shown is always what
// is there; reading never writes. Turning an option on writes all of its files or,
// when one cannot be written, none; turning it off removes every one of them.
// Refreshing writes again, for this program, each file of an option that is on
// and differs from what turning it on writes now (a moved program is picked up).
//
// The association is the key/value store's entries and the freedesktop ones: the
// MIME type of "*.svl" (shared-mime-info XML), a hidden desktop entry that opens
// a list with the program, and that entry as the type's default application in
// the user's mimeapps.list.

#include "platform/DesktopFolders.h"
#include "platform/DesktopTools.h"

#include <QString>

namespace sonivo {

enum class DesktopOption { Association, DesktopLauncher, MenuLauncher, StartMaximized, ReadId3v2 };

struct DesktopSetup {
    DesktopFolders folders;
    QString program;       // the absolute path of the program the entries start
    QString icon;          // the icon they show: a theme name or an absolute path
    QString registryFile;  // the key/value store
    DesktopToolRunner runTool;

    // This user's folders, this program and the installed tools.
    static DesktopSetup forThisProgram(const QString& registryFile);
};

class DesktopIntegration {
public:
    explicit DesktopIntegration(DesktopSetup setup);

    bool isOn(DesktopOption option) const;
    // "" when done, else what failed in words for the user.
    QString set(DesktopOption option, bool on);
    // Each option that is on written again where it differs; nothing is removed
    // and an option that is off stays off. "" when done, else what failed.
    QString refresh();

    // The files the options consist of.
    QString mimeInfoFile() const;     // dataHome/mime/packages/sonivo-list.xml
    QString listOpenerFile() const;   // dataHome/applications/sonivo-list.desktop
    QString mimeAppsFile() const;     // configHome/mimeapps.list
    QString menuLauncherFile() const; // dataHome/applications/sonivo-menu.desktop
    QString desktopLauncherFile() const;  // desktop/Sonivo.desktop

private:
    bool associated() const;
    QString associate();
    // The store's entries, the MIME type and the opener, each written where it
    // differs; *wrote, when asked, says whether any was.
    QString writeAssociationParts(bool* wrote = nullptr);
    QString removeAssociation();
    QByteArray listOpenerText() const;  // empty when the program's path cannot be written in it
    QByteArray launcherText() const;    // likewise
    QString unwritableProgram() const;  // what is said when it cannot
    bool launcherIsCurrent(const QString& file) const;
    QString createLauncher(const QString& file);
    QString removeFile(const QString& file) const;
    void refreshCaches();

    DesktopSetup setup_;
};

}  // namespace sonivo
