#pragma once
// What kind of drive a folder is on, and the label and serial of its volume, as the
// texts the catalogue shows and stores. A folder's drive root is the mount point
// of the file system it lies on. The mounts come from a MountTable, which tests
// replace with a fake one.

#include "platform/MountTable.h"

#include <QString>
#include <map>
#include <optional>
#include <vector>

namespace sonivo {

// Another table's mounts, removable flags and serials, each read once and then kept,
// for work such as a scan that asks about many folders in a short time.
class MountSnapshot final : public MountTable {
public:
    explicit MountSnapshot(const MountTable& source);
    std::vector<MountEntry> mounts() const override { return mounts_; }
    bool isRemovable(const QString& device) const override;
    std::optional<QString> label(const MountEntry& mount) const override { return source_.label(mount); }
    std::optional<quint32> serial(const MountEntry& mount) const override;

private:
    const MountTable& source_;
    std::vector<MountEntry> mounts_;
    mutable std::map<QString, bool> removable_;                  // by device
    mutable std::map<QString, std::optional<quint32>> serials_;  // by mount point
};

class DriveInfo {
public:
    explicit DriveInfo(const MountTable& table = systemMountTable());
    const MountTable& table() const { return table_; }

    // The mount the folder lies on (the longest mount point that contains it), or
    // nothing when the folder does not exist.
    std::optional<MountEntry> driveRoot(const QString& folder) const;
    // The same for a path already without links, ".", ".." or relative parts:
    // answered from the mounts alone.
    std::optional<MountEntry> driveRootOfResolved(const QString& path) const;
    // "CD-ROM drive", "Drive removibile", "Network drive", "RAM-disk",
    // "Drive fisso", or "" for a folder that does not exist.
    QString driveTypeName(const QString& folder) const;
    // The label, "-" when the volume has none, "" when it cannot be read.
    QString volumeLabel(const QString& folder) const;
    // The serial text ("1A2B-3C4D"), "-" when there is none.
    QString volumeSerial(const QString& folder) const;

    // The same answers for a drive root found once, for callers asking several.
    QString driveTypeName(const std::optional<MountEntry>& root) const;
    QString volumeSerial(const std::optional<MountEntry>& root) const;

private:
    const MountTable& table_;
};

// The serial text of a 32-bit serial: upper-case hex without leading zeros, a
// text of decimal digits only padded with zeros to eight, then its first four
// characters, "-", its last four.
QString formatVolumeSerial(quint32 serial);

}  // namespace sonivo
