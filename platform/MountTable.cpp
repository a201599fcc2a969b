#include "platform/MountTable.h"

#include "platform/Directory.h"
#include "platform/MountParsing.h"
#include "platform/NativeFile.h"

#include <QFile>

#include <sys/stat.h>

namespace sonivo {
namespace {

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The resolved path of the device when it is a block device, else nothing (the
// source of a network or virtual file system, or a device node that is missing).
std::optional<QString> blockDevice(const QString& device)
{
    if (!device.startsWith(QLatin1Char('/')))
        return std::nullopt;
    const std::optional<QString> path = canonicalPath(device);
    const std::optional<mode_t> mode = path ? fileMode(*path) : std::nullopt;
    return mode && S_ISBLK(*mode) ? path : std::nullopt;
}

// The decoded name of the link in the udev folder that resolves to the device.
std::optional<QString> udevNameOf(const QString& device, const QString& folder)
{
    const std::optional<std::vector<DirEntry>> links = listFolder(folder);
    if (!links)
        return std::nullopt;
    for (const DirEntry& link : *links) {
        if (canonicalPath(folder + QLatin1Char('/') + link.name) == device)
            return decodeUdevName(link.name);
    }
    return std::nullopt;
}

class SystemMountTable final : public MountTable {
public:
    // Read anew each time: discs come and go.
    std::vector<MountEntry> mounts() const override
    {
        std::vector<MountEntry> entries;
        for (const QByteArray& line : readFile(QStringLiteral("/proc/self/mountinfo")).split('\n')) {
            if (std::optional<MountEntry> entry = parseMountInfoLine(line))
                entries.push_back(std::move(*entry));
        }
        return entries;
    }

    bool isRemovable(const QString& device) const override
    {
        const std::optional<QString> path = blockDevice(device);
        const std::optional<QString> sysFolder
            = path ? canonicalPath(QStringLiteral("/sys/class/block/") + path->mid(path->lastIndexOf(QLatin1Char('/')) + 1)) : std::nullopt;
        if (!sysFolder)
            return false;
        // A partition's folder lies inside its disk's, which holds the flag.
        const bool isPartition = pathExists(*sysFolder + QStringLiteral("/partition"));
        const QString disk = isPartition ? sysFolder->left(sysFolder->lastIndexOf(QLatin1Char('/'))) : *sysFolder;
        return readFile(disk + QStringLiteral("/removable")).trimmed() == "1";
    }

    std::optional<QString> label(const MountEntry& mount) const override
    {
        const std::optional<QString> device = blockDevice(mount.device);
        if (!device)
            return isDiscFileSystem(mount.fsType) ? std::optional(QString()) : std::nullopt;
        // udev makes no link for a volume without a label.
        return udevNameOf(*device, QStringLiteral("/dev/disk/by-label")).value_or(QString());
    }

    std::optional<quint32> serial(const MountEntry& mount) const override
    {
        const std::optional<QString> device = blockDevice(mount.device);
        const std::optional<QString> uuid = device ? udevNameOf(*device, QStringLiteral("/dev/disk/by-uuid")) : std::nullopt;
        return uuid ? std::optional(serialFromUuid(*uuid)) : std::nullopt;
    }
};

}  // namespace

const MountTable& systemMountTable()
{
    static const SystemMountTable table;
    return table;
}

}  // namespace sonivo
