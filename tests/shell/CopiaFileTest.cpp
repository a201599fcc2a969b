#include "shell/CopiaFile.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/TempFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <dlfcn.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace sonivo;
using namespace sonivo::test;
using Answer = DesktopDialogs::Answer;

namespace {

// While set, this program stands on a file system that can neither rename
// without replacing nor make hard links, as exFAT, FAT and many FUSE ones.
bool withoutHardLinks = false;

template <typename Function>
Function* realFunction(const char* name)
{
    return reinterpret_cast<Function*>(::dlsym(RTLD_NEXT, name));
}

class NoHardLinks {
public:
    NoHardLinks() { withoutHardLinks = true; }
    ~NoHardLinks() { withoutHardLinks = false; }
    NoHardLinks(const NoHardLinks&) = delete;
    NoHardLinks& operator=(const NoHardLinks&) = delete;
};

}  // namespace

extern "C" int renameat2(int fromFolder, const char* from, int toFolder, const char* to, unsigned flags) noexcept
{
    if (withoutHardLinks && (flags & RENAME_NOREPLACE) != 0) {
        errno = EINVAL;
        return -1;
    }
    static auto* const real = realFunction<int(int, const char*, int, const char*, unsigned)>("renameat2");
    return real(fromFolder, from, toFolder, to, flags);
}

extern "C" int link(const char* from, const char* to) noexcept
{
    if (withoutHardLinks) {
        errno = EPERM;
        return -1;
    }
    static auto* const real = realFunction<int(const char*, const char*)>("link");
    return real(from, to);
}

namespace {

class CopiaFileTest : public testing::Test {
protected:
    void SetUp() override
    {
        QDir().mkpath(files.path(QStringLiteral("a")));
        QDir().mkpath(files.path(QStringLiteral("b")));
        QDir().mkpath(dest());
    }

    QString song(const QString& name, const QByteArray& bytes) { return files.write(name, bytes); }
    QString dest() const { return files.path(QStringLiteral("dest")); }
    QStringList destNames() const { return QDir(dest()).entryList(QDir::Files | QDir::Hidden); }

    CopyOutcome copy(const QStringList& sources, const QString& folder)
    {
        CopiaFile copier(dialogs, [this](const CopyProgress& p) {
            if (seen.isEmpty() || seen.last() != p.name)
                seen << p.name;
            lastDone = p.bytesDone;
            total = p.bytesTotal;
            return onProgress ? onProgress(p) : true;
        });
        return copier.copy(sources, folder);
    }

