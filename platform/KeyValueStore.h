#pragma once
// A small registry of our own: keys such as "Sonivo" or
// "Sonivo.file\shell\open\command", each holding named text values, kept in
// one INI file with a section per key. The default value of a key (the name "")
// is stored under the name "@". Key and value names match without regard to
// letter case; a key's subkeys are the keys that begin with its name and a
// backslash. Each change reads the file and writes it once.

#include "platform/IniFile.h"

#include <QString>
#include <optional>

namespace sonivo {

class KeyValueStore {
public:
    explicit KeyValueStore(QString file = defaultPath());
    // $XDG_CONFIG_HOME/sonivo/registry.ini
    static QString defaultPath();

    // Nothing when the key or the value is missing.
    std::optional<QString> value(const QString& key, const QString& name) const;
    // False when it could not be written, or for a key name holding "[", "]" or a
    // line break, or a value name holding "=" or a line break, or a value holding a
    // line break: the file could not keep them.
    bool setValue(const QString& key, const QString& name, const QString& text);
    bool keyExists(const QString& key) const;
    // Removes the key with its values and subkeys; true also when there was none.
    bool removeKey(const QString& key);
    // Why the last change could not be written; the file was left as it was.
    const QString& error() const { return error_; }

private:
    bool save(IniFile& file);

    QString file_;
    QString error_;
};

}  // namespace sonivo
