#include "tests/cli/CliRun.h"
#include "tests/support/Mp3Builder.h"
#include "tests/support/TempFiles.h"

#include "common/NativePath.h"

#include <QDir>
#include <QProcess>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace sonivo;
using namespace sonivo::test;

TEST(Cli, InfoPrintsEveryPropertyWithABlankLineBetweenFilesAndGoesPastAMissingOne)
{
    TempFiles files;
    TagFields tag;
    tag.title = "Song";
    tag.genre = 17;
    const QString a = files.write(QStringLiteral("a.mp3"), frames(FrameFields{}, 3) + id3v1Tag(tag));
    const QString b = files.write(QStringLiteral("b b.mp3"), QByteArray(10, 0));
    const CliRun r = cli({QStringLiteral("info"), a, files.path(QStringLiteral("none.mp3")), b});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("none.mp3"))) << r.err.toStdString();
    const QStringList blocks = r.out.split(QStringLiteral("\n\n"));
    ASSERT_EQ(blocks.size(), 2);
    const QStringList first = blocks.at(0).split(QLatin1Char('\n'));
    EXPECT_EQ(first.size(), 32);
    EXPECT_EQ(first.at(0), QStringLiteral("FullName: ") + a);
    for (const char* line : {"BitRate: 128", "ChannelMode: Joint Stereo", "CRCPresent: False", "TotalFrames: 3", "Title: Song",
             "Genre: Rock", "FileAttributes: Normal"})
        EXPECT_TRUE(first.contains(QLatin1String(line))) << line;
    EXPECT_TRUE(blocks.at(1).contains(QStringLiteral("ValidHeader: False\n")));
    EXPECT_TRUE(blocks.at(1).contains(QStringLiteral("PlayTime: -1\n")));
}

TEST(Cli, TagKeepsTheFieldsNotGivenAndRefusesWhatATagCannotHoldThenRenameAndUntagFollowTheTag)
{
    TempFiles files;
    const QString a = files.write(QStringLiteral("a.mp3"), frames(FrameFields{}, 3));
    CliRun r = cli({QStringLiteral("tag"), a, QStringLiteral("--title"), QStringLiteral("Song"), QStringLiteral("--artist"),
        QStringLiteral("Artist"), QStringLiteral("--genre"), QStringLiteral("136")});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    r = cli({QStringLiteral("tag"), a, QStringLiteral("--year"), QStringLiteral("2001")});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    r = cli({QStringLiteral("info"), a});
    EXPECT_TRUE(r.out.contains(QStringLiteral("\nTitle: Song\nArtist: Artist\n")));
    EXPECT_TRUE(r.out.contains(QStringLiteral("\nYear: 2001\n")));
    EXPECT_TRUE(r.out.contains(QStringLiteral("\nGenre: Christian Gangsta Rap\n")));

    const QByteArray before = TempFiles::read(a);
    r = cli({QStringLiteral("tag"), a, QStringLiteral("--title"), QStringLiteral("New"), QStringLiteral("--genre"), QStringLiteral("Rockish")});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("Il genere \"Rockish\" non è nella lista dei generi."))) << r.err.toStdString();
    r = cli({QStringLiteral("tag"), a, QStringLiteral("--artist"), QStringLiteral("\u4e2d")});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("Il campo Artista"))) << r.err.toStdString();
    EXPECT_EQ(TempFiles::read(a), before) << "neither the title nor anything else was written";

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
    EXPECT_EQ(TempFiles::read(renamed), frames(FrameFields{}, 3));
    r = cli({QStringLiteral("rename"), renamed, QStringLiteral("%n")});
    EXPECT_NE(r.status, 0) << "no tag to take the name from";
}

TEST(Cli, BadUsageAndFailedWrites)
{
    for (const QStringList& args : {QStringList{}, QStringList{QStringLiteral("frobnicate")}, QStringList{QStringLiteral("info")},
             QStringList{QStringLiteral("tag"), QStringLiteral("x.mp3"), QStringLiteral("--bogus"), QStringLiteral("v")}})
        EXPECT_EQ(cli(args).status, 2) << args.join(u' ').toStdString();
    TempFiles files;
    const CliRun r = cli({QStringLiteral("tag"), files.path(QStringLiteral("none.mp3")), QStringLiteral("--title"), QStringLiteral("x")});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("none.mp3")));
    EXPECT_EQ(cli({QStringLiteral("untag"), files.path(QStringLiteral("none.mp3"))}).status, 1);
}

