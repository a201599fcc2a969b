#pragma once
// The text of a freedesktop desktop entry (a ".desktop" file) that starts the
// program: a launcher, or the opener of list files that the file manager runs.

#include <QByteArray>
#include <QString>

namespace sonivo {

struct DesktopEntry {
    QString program;   // the absolute path of the program to start
    QString icon;      // an icon name of the theme, or an absolute path
    bool opensFiles = false;  // Exec passes the file (%f) and MimeType names the list type
    bool hidden = false;      // NoDisplay: not shown in the applications menu
};

// One argument of an Exec line as the Desktop Entry rules want it: in double
// quotes when it holds a reserved character, with `"`, `` ` ``, `$` and `\`
// escaped inside them and "%" doubled; then escaped once more as a string value
// (each backslash doubled). Nothing for a text with a line break or a control
// character, which no Exec line can carry.
QString execArgument(const QString& argument);

// The entry's file text (UTF-8); empty when the program cannot be put in an Exec line.
QByteArray desktopEntryText(const DesktopEntry& entry);

// The MIME type of list files.
inline constexpr char kListMimeType[] = "application/x-sonivo-list";

}  // namespace sonivo
