#include "platform/RegistryEntries.h"

#include "platform/KeyValueStore.h"

#include <QFile>
#include <QFileInfo>

namespace sonivo {
namespace {

const QString kExtension = QStringLiteral(".svl");
const QString kFileType = QStringLiteral("Sonivo.file");
const QString kOpenCommand = QStringLiteral("Sonivo.file\\shell\\open\\command");
const QString kIcon = QStringLiteral("Sonivo.file\\DefaultIcon");
const QString kProgram = QStringLiteral("Sonivo");
const QString kMax = QStringLiteral("Max");

}  // namespace

RegistryEntries::RegistryEntries(QString storeFile) : file_(std::move(storeFile)) {}

bool RegistryEntries::associationPresent() const
{
    return KeyValueStore(file_).value(kExtension, QString()) == kFileType;
}

bool RegistryEntries::writeAssociation(const QString& program)
{
    KeyValueStore store(file_);
    return store.setValue(kExtension, QString(), kFileType) && store.setValue(kFileType, QString(), QStringLiteral("Sonivo file"))
        && store.setValue(kOpenCommand, QString(), program + QStringLiteral(" %1"))
        && store.setValue(kIcon, QString(), program + QStringLiteral(",0"));
}

bool RegistryEntries::removeAssociation()
{
    KeyValueStore store(file_);
    const bool removed = store.removeKey(kOpenCommand) && store.removeKey(QStringLiteral("Sonivo.file\\shell\\open"))
        && store.removeKey(QStringLiteral("Sonivo.file\\shell")) && store.removeKey(kIcon) && store.removeKey(kFileType)
        && store.removeKey(kExtension);
    removeIfEmpty();
    return removed;
}

bool RegistryEntries::startMaximized() const
{
    return KeyValueStore(file_).value(kProgram, kMax) == QLatin1String("1");
}

bool RegistryEntries::setStartMaximized(bool on)
{
    KeyValueStore store(file_);
    if (on)
        return store.setValue(kProgram, kMax, QStringLiteral("1"));
    const bool removed = store.removeKey(kProgram);
    removeIfEmpty();
    return removed;
}

void RegistryEntries::removeIfEmpty() const
{
    const QFileInfo info(file_);
    if (info.isFile() && info.size() == 0)
        QFile::remove(file_);
}

}  // namespace sonivo
