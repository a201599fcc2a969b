#pragma once
// The list-file association, the start-maximized option and the reading of ID3v2
// tags as keys and values
// of the key/value store: the one place that knows their names.

#include "platform/KeyValueStore.h"

#include <QString>

namespace sonivo {

class RegistryEntries {
public:
    explicit RegistryEntries(QString storeFile);

    // ".svl" names "Sonivo.file".
    bool associationPresent() const;
    // ".svl", "Sonivo.file" and its open command and icon hold what
    // writeAssociation writes for the program.
    bool holdsAssociation(const QString& program) const;
    // ".svl", "Sonivo.file" with its open command and icon for the program; false
    // when the store could not be written.
    bool writeAssociation(const QString& program);
    // ".svl" and "Sonivo.file" with its subkeys, the deepest first.
    bool removeAssociation();

    // "Max" of "Sonivo" is "1".
    bool startMaximized() const;
    // On: "Max" set to "1"; off: the key "Sonivo" removed.
    bool setStartMaximized(bool on);

    // "ID3v2" of "Opzioni" is "1": a file without an ID3v1 tag is read by its ID3v2 tag.
    bool readsId3v2() const;
    // On: "ID3v2" set to "1"; off: the key "Opzioni" removed.
    bool setReadsId3v2(bool on);

    const QString& file() const { return file_; }
    // Why the last change could not be written.
    const QString& error() const { return store_.error(); }

private:
    // On: name set to "1" under key; off: the key removed.
    bool setFlag(const QString& key, const QString& name, bool on);
    // A store left without keys goes, so that nothing of it stays behind.
    void removeIfEmpty() const;

    QString file_;
    KeyValueStore store_;
};

}  // namespace sonivo
