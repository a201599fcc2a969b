#pragma once
// A settings file of the classic INI form: "[Section]" lines, each followed by
// its "key=value" lines. Section and key names match without regard to letter
// case; blanks around names and values are ignored. The file is read once when
// the object is made; changes are gathered in memory and written by one save(),
// with every other line kept as it was, through a new file that replaces the old
// one only when it is whole. Lines end with LF when written; CR LF, LF and CR
// are all read.

#include <QString>
#include <QStringList>
#include <optional>

namespace sonivo {

class IniFile {
public:
    // Reads the file; a missing one reads as empty. One that exists but cannot
    // be read (no permission, a folder) is unreadable: it is never written over.
    explicit IniFile(QString path);
    // $XDG_CONFIG_HOME/sonivo/sonivo.ini
    static QString defaultPath();

    const QString& path() const { return path_; }
    bool unreadable() const { return unreadable_; }

    std::optional<QString> value(const QString& section, const QString& key) const;
    // Stores the text with its NUL characters removed, making the section and
    // the key as needed. False, and nothing changes, for a name or value the
    // file could not keep: a section holding "[", "]" or a line break, an empty
    // key or one holding "=" or a line break, a value holding a line break.
    bool setValue(const QString& section, const QString& key, const QString& value);
    // Removes the section and its keys; false when there was none.
    bool removeSection(const QString& section);
    bool hasSection(const QString& section) const;
    QStringList sections() const;

    // Writes the changes, if any, creating the file's folder when needed; on
    // failure the old file is kept and error() says why.
    bool save();
    const QString& error() const { return error_; }

private:
    qsizetype sectionLine(const QString& section) const;  // -1 when absent
    qsizetype sectionEnd(qsizetype header) const;         // the line after its last key

    QString path_;
    QStringList lines_;
    QString error_;
    bool unreadable_ = false;
    bool changed_ = false;
};

}  // namespace sonivo
