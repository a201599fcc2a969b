#include "tests/support/Mp3Builder.h"
#include "tests/support/TempFiles.h"

#include <QDir>
#include <QProcess>
#include <gtest/gtest.h>

using namespace sonivo::test;

namespace {

struct CliRun {
    int status;
    QString out;
    QString err;
};

CliRun cli(const QStringList& args)
{
    QProcess p;
    p.start(QStringLiteral(SONIVO_CLI), args);
    p.waitForFinished(30000);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}

}  // namespace

TEST(Cli, InfoPrintsEveryPropertyWithABlankLineBetweenFiles)
{
    TempFiles files;
    TagSpec tag;
    tag.title = "Song";
    tag.genre = 17;
    const QString a = files.write(QStringLiteral("a.mp3"), frames(FrameSpec{}, 3) + id3v1Tag(tag));
    const QString b = files.write(QStringLiteral("b b.mp3"), QByteArray(10, 0));
    const CliRun r = cli({QStringLiteral("info"), a, b});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const QStringList blocks = r.out.split(QStringLiteral("\n\n"));
    ASSERT_EQ(blocks.size(), 2);
    const QStringList first = blocks.at(0).split(QLatin1Char('\n'));
    EXPECT_EQ(first.size(), 25);
    EXPECT_EQ(first.at(0), QStringLiteral("FullName: ") + a);
    EXPECT_TRUE(first.contains(QStringLiteral("BitRate: 128")));
    EXPECT_TRUE(first.contains(QStringLiteral("ChannelMode: Joint Stereo")));
    EXPECT_TRUE(first.contains(QStringLiteral("CRCPresent: False")));
    EXPECT_TRUE(first.contains(QStringLiteral("TotalFrames: 3")));
    EXPECT_TRUE(first.contains(QStringLiteral("Title: Song")));
    EXPECT_TRUE(first.contains(QStringLiteral("Genre: Rock")));
    EXPECT_TRUE(first.contains(QStringLiteral("FileAttributes: Normal")));
    EXPECT_TRUE(blocks.at(1).contains(QStringLiteral("ValidHeader: False\n")));
    EXPECT_TRUE(blocks.at(1).contains(QStringLiteral("PlayTime: -1\n")));
}

TEST(Cli, AMissingFileIsReportedAndTheOthersStillPrinted)
{
    TempFiles files;
    const QString a = files.write(QStringLiteral("a.mp3"), frames(FrameSpec{}, 3));
    const CliRun r = cli({QStringLiteral("info"), files.path(QStringLiteral("none.mp3")), a});
    EXPECT_NE(r.status, 0);
    EXPECT_TRUE(r.err.contains(QStringLiteral("none.mp3")));
    EXPECT_TRUE(r.out.startsWith(QStringLiteral("FullName: ") + a));
}

TEST(Cli, TagUntagAndRename)
{
    TempFiles files;
    const QString a = files.write(QStringLiteral("a.mp3"), frames(FrameSpec{}, 3));
    CliRun r = cli({QStringLiteral("tag"), a, QStringLiteral("--title"), QStringLiteral("Song"),
                 QStringLiteral("--artist"), QStringLiteral("Artist"), QStringLiteral("--genre"),
                 QStringLiteral("136")});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    r = cli({QStringLiteral("info"), a});
    EXPECT_TRUE(r.out.contains(QStringLiteral("\nTitle: Song\nArtist: Artist\n")));
    EXPECT_TRUE(r.out.contains(QStringLiteral("\nGenre: Christian Gangsta Rap\n")));

    files.write(QStringLiteral("Artist - Song.mp3"), QByteArray("taken"));
    r = cli({QStringLiteral("rename"), a, QStringLiteral("%a - %n")});
    EXPECT_NE(r.status, 0);
    EXPECT_FALSE(r.err.isEmpty());
    r = cli({QStringLiteral("rename"), a, QStringLiteral("%n by %a")});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const QString renamed = files.path(QStringLiteral("Song by Artist.mp3"));
    EXPECT_EQ(r.out.trimmed(), renamed);

    r = cli({QStringLiteral("untag"), renamed});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(TempFiles::read(renamed), frames(FrameSpec{}, 3));
    r = cli({QStringLiteral("rename"), renamed, QStringLiteral("%n")});
    EXPECT_NE(r.status, 0) << "no tag to take the name from";
}