TEST(Cli, AFailedWriteSaysWhyAndLeavesTheReadOnlyFileAsItWas)
{
    TempFiles files;
    const QByteArray untagged = frames(FrameFields{}, 3);
    const QByteArray tagged = untagged + id3v1Tag(TagFields{});
    const QString a = files.write(QStringLiteral("a.mp3"), tagged);
    const QString b = files.write(QStringLiteral("b.mp3"), untagged);
    for (const QString& path : {a, b})
        ASSERT_EQ(::chmod(toNativePath(path).constData(), 0444), 0);

    // Another program's lock outlasts the wait.
    const int other = ::open(toNativePath(a).constData(), O_RDONLY | O_CLOEXEC);
    ASSERT_EQ(::flock(other, LOCK_EX), 0);
    CliRun r = cli({QStringLiteral("untag"), a});
    ::close(other);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, QStringLiteral("sonivo-cli: ") + a
            + QStringLiteral(": impossibile togliere il tag, il file è in uso da un altro programma; riprova più tardi\n"));

    // The file size limit leaves no room for a tag.
    const auto limit = [size = rlim_t(untagged.size() + 10)] {
        rlimit l{};
        ::getrlimit(RLIMIT_FSIZE, &l);
        l.rlim_cur = size;
        ::setrlimit(RLIMIT_FSIZE, &l);
    };
    r = cli({QStringLiteral("tag"), b, QStringLiteral("--title"), QStringLiteral("x")}, limit);
    EXPECT_EQ(r.status, 1);
    EXPECT_FALSE(r.err.isEmpty());

    EXPECT_EQ(TempFiles::read(a), tagged);
    EXPECT_EQ(TempFiles::read(b), untagged);
    EXPECT_EQ(permissionsOf(a), 0444u);
    EXPECT_EQ(permissionsOf(b), 0444u);
}

TEST(Cli, ScanPrintsLineFormsAndKeepsAList)
{
    TempFiles files;
    QDir().mkpath(files.path(QStringLiteral("music/sub")));
    files.write(QStringLiteral("music/a.mp3"), frames(FrameFields{}, 3));
    files.write(QStringLiteral("music/sub/b;c.mp3"), frames(FrameFields{}, 3));
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

TEST(Cli, Id3v2TagsAreReadByInfoAndByAScanThatAsksAndCountedByOneThatDoesNot)
{
    TempFiles files;
    QDir().mkpath(files.path(QStringLiteral("music")));
    const QString title = QString::fromUtf8("Песня о тревожной молодости");
    const QString v2 = files.write(QStringLiteral("music/v2.mp3"),
        id3v2TagOf(4, id3v2Frame(4, "TIT2", id3v2Text(3, title)) + id3v2Frame(4, "TCON", id3v2Text(0, QStringLiteral("(8)")))) + frames(FrameFields{}, 3));
    files.write(QStringLiteral("music/plain.mp3"), frames(FrameFields{}, 3));
    const QString folder = files.path(QStringLiteral("music"));

    CliRun r = cli({QStringLiteral("scan"), folder});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_FALSE(r.out.contains(title));
    EXPECT_EQ(r.err.count(QStringLiteral("ID3v2")), 1) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(QStringLiteral("1 file ha soltanto un tag ID3v2")) && r.err.contains(QStringLiteral("--id3v2")))
        << r.err.toStdString();

    r = cli({QStringLiteral("scan"), QStringLiteral("--id3v2"), folder});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(QStringLiteral(";") + title + QStringLiteral(";"))) << r.out.toStdString();
    EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();

    r = cli({QStringLiteral("info"), v2});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const QStringList lines = r.out.split(QLatin1Char('\n'));
    for (const QString& line : {QStringLiteral("Title: "), QStringLiteral("ID3v2: 2.4.0"), QStringLiteral("ID3v2 Titolo: ") + title,
             QStringLiteral("ID3v2 Genere: Jazz")})
        EXPECT_TRUE(lines.contains(line)) << "the ID3v1 fields stay as they are, the ID3v2 ones beside them: " << line.toStdString();
}

