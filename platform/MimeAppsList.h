#pragma once
// The user's mimeapps.list: which application opens each file type. Only the
// entries asked about change; every other line (other programs' entries,
// comments, blank lines, other sections) stays byte for byte as it was.

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace sonivo {

class MimeAppsList {
public:
    // The file's lines; a missing file gives an empty list, an unreadable one a
    // list marked so that it is never written over.
    static MimeAppsList load(const QString& path);
    bool unreadable() const { return unreadable_; }
    const QString& error() const { return error_; }

    // The first application of the type's "Default Applications" entry, or "".
    QString defaultApplication(const QString& mimeType) const;
    // Puts the application first in the type's entry, before the others it names.
    void setDefaultApplication(const QString& mimeType, const QString& desktopId);
    // Takes the application out of the type's entry; the entry goes when it names
    // no other, and so does the section when nothing is left in it.
    void removeApplication(const QString& mimeType, const QString& desktopId);

    // Nothing but blank lines left.
    bool isBlank() const;
    QByteArray text() const;

private:
    qsizetype sectionLine() const;                 // -1 when absent
    qsizetype sectionEnd(qsizetype header) const;  // the next section's line, or the end
    qsizetype entryLine(const QString& mimeType) const;

    QStringList lines_;  // split at LF, so that joining them gives the file back
    QString error_;
    bool unreadable_ = false;
};

}  // namespace sonivo
