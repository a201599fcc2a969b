#include "analysis/clsMP3.h"
#include "tests/support/Analysed.h"
#include "tests/support/Mp3Builder.h"
#include "tests/support/TempFiles.h"

#include "common/NativePath.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace sonivo;
using namespace sonivo::test;

namespace {

QString fixture(const char* name)
{
    return QStringLiteral(SONIVO_FIXTURES "/") + QLatin1String(name);
}

void expectCleared(const clsMP3& mp3)
{
    EXPECT_FALSE(mp3.ValidHeader());
    EXPECT_TRUE(mp3.MPEGVersion().isEmpty());
    EXPECT_TRUE(mp3.BitRate().isEmpty());
    EXPECT_TRUE(mp3.SampleRate().isEmpty());
    EXPECT_TRUE(mp3.ChannelMode().isEmpty());
    EXPECT_TRUE(mp3.Emphasis().isEmpty());
    EXPECT_FALSE(mp3.CRCPresent());
    EXPECT_FALSE(mp3.Original());
    EXPECT_EQ(mp3.FrameLength(), 0);
    EXPECT_EQ(mp3.TotalFrames(), 0);
    EXPECT_EQ(mp3.PlayTime(), -1);
}

}  // namespace

TEST(ClsMp3, SplitsTheFullName)
{
    clsMP3 mp3;
    mp3.setFullName(QStringLiteral("/music/a b/song.mp3"));
    EXPECT_EQ(mp3.Path(), QStringLiteral("/music/a b/"));
    EXPECT_EQ(mp3.Filename(), QStringLiteral("song.mp3"));
    mp3.setFullName(QStringLiteral("song.mp3"));
    EXPECT_EQ(mp3.Path(), QString());
    EXPECT_EQ(mp3.Filename(), QStringLiteral("song.mp3"));
}

TEST(ClsMp3, FilesMadeByAnEncoder)
{
    const clsMP3 cbr = analysed(fixture("cbr128-44k-joint.mp3"));
    EXPECT_EQ(cbr.BitRate(), QStringLiteral("128"));
    EXPECT_EQ(cbr.SampleRate(), QStringLiteral("44100"));
    EXPECT_EQ(cbr.ChannelMode(), QStringLiteral("Joint Stereo"));
    EXPECT_EQ(cbr.TotalFrames(), 40) << "the count of its Info header";
    EXPECT_DOUBLE_EQ(cbr.PlayTime(), 1.09);  // 40 x 1152 / 44100 = 1.0449 s

    const clsMP3 vbr = analysed(fixture("vbr-48k-mono.mp3"));
    EXPECT_EQ(vbr.SampleRate(), QStringLiteral("48000"));
    EXPECT_EQ(vbr.ChannelMode(), QStringLiteral("Mono"));
    EXPECT_EQ(vbr.TotalFrames(), 43);
    EXPECT_DOUBLE_EQ(vbr.PlayTime(), 1.08);  // 43 x 1152 / 48000 = 1.032 s

    const clsMP3 crc = analysed(fixture("cbr40-32k-mono-crc.mp3"));
    EXPECT_TRUE(crc.CRCPresent());
    EXPECT_EQ(crc.BitRate(), QStringLiteral("40"));
    EXPECT_EQ(crc.SampleRate(), QStringLiteral("32000"));
    EXPECT_EQ(crc.FrameLength(), 180);
    EXPECT_EQ(crc.TotalFrames(), 29);

    expectCleared(analysed(fixture("mpeg2-16k.mp3")));
}

TEST(ClsMp3, ConstantBitRateFramesAndPlayTimeFollowTheBitRate)
{
    TempFiles files;
    FrameFields shape;
    shape.bitRateIndex = 5;     // 64 kbit/s
    shape.sampleRateIndex = 1;  // 48000 Hz: frames of 192 bytes
    shape.channelMode = 3;
    const clsMP3 mp3 = analysed(files.write(QStringLiteral("f.mp3"), frames(shape, 7) + QByteArray(100, 0)));
    EXPECT_EQ(mp3.TotalFrames(), 7) << "1444 bytes in frames of 192";
    EXPECT_DOUBLE_EQ(mp3.PlayTime(), 0.23) << "1444 bytes at 64 kbit/s: 0.1805 s, raised by 0.05 s and cut to hundredths";
}