    TempFiles files;
    ScriptedDialogs dialogs;
    QStringList seen;  // the names the progress told, in order
    qint64 lastDone = 0;
    qint64 total = 0;
    std::function<bool(const CopyProgress&)> onProgress;
};

TEST_F(CopiaFileTest, TheQueuedFilesThatExistAreCopiedInQueueOrderWithTheirNamesAndDates)
{
    const QString one = song(QStringLiteral("a/z first.mp3"), QByteArray(3000, 'z'));
    const QString gone = files.path(QStringLiteral("a/deleted.mp3"));
    const QString two = song(QStringLiteral("b/a second.mp3"), QByteArray(5000, 'a'));
    QFile dated(one);
    ASSERT_TRUE(dated.open(QIODevice::ReadWrite));
    ASSERT_TRUE(dated.setFileTime(QDateTime(QDate(2001, 2, 3), QTime(4, 5, 6)), QFileDevice::FileModificationTime));
    dated.close();

    const CopyOutcome outcome = copy({one, gone, two}, dest());

    EXPECT_EQ(outcome.copied, QStringList({dest() + QStringLiteral("/z first.mp3"), dest() + QStringLiteral("/a second.mp3")}));
    EXPECT_EQ(seen, QStringList({QStringLiteral("z first.mp3"), QStringLiteral("a second.mp3")}));
    EXPECT_EQ(TempFiles::read(outcome.copied[0]), QByteArray(3000, 'z'));
    EXPECT_EQ(TempFiles::read(outcome.copied[1]), QByteArray(5000, 'a'));
    EXPECT_EQ(QFileInfo(outcome.copied[0]).lastModified(), QDateTime(QDate(2001, 2, 3), QTime(4, 5, 6)));
    EXPECT_EQ(lastDone, 8000);
    EXPECT_EQ(total, 8000);
    EXPECT_EQ(outcome.notCopied, QStringList(QStringLiteral("deleted.mp3: il file non esiste")));
    EXPECT_EQ(destNames().size(), 2) << "no temporary file left";
    EXPECT_TRUE(dialogs.asked.isEmpty());
    EXPECT_FALSE(outcome.stopped);
}

TEST_F(CopiaFileTest, AQueueOfMissingFilesDoesNothingAndSaysNothing)
{
    const CopyOutcome outcome = copy({files.path(QStringLiteral("a/x.mp3")), files.path(QStringLiteral("b/y.mp3"))}, dest());
    EXPECT_TRUE(outcome.copied.isEmpty());
    EXPECT_EQ(notCopiedMessage(outcome), QString());
    EXPECT_TRUE(seen.isEmpty());
    EXPECT_EQ(notCopiedMessage(copy({}, dest())), QString());
}

TEST_F(CopiaFileTest, AFileAlreadyThereIsReplacedOnlyWhenTheUserSaysSo)
{
    const QString one = song(QStringLiteral("a/1.mp3"), "new 1");
    const QString two = song(QStringLiteral("a/2.mp3"), "new 2");
    const QString three = song(QStringLiteral("a/3.mp3"), "new 3");
    for (const char* name : {"dest/1.mp3", "dest/2.mp3", "dest/3.mp3"})
        files.write(QString::fromLatin1(name), "old");

    dialogs.answers = {Answer::No, Answer::YesToAll};
    const CopyOutcome outcome = copy({one, two, three}, dest());

    EXPECT_EQ(dialogs.asked.size(), 2) << "\"Sì a tutti\" answers for the third file";
    EXPECT_EQ(dialogs.asked.value(0), QStringLiteral("Il file 1.mp3 esiste già in %1/.\nSostituirlo?").arg(dest()));
    EXPECT_EQ(TempFiles::read(dest() + QStringLiteral("/1.mp3")), "old");
    EXPECT_EQ(TempFiles::read(dest() + QStringLiteral("/2.mp3")), "new 2");
    EXPECT_EQ(TempFiles::read(dest() + QStringLiteral("/3.mp3")), "new 3");
    EXPECT_EQ(outcome.notCopied, QStringList(QStringLiteral("1.mp3: esiste già e non è stato sostituito")));
    EXPECT_EQ(notCopiedMessage(outcome), QStringLiteral("Questi file non sono stati copiati:\n1.mp3: esiste già e non è stato sostituito"));
}

TEST_F(CopiaFileTest, TwoQueuedSongsOfTheSameNameAskBeforeTheSecondReplacesTheFirst)
{
    const QString first = song(QStringLiteral("a/song.mp3"), "from a");
    const QString second = song(QStringLiteral("b/song.mp3"), "from b");
    dialogs.answers = {Answer::No};
    const CopyOutcome outcome = copy({first, second}, dest());
    ASSERT_EQ(dialogs.asked.size(), 1);
    EXPECT_TRUE(dialogs.asked[0].contains(QStringLiteral("da un altro brano con lo stesso nome")));
    EXPECT_EQ(TempFiles::read(dest() + QStringLiteral("/song.mp3")), "from a");
    EXPECT_EQ(outcome.notCopied.size(), 1);

    // Now the first is there from before: asked as such, then the second as the same name.
    dialogs.answers = {Answer::Yes, Answer::Yes};
    dialogs.asked.clear();
    EXPECT_EQ(copy({first, second}, dest()).notCopied, QStringList());
    ASSERT_EQ(dialogs.asked.size(), 2);
    EXPECT_TRUE(dialogs.asked[0].contains(QStringLiteral("esiste già")));
    EXPECT_TRUE(dialogs.asked[1].contains(QStringLiteral("stesso nome")));
    EXPECT_EQ(TempFiles::read(dest() + QStringLiteral("/song.mp3")), "from b");
}

TEST_F(CopiaFileTest, TheSongsOwnFolderOrTheSameFileThroughALinkIsRefused)
{
    const QString own = song(QStringLiteral("a/mine.mp3"), "precious");
    const CopyOutcome outcome = copy({own}, files.path(QStringLiteral("a/")));
    EXPECT_EQ(outcome.notCopied, QStringList(QStringLiteral("mine.mp3: la destinazione è il file stesso")));
    EXPECT_TRUE(dialogs.asked.isEmpty()) << "no question that could lose the file";
    EXPECT_EQ(TempFiles::read(own), "precious");

    ASSERT_TRUE(QFile::link(files.path(QStringLiteral("a")), files.path(QStringLiteral("link"))));
    EXPECT_EQ(copy({own}, files.path(QStringLiteral("link"))).copied, QStringList());
    EXPECT_EQ(TempFiles::read(own), "precious");
    EXPECT_EQ(QDir(files.path(QStringLiteral("a"))).entryList(QDir::Files | QDir::Hidden), QStringList(QStringLiteral("mine.mp3")));
}

TEST_F(CopiaFileTest, StoppingFinishesTheCurrentFileAndCopiesNoMore)
{
    const QString one = song(QStringLiteral("a/1.mp3"), QByteArray(3 << 20, '1'));
    const QString two = song(QStringLiteral("a/2.mp3"), "2");
    const QString three = song(QStringLiteral("a/3.mp3"), "3");
    onProgress = [](const CopyProgress& p) { return p.bytesDone == 0; };  // Annulla pressed as the first bytes go
    const CopyOutcome outcome = copy({one, two, three}, dest());
    EXPECT_TRUE(outcome.stopped);
    EXPECT_EQ(TempFiles::read(dest() + QStringLiteral("/1.mp3")), QByteArray(3 << 20, '1'));
    EXPECT_EQ(destNames(), QStringList(QStringLiteral("1.mp3")));
    EXPECT_EQ(outcome.notCopied, QStringList({QStringLiteral("2.mp3: copia interrotta"), QStringLiteral("3.mp3: copia interrotta")}));
}

TEST_F(CopiaFileTest, AFailedCopyLeavesNoHalfFileAndTheOldOneIntact)
{
    const QString big = song(QStringLiteral("a/big.mp3"), QByteArray(200000, 'b'));
    files.write(QStringLiteral("dest/big.mp3"), "old content");
    dialogs.answers = {Answer::Yes};
    CopyOutcome outcome;
    {
        FileSizeLimit limit(100000);  // the disk fills up half way
        outcome = copy({big}, dest());
    }
    EXPECT_EQ(outcome.notCopied, QStringList(QStringLiteral("big.mp3: il file supera la dimensione consentita")));
    EXPECT_EQ(TempFiles::read(dest() + QStringLiteral("/big.mp3")), "old content");
    EXPECT_EQ(destNames(), QStringList(QStringLiteral("big.mp3")));
}

TEST_F(CopiaFileTest, AReadOnlyOrVanishedFolderIsSaidForEachFile)
{
    const QString one = song(QStringLiteral("a/1.mp3"), "1");
    const QString two = song(QStringLiteral("a/2.mp3"), "2");
    {
        PermissionsEnforced enforced;
        ::chmod(QFile::encodeName(dest()).constData(), 0555);
        const CopyOutcome outcome = copy({one, two}, dest());
        EXPECT_EQ(outcome.notCopied, QStringList({QStringLiteral("1.mp3: permesso negato"), QStringLiteral("2.mp3: permesso negato")}));
        ::chmod(QFile::encodeName(dest()).constData(), 0755);
    }
    // The folder goes while the first file is copied.
    onProgress = [this](const CopyProgress& p) {
        if (p.file == 0 && p.bytesDone > 0)
            QDir(dest()).removeRecursively();
        return true;
    };
    const CopyOutcome outcome = copy({one, two}, dest());
    EXPECT_EQ(outcome.notCopied,
        QStringList({QStringLiteral("1.mp3: la cartella di destinazione non esiste"), QStringLiteral("2.mp3: la cartella di destinazione non esiste")}));
    EXPECT_FALSE(QFileInfo::exists(dest()));
}

TEST_F(CopiaFileTest, ACopyHasTheSongsPermissionsFromItsFirstByteAndAReplacedFileKeepsItsOwn)
{
    const mode_t oldMask = ::umask(022);
    const QString privateSong = song(QStringLiteral("a/private.mp3"), "mine");
    const QString shared = song(QStringLiteral("a/shared.mp3"), "ours");
    ::chmod(QFile::encodeName(privateSong).constData(), 0600);
    ::chmod(QFile::encodeName(shared).constData(), 0664);
    const QString replaced = files.write(QStringLiteral("dest/shared.mp3"), "theirs");
    ::chmod(QFile::encodeName(replaced).constData(), 0604);
    const bool otherOwner = ignoresPermissions() && ::chown(QFile::encodeName(replaced).constData(), 65534, 65534) == 0;
    std::optional<mode_t> temporaryMode;
    onProgress = [&](const CopyProgress& p) {
        const QStringList parts = QDir(dest()).entryList({QStringLiteral(".sonivo-*")}, QDir::Files | QDir::Hidden);
        if (p.file == 0 && p.bytesDone > 0 && parts.size() == 1)
            temporaryMode = permissionsOf(dest() + QLatin1Char('/') + parts[0]);
        return true;
    };
    dialogs.answers = {Answer::Yes};
    const CopyOutcome outcome = copy({privateSong, shared}, dest());
    ::umask(oldMask);
    ASSERT_EQ(outcome.notCopied, QStringList());
    EXPECT_EQ(temporaryMode, 0600u) << "nobody else may read the song while it is copied";
    EXPECT_EQ(permissionsOf(outcome.copied[0]), 0600u);
    EXPECT_EQ(TempFiles::read(outcome.copied[1]), "ours");
    EXPECT_EQ(permissionsOf(outcome.copied[1]), 0604u) << "as cp keeps the permissions of a file it writes over";
    if (otherOwner) {
        struct stat st {};
        ::stat(QFile::encodeName(outcome.copied[1]).constData(), &st);
        EXPECT_EQ(st.st_uid, 65534u) << "and its owner";
    }
}

TEST_F(CopiaFileTest, ASongWrittenToWhileItIsCopiedIsNotPutInPlace)
{
    const QString growing = song(QStringLiteral("a/live.mp3"), QByteArray(3000, 'l'));
    onProgress = [&](const CopyProgress& p) {
        QFile more(growing);
        if (p.bytesDone > 0 && more.size() == 3000 && more.open(QIODevice::Append))
            more.write("appended");
        return true;
    };
    const CopyOutcome outcome = copy({growing}, dest());
    EXPECT_EQ(outcome.notCopied, QStringList(QStringLiteral("live.mp3: il file è cambiato durante la copia")));
    EXPECT_EQ(destNames(), QStringList()) << "neither the copy nor its temporary file is left";
}

TEST_F(CopiaFileTest, APipeOrAFileGivenAsTheFolderIsSaidForWhatItIs)
{
    const QString pipe = files.path(QStringLiteral("a/pipe.mp3"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0644), 0);
    EXPECT_EQ(copy({pipe}, dest()).notCopied, QStringList(QStringLiteral("pipe.mp3: non è un file regolare")));

    const QString one = song(QStringLiteral("a/1.mp3"), "1");
    EXPECT_EQ(copy({one}, one).notCopied, QStringList(QStringLiteral("1.mp3: la destinazione non è una cartella")));
}

TEST_F(CopiaFileTest, WithoutHardLinksAFileIsStillPutInPlaceButNeverOverOneThatAppeared)
{
    const QString one = song(QStringLiteral("a/1.mp3"), "1");
    const QString two = song(QStringLiteral("a/2.mp3"), "2");
    onProgress = [this](const CopyProgress& p) {
        if (p.bytesDone == p.bytesTotal)  // the second file's bytes are copied
            files.write(QStringLiteral("dest/2.mp3"), "another program's");
        return true;
    };
    NoHardLinks exFat;
    const CopyOutcome outcome = copy({one, two}, dest());
    EXPECT_EQ(outcome.copied, QStringList(dest() + QStringLiteral("/1.mp3")));
    EXPECT_EQ(TempFiles::read(dest() + QStringLiteral("/1.mp3")), "1");
    EXPECT_EQ(outcome.notCopied, QStringList(QStringLiteral("2.mp3: il file esiste già")));
    EXPECT_EQ(TempFiles::read(dest() + QStringLiteral("/2.mp3")), "another program's");
    EXPECT_EQ(destNames(), QStringList({QStringLiteral("1.mp3"), QStringLiteral("2.mp3")}));
}

TEST_F(CopiaFileTest, AFileThatVanishesDuringTheCopyIsSkipped)
{
    const QString one = song(QStringLiteral("a/1.mp3"), "1");
    const QString two = song(QStringLiteral("a/2.mp3"), "2");
    const QString three = song(QStringLiteral("a/3.mp3"), "3");
    onProgress = [&](const CopyProgress& p) {
        if (p.file == 0)
            QFile::remove(two);
        return true;
    };
    const CopyOutcome outcome = copy({one, two, three}, dest());
    EXPECT_EQ(outcome.copied.size(), 2);
    EXPECT_EQ(outcome.notCopied, QStringList(QStringLiteral("2.mp3: file o cartella inesistente")));
}

}  // namespace
