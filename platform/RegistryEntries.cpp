#include "platform/RegistryEntries.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <array>

namespace sonivo {
namespace {

const QString kExtension = QStringLiteral(".svl");
const QString kFileType = QStringLiteral("Sonivo.file");
const QString kOpenCommand = QStringLiteral("Sonivo.file\\shell\\open\\command");
const QString kIcon = QStringLiteral("Sonivo.file\\DefaultIcon");
const QString kProgram = QStringLiteral("Sonivo");
const QString kMax = QStringLiteral("Max");
const QString kOptions = QStringLiteral("Opzioni");
const QString kId3v2 = QStringLiteral("ID3v2");

// The association's keys with their default values for the program.
std::array<std::pair<QString, QString>, 4> associationValues(const QString& program)
{
    return {{{kExtension, kFileType}, {kFileType, QStringLiteral("Sonivo file")}, {kOpenCommand, program + QStringLiteral(" %1")},
        {kIcon, program + QStringLiteral(",0")}}};
}

}  // namespace

RegistryEntries::RegistryEntries(QString storeFile) : file_(std::move(storeFile)), store_(file_) {}

bool RegistryEntries::associationPresent() const
{
    return store_.value(kExtension, QString()) == kFileType;
}

bool RegistryEntries::holdsAssociation(const QString& program) const
{
    return std::ranges::all_of(
        associationValues(program), [this](const auto& entry) { return store_.value(entry.first, QString()) == entry.second; });
}

bool RegistryEntries::writeAssociation(const QString& program)
{
    return std::ranges::all_of(
        associationValues(program), [this](const auto& entry) { return store_.setValue(entry.first, QString(), entry.second); });
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
    return setFlag(kProgram, kMax, on);
}

bool RegistryEntries::readsId3v2() const
{
    return store_.value(kOptions, kId3v2) == QLatin1String("1");
}

bool RegistryEntries::setReadsId3v2(bool on)
{
    return setFlag(kOptions, kId3v2, on);
}

bool RegistryEntries::setFlag(const QString& key, const QString& name, bool on)
{
    if (on)
        return store_.setValue(key, name, QStringLiteral("1"));
    const bool removed = store_.removeKey(key);
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