TEST(ClsMp3, PlayTimeOfTheWorkedExampleFollowsTheFileLength)
{
    TempFiles files;
    auto fileOf = [&](int size) {
        QByteArray bytes = frames(FrameFields{}, 3);
        bytes.append(QByteArray(size - bytes.size(), 0));
        return files.write(QStringLiteral("a%1.mp3").arg(size), bytes);
    };
    const clsMP3 example = analysed(fileOf(3600000));
    EXPECT_DOUBLE_EQ(example.PlayTime(), 225.05);
    EXPECT_EQ(example.TotalFrames(), 3600000 / 417);

    clsMP3 mp3 = analysed(fileOf(3599900));  // 224.99375 s
    EXPECT_DOUBLE_EQ(mp3.PlayTime(), 225.04);
    mp3.setTitle(QStringLiteral("t"));  // 128 bytes longer now: 225.00175 s
    EXPECT_DOUBLE_EQ(mp3.PlayTime(), 225.05);
    EXPECT_EQ(mp3.TotalFrames(), 3599900 / 417) << "the frame count is the analysis's";
    ASSERT_EQ(mp3.RemoveTag(), 1);
    EXPECT_DOUBLE_EQ(mp3.PlayTime(), 225.04);
}

TEST(ClsMp3, ALeadingId3v2TagIsSkipped)
{
    TempFiles files;
    const QByteArray bytes = id3v2Tag(80000, char(0xFF)) + frames(FrameFields{}, 3);
    const clsMP3 mp3 = analysed(files.write(QStringLiteral("art.mp3"), bytes));
    EXPECT_TRUE(mp3.ValidHeader());
    EXPECT_EQ(mp3.TotalFrames(), bytes.size() / 417) << "the whole file length counts";
}

TEST(ClsMp3, MissingAndUnreadableFiles)
{
    TempFiles files;
    TagFields tag;
    tag.title = "First";
    clsMP3 mp3 = analysed(files.write(QStringLiteral("1.mp3"), frames(FrameFields{}, 3) + id3v1Tag(tag)));
    mp3.setFullName(files.path(QStringLiteral("gone.mp3")));
    EXPECT_EQ(mp3.ReadMP3Info(), clsMP3::ReadResult::Missing);
    EXPECT_TRUE(mp3.ValidHeader() && mp3.TagPresent()) << "a missing file leaves every field as it was";

    mp3.setFullName(files.path(QString()));  // a folder exists but is no file
    EXPECT_EQ(mp3.ReadMP3Info(), clsMP3::ReadResult::Unreadable);
    expectCleared(mp3);
    EXPECT_FALSE(mp3.TagPresent()) << "nothing of the earlier file shows through";
    EXPECT_TRUE(mp3.Title().isEmpty());
    EXPECT_NE(mp3.readError(), 0);

    const PermissionsEnforced enforced;
    const QString locked = files.write(QStringLiteral("locked.mp3"), frames(FrameFields{}, 3));
    ::chmod(toNativePath(locked).constData(), 0);
    mp3.setFullName(locked);
    EXPECT_EQ(mp3.ReadMP3Info(), clsMP3::ReadResult::Unreadable);
    EXPECT_EQ(mp3.readError(), EACCES);
}

TEST(ClsMp3, AwkwardNamesAndSizes)
{
    TempFiles files;
    const QByteArray audio = frames(FrameFields{}, 3);
    const QString nonUtf8 = fromNativePath(QByteArray("caf\xE9 \xFF.mp3"));
    for (const QString& name : {QStringLiteral("a b \"q\" 'x'; y.mp3"), nonUtf8}) {
        const QString path = files.write(name, audio);
        EXPECT_TRUE(clsMP3::FileExists(path));
        clsMP3 mp3 = analysed(path);
        EXPECT_TRUE(mp3.ValidHeader());
        EXPECT_EQ(mp3.Filename(), name);
    }
    for (int n = 0; n <= 3; ++n)
        expectCleared(analysed(files.write(QStringLiteral("t.mp3"), QByteArray(n, char(0xFF)))));

    // A sparse file of a terabyte: the frame count does not fit 32 bits.
    const QString huge = files.write(QStringLiteral("huge.mp3"), audio);
    const int fd = ::open(toNativePath(huge).constData(), O_WRONLY);
    const bool grown = fd >= 0 && ::ftruncate(fd, off_t(1) << 40) == 0;
    ::close(fd);
    if (!grown)
        GTEST_SKIP() << "no sparse files here";
    const clsMP3 mp3 = analysed(huge);
    EXPECT_EQ(mp3.TotalFrames(), (qint64(1) << 40) / 417);
    EXPECT_DOUBLE_EQ(mp3.PlayTime(), double(((qint64(1) << 40) * 8 + 50 * 128) / 1280) / 100);
}

TEST(ClsMp3, TipoIsTheDesktopTypeName)
{
    TempFiles files;
    const QString song = clsMP3::Tipo(files.write(QStringLiteral("a.mp3"), frames(FrameFields{}, 3)));
    const QString text = clsMP3::Tipo(files.write(QStringLiteral("a.txt"), QByteArray("hello\n")));
    EXPECT_TRUE(song.contains(QLatin1String("MP3"), Qt::CaseInsensitive)) << song.toStdString();
    EXPECT_FALSE(text.isEmpty());
    EXPECT_NE(song, text);
}
