#include "platform/MountParsing.h"
#include "platform/MountTable.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace sonivo;

namespace {

QString q(const char* text)
{
    return QString::fromUtf8(text);
}

}  // namespace

TEST(MountParsing, MountInfoLines)
{
    const std::pair<const char*, const char*> cases[] = {
        {"27 1 254:0 / / rw,relatime - ext4 /dev/vda rw", "/ /dev/vda ext4"},
        {"36 35 98:0 /x /media/My\\040Disc rw shared:1 master:2 - iso9660 /dev/sr0 ro", "/media/My Disc /dev/sr0 iso9660"},
        {"", ""},
        {"27 1 254:0 / / rw,relatime ext4 /dev/vda rw", ""},
        {"27 1 254:0 / / rw,relatime - ext4", ""},
        {"27 1 - ext4 /dev/vda", ""},
    };
    for (const auto& [line, expected] : cases) {
        const std::optional<MountEntry> m = parseMountInfoLine(line);
        EXPECT_EQ(m ? m->mountPoint + QLatin1Char(' ') + m->device + QLatin1Char(' ') + m->fsType : QString(), q(expected)) << line;
    }
}

TEST(MountParsing, Escapes)
{
    EXPECT_EQ(decodeOctalEscapes("a\\040b\\011c\\012d\\134e"), QByteArray("a b\tc\nd\\e"));
    EXPECT_EQ(decodeOctalEscapes("caf\\351"), QByteArray("caf\xE9"));
    EXPECT_EQ(decodeOctalEscapes("\\9ab\\400\\04"), QByteArray("\\9ab\\400\\04"));  // not escapes
    EXPECT_EQ(decodeUdevName(q("My\\x20Disc")), q("My Disc"));
    EXPECT_EQ(decodeUdevName(q("a\\x2fb\\x5C")), q("a/b\\"));
    EXPECT_EQ(decodeUdevName(q("Caf\\xc3\\xa9")), q("Caf\xC3\xA9"));
    EXPECT_EQ(decodeUdevName(q("\\xZZ\\y20\\x2")), q("\\xZZ\\y20\\x2"));  // not escapes
}

TEST(MountParsing, UuidSerials)
{
    EXPECT_EQ(serialFromUuid(q("1A2B-3C4D")), 0x1A2B3C4Du);
    EXPECT_EQ(serialFromUuid(q("1a2b-3c4d")), 0x1A2B3C4Du);
    EXPECT_EQ(serialFromUuid(q("0123456789ABCDEF")), 0x89ABCDEFu);
    const QString ext4 = q("3e6be9de-8139-11d1-9106-a43f08d823a6");
    const QString disc = q("2020-01-01-12-00-00-00");
    EXPECT_NE(serialFromUuid(ext4), serialFromUuid(disc));
    EXPECT_NE(serialFromUuid(disc), serialFromUuid(q("2020-01-01-12-00-00-01")));
    EXPECT_NE(serialFromUuid(q("1A2B-3C4G")), serialFromUuid(q("1A2B-3C4H")));
}

TEST(SystemMountTable, KnowsTheRootAndNothingOfVirtualDevices)
{
    const std::vector<MountEntry> mounts = systemMountTable().mounts();
    EXPECT_TRUE(std::any_of(mounts.begin(), mounts.end(), [](const MountEntry& m) { return m.mountPoint == q("/"); }));

    const MountEntry ram{q("/run"), q("tmpfs"), q("tmpfs")};
    EXPECT_FALSE(systemMountTable().isRemovable(ram.device));
    EXPECT_FALSE(systemMountTable().label(ram));
    EXPECT_FALSE(systemMountTable().serial(ram));
    EXPECT_EQ(systemMountTable().label({q("/media/cd"), q("/dev/no-such-sr"), q("iso9660")}), QString());
}
