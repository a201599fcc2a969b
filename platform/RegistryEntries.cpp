#include "platform/RegistryEntries.h"


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

RegistryEntries::RegistryEntries(QString storeFile) : file_(std::move(storeFile)), store_(file_) {}

bool RegistryEntries::associationPresent() const
{
    return store_.value(kExtension, QString()) == kFileType;
}

bool RegistryEntries::writeAssociation(const QString& program)
{
    return store_.setValue(kExtension, QString(), kFileType) && store_.setValue(kFileType, QString(), QStringLiteral("Sonivo file"))
        && store_.setValue(kOpenCommand, QString(), program + QStringLiteral(" %1"))
        && store_.setValue(kIcon, QString(), program + QStringLiteral(",0"));
}

bool RegistryEntries::removeAssociation()
{
    const bool removed = store_.removeKey(kOpenCommand) && store_.removeKey(QStringLiteral("Sonivo.file\\shell\\open"))
        && store_.removeKey(QStringLiteral("Sonivo.file\\shell")) && store_.removeKey(kIcon) && store_.removeKey(kFileType)
        && store_.removeKey(kExtension);
    removeIfEmpty();
    return removed;
}

bool RegistryEntries::startMaximized() const
{
    return store_.value(kProgram, kMax) == QLatin1String("1");
}

bool RegistryEntries::setStartMaximized(bool on)
{
    if (on)
        return store_.setValue(kProgram, kMax, QStringLiteral("1"));
    const bool removed = store_.removeKey(kProgram);
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
