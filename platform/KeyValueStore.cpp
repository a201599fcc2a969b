#include "platform/KeyValueStore.h"

#include "platform/IniFile.h"

#include <QStandardPaths>

namespace sonivo {
namespace {

QString storedName(const QString& name)
{
    return name.isEmpty() ? QStringLiteral("@") : name;
}

bool hasLineBreak(const QString& text)
{
    return text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r'));
}

bool isSubkeyOrSelf(const QString& candidate, const QString& key)
{
    return candidate.compare(key, Qt::CaseInsensitive) == 0 || candidate.startsWith(key + QLatin1Char('\\'), Qt::CaseInsensitive);
}

}  // namespace

KeyValueStore::KeyValueStore(QString file) : file_(std::move(file)) {}

QString KeyValueStore::defaultPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QStringLiteral("/sonivo/registry.ini");
}

std::optional<QString> KeyValueStore::value(const QString& key, const QString& name) const
{
    return IniDocument::load(file_).value(key, storedName(name));
}

bool KeyValueStore::setValue(const QString& key, const QString& name, const QString& text)
{
    if (key.isEmpty() || key.contains(QLatin1Char('[')) || key.contains(QLatin1Char(']')) || hasLineBreak(key)
        || name.contains(QLatin1Char('=')) || hasLineBreak(name) || hasLineBreak(text))
        return false;
    IniDocument doc = IniDocument::load(file_);
    doc.setValue(key, storedName(name), text);
    return doc.save(file_);
}

bool KeyValueStore::keyExists(const QString& key) const
{
    return IniDocument::load(file_).hasSection(key);
}

bool KeyValueStore::removeKey(const QString& key)
{
    IniDocument doc = IniDocument::load(file_);
    bool removed = false;
    for (const QString& section : doc.sections()) {
        if (isSubkeyOrSelf(section, key))
            removed = doc.removeSection(section) || removed;
    }
    return !removed || doc.save(file_);
}

}  // namespace sonivo
