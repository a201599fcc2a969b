#pragma once
// The list-file association and the start-maximized option as keys and values
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

    const QString& file() const { return file_; }
    // Why the last change could not be written.
    const QString& error() const { return store_.error(); }

private:
    // A store left without keys goes, so that nothing of it stays behind.
    void removeIfEmpty() const;

    QString file_;
    KeyValueStore store_;
};

}  // namespace sonivo
