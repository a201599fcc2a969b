#include "catalogue/DriveInfo.h"

#include "platform/MountParsing.h"

#include <QStringList>

#include <algorithm>

namespace sonivo {
namespace {

// True when the path is the mount point or lies below it, whole components only.
bool containsPath(const QString& mountPoint, const QString& path)
{
    const QString prefix = mountPoint.endsWith(QLatin1Char('/')) ? mountPoint : mountPoint + QLatin1Char('/');
    return path == mountPoint || path.startsWith(prefix);
}

bool isNetworkFileSystem(const QString& fsType)
{
    static const QStringList kNetwork = {
        QStringLiteral("nfs"),
        QStringLiteral("nfs4"),
        QStringLiteral("cifs"),
        QStringLiteral("smb3"),
        QStringLiteral("smbfs"),
        QStringLiteral("ncpfs"),
        QStringLiteral("sshfs"),
        QStringLiteral("fuse.sshfs"),
        QStringLiteral("9p"),
        QStringLiteral("afs"),
        QStringLiteral("coda"),
        QStringLiteral("ceph"),
        QStringLiteral("fuse.ceph"),
        QStringLiteral("glusterfs"),
        QStringLiteral("fuse.glusterfs"),
        QStringLiteral("lustre"),
        QStringLiteral("davfs"),
        QStringLiteral("fuse.davfs2"),
        QStringLiteral("fuse.s3fs"),
        QStringLiteral("fuse.rclone"),
        QStringLiteral("fuse.curlftpfs"),
    };
    return kNetwork.contains(fsType);
}

bool isRamFileSystem(const QString& fsType)
{
    return fsType == QLatin1String("tmpfs") || fsType == QLatin1String("ramfs");
}

// The drive type name of a mount; a disc wins over a removable drive.
QString driveType(const MountEntry& mount, const MountTable& table)
{
    if (isDiscFileSystem(mount.fsType) || mount.device.startsWith(QLatin1String("/dev/sr")))
        return QStringLiteral("CD-ROM drive");
    if (table.isRemovable(mount.device))
        return QStringLiteral("Drive removibile");
    if (isNetworkFileSystem(mount.fsType))
        return QStringLiteral("Network drive");
    if (isRamFileSystem(mount.fsType))
        return QStringLiteral("RAM-disk");
    return QStringLiteral("Drive fisso");
}

}  // namespace

MountSnapshot::MountSnapshot(const MountTable& source) : source_(source), mounts_(source.mounts()) {}

bool MountSnapshot::isRemovable(const QString& device) const
{
    const auto known = removable_.find(device);
    if (known != removable_.end())
        return known->second;
    return removable_[device] = source_.isRemovable(device);
}

std::optional<quint32> MountSnapshot::serial(const MountEntry& mount) const
{
    const auto known = serials_.find(mount.mountPoint);
    if (known != serials_.end())
        return known->second;
    return serials_[mount.mountPoint] = source_.serial(mount);
}

DriveInfo::DriveInfo(const MountTable& table) : table_(table) {}

std::optional<MountEntry> DriveInfo::driveRoot(const QString& folder) const
{
    // Resolved, so that a link lands on the mount it points into.
    const std::optional<QString> path = canonicalPath(folder);
    return path ? driveRootOfResolved(*path) : std::nullopt;
}

std::optional<MountEntry> DriveInfo::driveRootOfResolved(const QString& path) const
{
    std::optional<MountEntry> root;
    for (MountEntry& mount : table_.mounts()) {
        // Of two mounts at the same point the later one is on top, so it wins the tie.
        if (containsPath(mount.mountPoint, path) && (!root || mount.mountPoint.size() >= root->mountPoint.size()))
            root = std::move(mount);
    }
    return root;
}

QString DriveInfo::driveTypeName(const QString& folder) const
{
    return driveTypeName(driveRoot(folder));
}

QString DriveInfo::driveTypeName(const std::optional<MountEntry>& root) const
{
    return root ? driveType(*root, table_) : QString();
}

QString DriveInfo::volumeLabel(const QString& folder) const
{
    const std::optional<MountEntry> root = driveRoot(folder);
    const std::optional<QString> label = root ? table_.label(*root) : std::nullopt;
    if (!label)
        return {};
    const QString text = label->left(label->indexOf(QChar(u'\0')));
    return text.isEmpty() ? QStringLiteral("-") : text;
}

QString DriveInfo::volumeSerial(const QString& folder) const
{
    return volumeSerial(driveRoot(folder));
}

QString DriveInfo::volumeSerial(const std::optional<MountEntry>& root) const
{
    const std::optional<quint32> serial = root ? table_.serial(*root) : std::nullopt;
    return serial ? formatVolumeSerial(*serial) : QStringLiteral("-");
}

QString formatVolumeSerial(quint32 serial)
{
    QString hex = QString::number(serial, 16).toUpper();
    if (std::ranges::all_of(hex, [](QChar c) { return c >= u'0' && c <= u'9'; }))
        hex = hex.rightJustified(8, QLatin1Char('0'));
    return hex.left(4) + QLatin1Char('-') + hex.right(4);
}

}  // namespace sonivo
