#pragma once
// The machine's mounts as the drive identification asks for them: each mount's
// point, device and file system type, whether a device is removable, a volume's
// label and serial. Tests replace the system's table with a fake one.

#include <QString>
#include <optional>
#include <vector>

namespace sonivo {

struct MountEntry {
    QString mountPoint;  // "/media/cdrom"
    QString device;      // "/dev/sr0", or the source of a network or virtual file system
    QString fsType;      // "iso9660", "ext4", "nfs", "tmpfs", ...
};

class MountTable {
public:
    virtual ~MountTable() = default;
    virtual std::vector<MountEntry> mounts() const = 0;
    // True when the block device is removable (its /sys/block/*/removable is 1).
    virtual bool isRemovable(const QString& device) const = 0;
    // The file system's label: "" when it has none, nothing when it cannot be read.
    virtual std::optional<QString> label(const MountEntry& mount) const = 0;
    // The volume's own 32-bit serial (FAT / exFAT volume ID, low 32 bits of the
    // NTFS serial), else a stable value derived from the volume UUID; nothing
    // when there is none.
    virtual std::optional<quint32> serial(const MountEntry& mount) const = 0;
};

// The machine's mounts, read from /proc/self/mountinfo, /sys/block and /dev/disk.
const MountTable& systemMountTable();

}  // namespace sonivo