TEST(Cli, PipesNamedLikeSongsOrListsNeverHangAndAreNeverPlayed)
{
    TempFiles files;
    QDir().mkpath(files.path(QStringLiteral("music")));
    files.write(QStringLiteral("music/a.mp3"), frames(FrameFields{}, 3));
    const QString pipe = files.path(QStringLiteral("music/pipe.mp3"));
    ASSERT_EQ(::mkfifo(toNativePath(pipe).constData(), 0644), 0);
    const QString list = files.path(QStringLiteral("pipe.svl"));
    ASSERT_EQ(::mkfifo(toNativePath(list).constData(), 0644), 0);

    for (const QStringList& args : {QStringList{QStringLiteral("info"), pipe},
             QStringList{QStringLiteral("tag"), pipe, QStringLiteral("--title"), QStringLiteral("x")},
             QStringList{QStringLiteral("rename"), pipe, QStringLiteral("%n")}, QStringList{QStringLiteral("list"), list},
             QStringList{QStringLiteral("scan"), files.path(QStringLiteral("music")), QStringLiteral("--list"), list}}) {
        const CliRun r = cli(args, {}, 5000);
        EXPECT_EQ(r.status, 1) << args.join(QLatin1Char(' ')).toStdString();
        EXPECT_FALSE(r.err.isEmpty());
    }
    const CliRun r = cli({QStringLiteral("scan"), files.path(QStringLiteral("music"))}, {}, 5000);
    EXPECT_EQ(r.status, 1) << "the pipe is reported";
    EXPECT_TRUE(r.err.contains(QStringLiteral("pipe.mp3")));
    EXPECT_TRUE(r.out.startsWith(QStringLiteral("a.mp3;"))) << "the scan goes on";

    FrameFields shape;
    const QString song = files.write(QStringLiteral("song.mp3"), xingFrame(shape, 20) + frames(shape, 20));
    // Then frames of another sample rate, as random bytes after the audio may look:
    // the decoder cannot give them in the song's format, and says nothing of its own.
    FrameFields other;
    other.sampleRateIndex = 2;  // 32000 Hz
    const QString joined = files.write(QStringLiteral("joined.mp3"), frames(shape, 20) + frames(other, 20) + frames(shape, 5));
    const CliRun play = cli({QStringLiteral("play"), QStringLiteral("--output"), QStringLiteral("null"), pipe, song, joined}, {}, 10000);
    EXPECT_EQ(play.status, 1);
    EXPECT_TRUE(play.out.startsWith(song + QStringLiteral("\t510\t510\n") + joined + QLatin1Char('\t'))) << "the next files play";
    const CliRun info = cli({QStringLiteral("info"), pipe}, {}, 5000);
    EXPECT_EQ(info.err, QStringLiteral("sonivo-cli: ") + pipe + QStringLiteral(": impossibile leggere il file (non è un file regolare)\n"));
    EXPECT_EQ(play.err, info.err) << "refused as the other commands refuse it, and nothing else said: " << play.err.toStdString();
}

TEST(Cli, AListTargetThatIsNoListIsNeverOverwritten)
{
    TempFiles files;
    QDir().mkpath(files.path(QStringLiteral("music")));
    const QByteArray song = frames(FrameFields{}, 3);
    files.write(QStringLiteral("music/a.mp3"), song);
    const QString notAList = files.write(QStringLiteral("song.mp3"), song);
    const QString text = files.write(QStringLiteral("notes.txt"), QByteArray("shopping;list\r\nmilk\r\n"));
    // A list with a damaged line: saving would drop that line.
    const QString damaged = files.write(QStringLiteral("damaged.svl"), QByteArray(21, ';') + "\r\nno;row\r\n");
    for (const QString& target : {notAList, text, damaged}) {
        const QByteArray before = TempFiles::read(target);
        const CliRun r = cli({QStringLiteral("scan"), files.path(QStringLiteral("music")), QStringLiteral("--list"), target});
        EXPECT_EQ(r.status, 1);
        EXPECT_FALSE(r.err.isEmpty());
        EXPECT_EQ(TempFiles::read(target), before);
    }
}

TEST(Cli, PathsThatAreNotUtf8ReachTheFileSystemByteForByte)
{
    // A scan from inside a folder whose name is not UTF-8 into a list whose name is not either.
    TempFiles files;
    const QByteArray folder = toNativePath(files.path(QString())) + "bad\xff" "dir";
    ASSERT_EQ(::mkdir(folder.constData(), 0755), 0);
    ASSERT_EQ(::mkdir((folder + "/sub").constData(), 0755), 0);
    files.write(fromNativePath("bad\xff" "dir/sub/b.mp3"), frames(FrameFields{}, 3));
    CliRun r = cliBytes(folder, {"scan", "sub", "--list", "l\xff.svl"});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(::access((folder + "/l\xff.svl").constData(), F_OK), 0);
    r = cliBytes(folder, {"list", "l\xff.svl"});
    EXPECT_EQ(r.status, 0);
    EXPECT_TRUE(r.out.startsWith(QStringLiteral("b.mp3;"))) << r.out.toStdString();
}

