#include "platform/KeyValueStore.h"

#include <QStandardPaths>

namespace sonivo {
namespace {

QString storedName(const QString& name)
{
    return name.isEmpty() ? QStringLiteral("@") : name;
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
    return IniFile(file_).value(key, storedName(name));
}

bool KeyValueStore::setValue(const QString& key, const QString& name, const QString& text)
{
    IniFile file(file_);
    if (key.isEmpty() || !file.setValue(key, storedName(name), text)) {
        error_ = QStringLiteral("nome o valore non valido");
        return false;
    }
    return save(file);
}

bool KeyValueStore::keyExists(const QString& key) const
{
    return IniFile(file_).hasSection(key);
}

bool KeyValueStore::removeKey(const QString& key)
{
    IniFile file(file_);
    for (const QString& section : file.sections()) {
        if (isSubkeyOrSelf(section, key))
            file.removeSection(section);
    }
    return save(file);
}

bool KeyValueStore::save(IniFile& file)
{
    const bool saved = file.save();
    error_ = file.error();
    return saved;
}

}  // namespace sonivo
