#include "analysis/clsMP3.h"
#include "tests/support/Mp3Builder.h"
#include "tests/support/TempFiles.h"

#include <gtest/gtest.h>

using namespace sonivo;
using namespace sonivo::test;

namespace {

class Rename : public ::testing::Test {
protected:
    // A 128 kbit/s file of about 225 seconds with the given tag.
    clsMP3 song(const TagFields& tag, const QString& name = QStringLiteral("old.mp3"))
    {
        QByteArray bytes = frames(FrameFields{}, 3);
        bytes.append(QByteArray(3600000 - 128 - bytes.size(), 0));
        bytes += id3v1Tag(tag);
        clsMP3 mp3;
        mp3.setFullName(files.write(name, bytes));
        EXPECT_EQ(mp3.ReadMP3Info(), clsMP3::ReadResult::Done);
        return mp3;
    }
    static TagFields artistAndSong()
    {
        TagFields t;
        t.artist = "Artist";
        t.title = "Song";
        return t;
    }

    TempFiles files;
};
}  // namespace

TEST_F(Rename, EveryTokenAndTheExtensionRule)
{
    TagFields t = artistAndSong();
    t.album = "Album";
    t.year = "1999";
    t.comment = "  c  ";
    t.genre = 17;
    clsMP3 mp3 = song(t);
    ASSERT_EQ(mp3.RenameFile(QStringLiteral("%a|%t|%n|%y|%g|%c|%b|%f|%s|%m|%x|%l|%v.mp3")), 0);
    // 3,600,000 bytes at 128 kbit/s: 225.05 s; "|" is removed by the clean-up.
    EXPECT_EQ(mp3.Filename(),
        QStringLiteral("ArtistAlbumSong1999Rockc12844100225"
                       "3.45Joint Stereo31.0.mp3"));
    ASSERT_EQ(mp3.RenameFile(QStringLiteral("%n.MP3")), 0);
    EXPECT_EQ(mp3.Filename(), QStringLiteral("Song.MP3.mp3"));
}

TEST_F(Rename, CleansCharactersAFileNameCannotHold)
{
    TagFields t;
    t.title = "a:b\"c*d?e/f\\g<h>i|j";
    clsMP3 mp3 = song(t);
    ASSERT_EQ(mp3.RenameFile(QStringLiteral("%n\n\x01x")), 0);
    EXPECT_EQ(mp3.Filename(), QStringLiteral("a.b'cdefg[h]ij x.mp3"));
}

TEST_F(Rename, TheValuesPutInAreNeverReadAsTokens)
{
    TagFields t = artistAndSong();
    t.artist = "%n";
    t.title = "100%s %a";
    clsMP3 mp3 = song(t);
    ASSERT_EQ(mp3.RenameFile(QStringLiteral("%n")), 0);
    EXPECT_EQ(mp3.Filename(), QStringLiteral("100%s %a.mp3"));
    ASSERT_EQ(mp3.RenameFile(QStringLiteral("%a-%%n%")), 0);
    EXPECT_EQ(mp3.Filename(), QStringLiteral("%n-%100%s %a%.mp3"));
}

TEST_F(Rename, NoNameIsRefusedAndTheSameNameChangesNothing)
{
    TagFields t = artistAndSong();
    t.album = "";
    clsMP3 mp3 = song(t);
    for (const char* pattern : {"", ".mp3", "%t", "%t.mp3", "/"}) {
        EXPECT_EQ(mp3.RenameFile(QString::fromUtf8(pattern)), -1) << pattern;
        EXPECT_EQ(mp3.Filename(), QStringLiteral("old.mp3"));
    }
    EXPECT_FALSE(clsMP3::FileExists(files.path(QStringLiteral(".mp3"))));
    EXPECT_EQ(mp3.RenameFile(QStringLiteral("old")), 0);
    EXPECT_EQ(mp3.Filename(), QStringLiteral("old.mp3"));
    EXPECT_TRUE(clsMP3::FileExists(mp3.FullName()));
}

TEST_F(Rename, NoValidHeaderGivesZeroPlayTime)
{
    TagFields t = artistAndSong();
    clsMP3 mp3;
    mp3.setFullName(files.write(QStringLiteral("old.mp3"), QByteArray(1000, 0) + id3v1Tag(t)));
    ASSERT_EQ(mp3.ReadMP3Info(), clsMP3::ReadResult::Done);
    ASSERT_EQ(mp3.RenameFile(QStringLiteral("%n %s %m")), 0);
    EXPECT_EQ(mp3.Filename(), QStringLiteral("Song 0 0.00.mp3"));
}

TEST(Attributes, TextsAndChanges)
{
    TempFiles files;
    clsMP3 mp3;
    mp3.setFullName(files.write(QStringLiteral("a.mp3"), QByteArray("x")));
    EXPECT_EQ(mp3.FileAttributes(), QStringLiteral("Normal"));

    mp3.setFileAttributes(QStringLiteral("R"));
    EXPECT_TRUE(mp3.WriteAttributes());
    EXPECT_EQ(mp3.FileAttributes(), QStringLiteral("R"));
    EXPECT_EQ(permissionsOf(mp3.FullName()) & 0222, 0u) << "every write permission removed";

    mp3.setFileAttributes(QStringLiteral("rha"));
    EXPECT_EQ(mp3.FileAttributes(), QStringLiteral("R")) << "lower case keeps";
    mp3.setFileAttributes(QStringLiteral("A"));
    EXPECT_EQ(mp3.FileAttributes(), QStringLiteral("Normal"));
    EXPECT_NE(permissionsOf(mp3.FullName()) & 0200, 0u);

    mp3.setFileAttributes(QStringLiteral("R"));
    mp3.setFileAttributes(QStringLiteral("nOrMaL"));
    EXPECT_EQ(mp3.FileAttributes(), QStringLiteral("Normal"));

    clsMP3 hidden;
    hidden.setFullName(files.write(QStringLiteral(".b.mp3"), QByteArray("x")));
    EXPECT_EQ(hidden.FileAttributes(), QStringLiteral("H"));
    hidden.setFileAttributes(QStringLiteral("RHSA"));
    EXPECT_EQ(hidden.FileAttributes(), QStringLiteral("RH"));

    clsMP3 missing;
    missing.setFullName(files.path(QStringLiteral("none.mp3")));
    EXPECT_EQ(missing.FileAttributes(), QStringLiteral("-1"));
    missing.setFileAttributes(QStringLiteral("R"));
    EXPECT_FALSE(missing.WriteAttributes());
}