TEST(Cli, PlayPrintsLengthAndPositionAsEachFileEndsAndGoesPastBadOnes)
{
    TempFiles files;
    // 20 frames of 1152 samples at 44.1 kHz, less the decoder's delay of 529 samples: 510 ms.
    FrameFields shape;
    const QString song = files.write(QStringLiteral("a b.mp3"), xingFrame(shape, 20) + frames(shape, 20));
    const QString text = files.write(QStringLiteral("text.mp3"), QByteArray("no audio here\n").repeated(100));
    const QString missing = files.path(QStringLiteral("none.mp3"));
    const CliRun r = cli({QStringLiteral("play"), QStringLiteral("--output"), QStringLiteral("null"), missing, song, text, song});
    EXPECT_NE(r.status, 0);
    EXPECT_EQ(r.out, (song + QStringLiteral("\t510\t510\n")).repeated(2));
    EXPECT_TRUE(r.err.contains(missing + QStringLiteral(": Errore nel file di input")));
    EXPECT_TRUE(r.err.contains(text + QStringLiteral(": ")));
    EXPECT_EQ(cli({QStringLiteral("play"), QStringLiteral("--output"), QStringLiteral("loud"), song}).status, 2);
}

TEST(Cli, APlayerModuleThatCannotBeLoadedFailsThePlayCommandOnly)
{
    // The program copied alone, without its player module beside it.
    TempFiles files;
    const QString alone = files.path(QStringLiteral("sonivo-cli"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(SONIVO_CLI), alone));
    QProcess p;
    p.start(alone, {QStringLiteral("play"), QStringLiteral("--output"), QStringLiteral("null"), files.path(QStringLiteral("x.mp3"))});
    ASSERT_TRUE(p.waitForFinished(30000));
    EXPECT_EQ(p.exitCode(), 1);
    EXPECT_TRUE(QString::fromUtf8(p.readAllStandardError()).contains(QStringLiteral("impossibile caricare il lettore (")));
    p.start(alone, {QStringLiteral("list"), files.path(QStringLiteral("none.svl"))});
    ASSERT_TRUE(p.waitForFinished(30000));
    EXPECT_EQ(p.exitCode(), 1) << "other commands run and report as ever";
    EXPECT_FALSE(QString::fromUtf8(p.readAllStandardError()).contains(QStringLiteral("lettore")));
}

TEST(Cli, WithoutLocksATagIsStillWrittenButNoListIsUpdated)
{
    TempFiles files;
    QDir().mkpath(files.path(QStringLiteral("music")));
    const QString song = files.write(QStringLiteral("music/a.mp3"), frames(FrameFields{}, 3));
    const QString list = files.path(QStringLiteral("kept.svl"));
    ASSERT_EQ(cli({QStringLiteral("scan"), files.path(QStringLiteral("music")), QStringLiteral("--list"), list}).status, 0);
    const QByteArray before = TempFiles::read(list);
    const QString fresh = files.path(QStringLiteral("new.svl"));

    QProcessEnvironment noLocks = QProcessEnvironment::systemEnvironment();
    noLocks.insert(QStringLiteral("LD_PRELOAD"), QStringLiteral(SONIVO_NO_LOCKS));
    noLocks.insert(QStringLiteral("ASAN_OPTIONS"), QStringLiteral("verify_asan_link_order=0"));
    auto run = [&](const QStringList& args) {
        QProcess p;
        p.setProcessEnvironment(noLocks);
        p.start(QStringLiteral(SONIVO_CLI), args);
        EXPECT_TRUE(p.waitForFinished(30000));
        return CliRun{p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
    };
    // A tag write changes only its own 128 bytes at the end: nothing can be lost.
    const CliRun tag = run({QStringLiteral("tag"), song, QStringLiteral("--title"), QStringLiteral("Tk")});
    EXPECT_EQ(tag.status, 0) << tag.err.toStdString();
    EXPECT_TRUE(TempFiles::read(song).right(128).startsWith("TAGTk"));
    // An update could lose another one's rows: refused, saying why.
    for (const QString& target : {list, fresh}) {
        const CliRun scan = run({QStringLiteral("scan"), files.path(QStringLiteral("music")), QStringLiteral("--list"), target});
        EXPECT_EQ(scan.status, 1);
        EXPECT_TRUE(scan.err.startsWith(
            QStringLiteral("sonivo-cli: ") + target + QStringLiteral(": impossibile aggiornare la lista (il file system non permette di bloccare la lista")))
            << scan.err.toStdString();
    }
    EXPECT_EQ(TempFiles::read(list), before);
    EXPECT_FALSE(QFile::exists(fresh)) << "no empty list is left behind";
}