TEST(Cli, BadUsageAndFailedWrites)
{
    EXPECT_EQ(cli({}).status, 2);
    EXPECT_EQ(cli({QStringLiteral("frobnicate")}).status, 2);
    EXPECT_EQ(cli({QStringLiteral("info")}).status, 2);
    EXPECT_EQ(cli({QStringLiteral("tag"), QStringLiteral("x.mp3"), QStringLiteral("--bogus"), QStringLiteral("v")}).status, 2);
    TempFiles files;
    const CliRun r = cli({QStringLiteral("tag"), files.path(QStringLiteral("none.mp3")), QStringLiteral("--title"),
                       QStringLiteral("x")});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("none.mp3")));
    EXPECT_EQ(cli({QStringLiteral("untag"), files.path(QStringLiteral("none.mp3"))}).status, 1);
}

TEST(Cli, ScanPrintsLineFormsAndKeepsAList)
{
    TempFiles files;
    QDir().mkpath(files.path(QStringLiteral("music/sub")));
    files.write(QStringLiteral("music/a.mp3"), frames(FrameSpec{}, 3));
    files.write(QStringLiteral("music/sub/b;c.mp3"), frames(FrameSpec{}, 3));
    const QString folder = files.path(QStringLiteral("music"));

    CliRun r = cli({QStringLiteral("scan"), folder});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.out.count(QLatin1Char('\n')), 1) << "one folder only without --recursive";
    EXPECT_TRUE(r.out.startsWith(QStringLiteral("a.mp3;")));

    const QString list = files.path(QStringLiteral("list.svl"));
    r = cli({QStringLiteral("scan"), QStringLiteral("--recursive"), folder, QStringLiteral("--list"), list});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    r = cli({QStringLiteral("scan"), QStringLiteral("--recursive"), folder, QStringLiteral("--list"), list});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    r = cli({QStringLiteral("list"), list});
    ASSERT_EQ(r.status, 0);
    const QStringList lines = r.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2) << "a second scan into the list updates its folders";
    EXPECT_TRUE(lines.at(1).startsWith(QStringLiteral("b\x01sc.mp3;")));

    EXPECT_EQ(cli({QStringLiteral("scan"), files.path(QStringLiteral("none"))}).status, 1);
    EXPECT_EQ(cli({QStringLiteral("list"), files.path(QStringLiteral("none.svl"))}).status, 1);
    EXPECT_EQ(cli({QStringLiteral("scan")}).status, 2);
}

TEST(Cli, PlayPrintsLengthAndPositionAsEachFileEndsAndGoesPastBadOnes)
{
    TempFiles files;
    // 20 frames of 1152 samples at 44.1 kHz, less the decoder's delay of 529 samples: 510 ms.
    FrameSpec spec;
    const QString song = files.write(QStringLiteral("a b.mp3"), xingFrame(spec, 20) + frames(spec, 20));
    const QString text = files.write(QStringLiteral("text.mp3"), QByteArray("no audio here\n").repeated(100));
    const QString missing = files.path(QStringLiteral("none.mp3"));
    const CliRun r = cli({QStringLiteral("play"), QStringLiteral("--output"), QStringLiteral("null"), missing, song,
                          text, song});
    EXPECT_NE(r.status, 0);
    EXPECT_EQ(r.out, (song + QStringLiteral("\t510\t510\n")).repeated(2));
    EXPECT_TRUE(r.err.contains(missing + QStringLiteral(": Errore nel file di input")));
    EXPECT_TRUE(r.err.contains(text + QStringLiteral(": ")));
    EXPECT_EQ(cli({QStringLiteral("play"), QStringLiteral("--output"), QStringLiteral("loud"), song}).status, 2);
}
