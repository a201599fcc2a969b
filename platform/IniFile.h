#pragma once
// Settings files of the classic INI form: "[Section]" lines, each followed by its
// "key=value" lines. Section and key names match without regard to letter case;
// blanks around names and values are ignored. A change rewrites the file with
// every other line kept as it was, through a temporary file, so a failed write
// leaves the old file intact. Lines end with LF when written; CR LF, LF and CR
// are all read.

#include <QString>
#include <QStringList>
#include <optional>

namespace sonivo {

// One INI file's lines in memory.
class IniDocument {
public:
    // The file's lines; a missing or unreadable file gives an empty document,
    // and an unreadable one is marked so that it is never written over.
    static IniDocument load(const QString& path);
    bool unreadable() const { return unreadable_; }

    std::optional<QString> value(const QString& section, const QString& key) const;
    void setValue(const QString& section, const QString& key, const QString& value);
    // Removes the section and its keys; false when there was none.
    bool removeSection(const QString& section);
    bool hasSection(const QString& section) const;
    QStringList sections() const;

    // Writes the document, creating the file's folder when needed; on failure
    // the old file is kept and error() says why.
    bool save(const QString& path);
    const QString& error() const { return error_; }

private:
    qsizetype sectionLine(const QString& section) const;  // -1 when absent
    qsizetype sectionEnd(qsizetype header) const;         // the line after its last key

    QStringList lines_;
    QString error_;
    bool unreadable_ = false;
};

// One key of a settings file, read with Value() and written with setValue().
class cIniFile {
public:
    QString Path;
    QString Key;
    QString Section;
    QString Default;
    qint32 LastReturnCode = 0;  // of the last write: 1 written, 0 failed

    // The stored value, at most 254 characters; Default when there is none.
    QString Value() const;
    // Stores the text with its NUL characters removed, creating the file, the
    // section and the key as needed.
    void setValue(const QString& text);
    const QString& lastError() const { return lastError_; }

private:
    QString lastError_;
};

// The settings module: one fresh accessor per call, with no default.
QString readSetting(const QString& file, const QString& section, const QString& key);
bool writeSetting(const QString& file, const QString& section, const QString& key, const QString& value);
// The folder without one trailing "/".
QString withoutTrailingSlash(const QString& folder);

}  // namespace sonivo
