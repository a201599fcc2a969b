#include "catalogue/DriveInfo.h"
#include "common/NativePath.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>

#include <sys/stat.h>

using namespace sonivo;

namespace {

QString q(const char* text)
{
    return QString::fromUtf8(text);
}

struct FakeMount {
    MountEntry entry;
    bool removable = false;
    std::optional<QString> label = {};
    std::optional<quint32> serial = {};
};

// Answers from a list of mounts, which starts with "/" as a fixed disk.
class FakeMountTable final : public MountTable {
public:
    std::vector<FakeMount> list{{.entry = {q("/"), q("/dev/vda"), q("ext4")}}};

    std::vector<MountEntry> mounts() const override
    {
        std::vector<MountEntry> entries;
        for (const FakeMount& m : list)
            entries.push_back(m.entry);
        return entries;
    }
    bool isRemovable(const QString& device) const override
    {
        return std::ranges::any_of(list, [&](const FakeMount& m) { return m.entry.device == device && m.removable; });
    }
    std::optional<QString> label(const MountEntry& mount) const override { return find(mount).label; }
    std::optional<quint32> serial(const MountEntry& mount) const override { return find(mount).serial; }

private:
    const FakeMount& find(const MountEntry& mount) const
    {
        return *std::ranges::find_if(list, [&](const FakeMount& m) { return m.entry.mountPoint == mount.mountPoint; });
    }
};

class DriveInfoTest : public ::testing::Test {
protected:
    // Makes the folder below the temporary one and returns its full path.
    QString folder(const char* relative) const
    {
        const QString path = root + QLatin1Char('/') + q(relative);
        QDir().mkpath(path);
        return path;
    }
    FakeMount& mount(const char* relative, const char* device, const char* fsType)
    {
        return table.list.emplace_back(FakeMount{.entry = {folder(relative), q(device), q(fsType)}});
    }
    QString mountPointOf(const QString& path) const { return drives.driveRoot(path).value_or(MountEntry{}).mountPoint; }

    QTemporaryDir dir;
    QString root = QDir(dir.path()).canonicalPath();
    FakeMountTable table;
    DriveInfo drives{table};
};

}  // namespace

TEST_F(DriveInfoTest, DriveTypesFollowTheFileSystemAndDevice)
{
    const struct {
        const char* device;
        const char* fsType;
        bool removable;
        const char* type;
    } cases[] = {{"/dev/loop3", "iso9660", false, "CD-ROM drive"}, {"/dev/loop3", "udf", false, "CD-ROM drive"},
        {"/dev/sr0", "hfsplus", false, "CD-ROM drive"}, {"/dev/sdb1", "iso9660", true, "CD-ROM drive"},
        {"/dev/sdb1", "vfat", true, "Drive removibile"}, {"/dev/sdb1", "vfat", false, "Drive fisso"},
        {"srv:/a", "nfs", false, "Network drive"}, {"//srv/a", "cifs", false, "Network drive"},
        {"u@srv:", "fuse.sshfs", false, "Network drive"}, {"drvfs", "9p", false, "Network drive"}, {"tmpfs", "tmpfs", false, "RAM-disk"},
        {"none", "ramfs", false, "RAM-disk"}, {"/dev/nvme0n1p2", "btrfs", false, "Drive fisso"}};
    for (const auto& c : cases) {
        table.list.resize(1);
        mount("drive", c.device, c.fsType).removable = c.removable;
        EXPECT_EQ(drives.driveTypeName(folder("drive/sub")), q(c.type)) << c.device << " " << c.fsType;
    }
    EXPECT_EQ(drives.driveTypeName(root), q("Drive fisso"));  // on "/"
}

TEST_F(DriveInfoTest, AFolderThatDoesNotExistHasNoDrive)
{
    mount("cd", "/dev/sr0", "iso9660").label = q("DISC");
    const QString missing = root + q("/cd/missing");
    EXPECT_FALSE(drives.driveRoot(missing));
    EXPECT_EQ(drives.driveTypeName(missing), QString());
    EXPECT_EQ(drives.volumeLabel(missing), QString());
    EXPECT_EQ(drives.volumeSerial(missing), q("-"));
}

TEST_F(DriveInfoTest, TheLongestMountPointOfWholeComponentsWins)
{
    mount("media/cd", "/dev/sr0", "iso9660");
    mount("media", "/dev/sdb1", "ext4");
    EXPECT_EQ(mountPointOf(folder("media/cd/a/b")), root + q("/media/cd"));
    EXPECT_EQ(mountPointOf(folder("media/cd")), root + q("/media/cd"));
    EXPECT_EQ(mountPointOf(folder("media/cdrom")), root + q("/media"));
    EXPECT_EQ(mountPointOf(folder("other")), q("/"));
    // Of two mounts at one point the later is on top.
    mount("media/cd", "/dev/sr1", "udf");
    EXPECT_EQ(drives.driveRoot(folder("media/cd/a"))->device, q("/dev/sr1"));
}

TEST_F(DriveInfoTest, LinksAndNamesThatAreNotUtf8ResolveToTheirMount)
{
    mount("cd", "/dev/sr0", "iso9660");
    ASSERT_TRUE(QFile::link(folder("cd/album"), root + q("/link")));
    EXPECT_EQ(mountPointOf(root + q("/link")), root + q("/cd"));
    const QByteArray latin1 = toNativePath(root) + "/cd/caf\xE9";
    ASSERT_EQ(::mkdir(latin1.constData(), 0755), 0);
    EXPECT_EQ(drives.driveTypeName(fromNativePath(latin1)), q("CD-ROM drive"));
    ::rmdir(latin1.constData());  // QTemporaryDir cannot see the name to remove it
}

TEST_F(DriveInfoTest, LabelAndSerialTexts)
{
    FakeMount& cd = mount("cd", "/dev/sr0", "iso9660");
    const QString path = folder("cd/album");
    const std::pair<std::optional<QString>, QString> labels[] = {{q("MY DISC"), q("MY DISC")}, {QString(), q("-")},
        {std::nullopt, QString()}, {q("AB") + QChar(u'\0') + q("CD"), q("AB")}, {QChar(u'\0') + q("junk"), q("-")}};
    for (const auto& [label, expected] : labels) {
        cd.label = label;
        EXPECT_EQ(drives.volumeLabel(path), expected) << label.value_or(q("(none)")).toStdString();
    }
    EXPECT_EQ(drives.volumeSerial(path), q("-"));
    cd.serial = 0x1A2B3C4D;
    EXPECT_EQ(drives.volumeSerial(path), q("1A2B-3C4D"));

    const std::pair<quint32, const char*> serials[] = {{0x1A2B3C4D, "1A2B-3C4D"}, {0x01234567, "0123-4567"}, {0x0ABCDEF1, "ABCD-DEF1"},
        {0xABC, "ABC-ABC"}, {0x12, "0000-0012"}, {0, "0000-0000"}, {0x1E5, "1E5-1E5"}, {0xFFFFFFFF, "FFFF-FFFF"}};
    for (const auto& [serial, expected] : serials)
        EXPECT_EQ(formatVolumeSerial(serial), q(expected)) << std::hex << serial;
}
