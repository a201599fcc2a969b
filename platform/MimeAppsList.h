#pragma once
// The user's mimeapps.list: which application opens each file type. Only the
// entries asked about change; every other line (other programs' entries,
// comments, blank lines, other sections, bytes that are not UTF-8) stays byte
// for byte as it was. It is read as the desktop reads it (GLib's key files): a
// "Default Applications" section given twice is one section, and of a type
// named twice in it the last entry counts.

#include <QByteArray>
#include <QList>
#include <QString>

namespace sonivo {

class MimeAppsList {
public:
    // The file's lines; a missing file gives an empty list, an unreadable one a
    // list marked so that it is never written over.
    static MimeAppsList load(const QString& path);
    bool unreadable() const { return unreadable_; }
    const QString& error() const { return error_; }

    // The first application of the type's "Default Applications" entry that
    // counts, or "".
    QString defaultApplication(const QString& mimeType) const;
    // Puts the application first in the entry that counts, before the others it
    // names; a type without one gets it in the last such section.
    void setDefaultApplication(const QString& mimeType, const QString& desktopId);
    // Takes the application out of each of the type's entries; an entry goes when
    // it names no other, and so does its section when nothing is left in it.
    void removeApplication(const QString& mimeType, const QString& desktopId);

    // Nothing but blank lines left.
    bool isBlank() const;
    QByteArray text() const;

private:
    qsizetype lastSectionLine() const;             // -1 when absent
    qsizetype sectionEnd(qsizetype header) const;  // the next section's line, or the end
    // The lines of the type's entries in the "Default Applications" sections, in order.
    QList<qsizetype> entryLines(const QByteArray& mimeType) const;
    // Removes the section's header when only blank lines are left under it.
    void removeSectionIfBlank(qsizetype header);

    QList<QByteArray> lines_;  // split at LF, so that joining them gives the file back
    QString error_;
    bool unreadable_ = false;
};

}  // namespace sonivo
