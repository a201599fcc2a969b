#include "catalogue/FolderNarrowing.h"
#include "catalogue/FolderScan.h"
#include "catalogue/ListFile.h"
#include "tests/support/DocumentParts.h"
#include "tests/support/SongRows.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

using namespace sonivo;
using namespace sonivo::test;

namespace {

SongRecord song(const QString& name, const QString& folder, const QString& cd = {})
{
    SongRecord r = songIn(name, folder, cd);
    r.setColumn(ColSize, QStringLiteral("1.000 KB"));
    r.setColumn(ColDuration, QStringLiteral("03.00"));
    return r;
}

QStringList captions(const std::vector<FolderChoice>& choices)
{
    QStringList out;
    for (const FolderChoice& c : choices)
        out << c.caption;
    return out;
}

const QString kMusic = QStringLiteral("/home/anna/Musica/");
const QString kJazz = QStringLiteral("/home/anna/Jazz/");
const QString kCdRock = QStringLiteral("/media/cdrom/Rock/");
const QString kCdPop = QStringLiteral("/media/cdrom/Pop/");

// Hard-disk folders and the folders of three discs: two of them named ROCK01,
// with the same path, told apart only by their serials.
void fillMixed(Catalogue& c)
{
    c.append(song(QStringLiteral("h1"), kMusic));
    c.append(song(QStringLiteral("r1"), kCdRock, QStringLiteral("ROCK01/1A2B-3C4D")));
    c.append(song(QStringLiteral("h2"), kMusic));
    c.append(song(QStringLiteral("p1"), kCdPop, QStringLiteral("ROCK01/1A2B-3C4D")));
    c.append(song(QStringLiteral("s1"), kCdRock, QStringLiteral("ROCK01/5E6F-7A8B")));
    c.append(song(QStringLiteral("j1"), kJazz));
    c.append(song(QStringLiteral("r2"), kCdRock, QStringLiteral("ROCK01/1A2B-3C4D")));
    c.append(song(QStringLiteral("b1"), kCdRock, QStringLiteral("BLUES/-")));
}

class FolderNarrowingTest : public testing::Test, protected DocumentParts {
protected:
    FolderNarrowing filter{doc};

    // The mixed catalogue, saved and loaded again as the current list.
    QString savedMixedList()
    {
        Catalogue c;
        fillMixed(c);
        const QString list = files.path(QStringLiteral("mixed.svl"));
        EXPECT_TRUE(SalvaLista(list, c).ok);
        EXPECT_TRUE(doc.load(list));
        filter.refresh();
        return list;
    }

    const FolderChoice& choice(const QString& caption)
    {
        for (const FolderChoice& c : filter.choices()) {
            if (c.caption == caption)
                return c;
        }
        ADD_FAILURE() << "no choice " << caption.toStdString();
        return filter.choices().front();
    }
};

}  // namespace

TEST(FolderChoices, OneChoicePerFolderInRowOrderWithCaptionsThatTellApartWhatTheUserMust)
{
    Catalogue c;
    fillMixed(c);
    const std::vector<FolderChoice> choices = folderChoices(c);
    EXPECT_EQ(captions(choices), QStringList({kMusic, kCdRock + QStringLiteral(" (ROCK01/1A2B-3C4D)"), kCdPop + QStringLiteral(" (ROCK01)"),
                                     kCdRock + QStringLiteral(" (ROCK01/5E6F-7A8B)"), kJazz, kCdRock + QStringLiteral(" (BLUES)")}))
        << "each folder of a disc is a choice; two discs that would read the same show their serials";
    QStringList fields;  // folder, disc identifier and disc name of each choice
    for (const FolderChoice& choice : choices)
        fields << choice.folder + u'|' + choice.cdIdentifier + u'|' + choice.cdName;
    EXPECT_EQ(fields.mid(0, 2), QStringList({kMusic + QStringLiteral("||"), kCdRock + QStringLiteral("|ROCK01/1A2B-3C4D|ROCK01")}));
    EXPECT_EQ(fields.value(5), kCdRock + QStringLiteral("|BLUES/-|BLUES"));

    const FolderChoice all = FolderChoice::allSongs();
    EXPECT_TRUE(all.wholeList && all.caption == QStringLiteral("Tutti i brani") && all.cdName == QStringLiteral("Tutti i brani della lista"));

    // No drive is asked: a disc not in the drive keeps its choice. Each case: the
    // rows' folders and discs, and the captions they give.
    const struct {
        std::vector<std::pair<const char*, const char*>> rows;
        QStringList captions;
        const char* why;
    } cases[] = {
        {{{"/x/ (A)", ""}, {"/x/", "A/1A2B"}}, {QStringLiteral("/x/ (A)"), QStringLiteral("/x/ (A/1A2B)")}, "a folder reading as a disc's caption"},
        {{{"/n/", "OLD/0000-0001"}, {"/n/", ""}, {"/n/", "/-"}}, {QStringLiteral("/n/ (OLD)"), QStringLiteral("/n/"), QStringLiteral("/n/ ()")},
            "a disc whose name box was cancelled still has a choice of its own"},
        {{{"/m/Rock/", ""}, {"/m/rock/", ""}, {"/m/Rock/", ""}, {"/cd/", "Disco/1"}, {"/cd/", "disco/1"}},
            {QStringLiteral("/m/Rock/"), QStringLiteral("/m/rock/"), QStringLiteral("/cd/ (Disco)"), QStringLiteral("/cd/ (disco)")},
            "letter case counts"},
        {{}, {}, "no rows, no choices"},
    };
    for (const auto& test : cases) {
        Catalogue rows;
        for (const auto& [folder, cd] : test.rows)
            rows.append(song(QStringLiteral("s"), QString::fromUtf8(folder), QString::fromUtf8(cd)));
        EXPECT_EQ(captions(folderChoices(rows)), test.captions) << test.why;
    }
}

TEST(Catalogue, KeepingOneFolderTakesEveryOtherRowAndNeverEmptiesForAMissingOne)
{
    Catalogue c;
    fillMixed(c);
    c.setChecked(6, true);
    const RowId r2 = c.id(6);
    EXPECT_EQ(c.keepOnlyFolder(kCdRock, QStringLiteral("ROCK01/9999-9999")), 0) << "no row has it";
    EXPECT_EQ(c.keepOnlyFolder(kCdRock.toUpper(), QStringLiteral("ROCK01/1A2B-3C4D")), 0) << "letter case counts";
    EXPECT_EQ(c.size(), 8);
    EXPECT_EQ(c.keepOnlyFolder(kCdRock, QStringLiteral("ROCK01/1A2B-3C4D")), 6);
    EXPECT_EQ(fileNames(c), QStringLiteral("r1,r2")) << "not the other disc's rows of the same path";
    EXPECT_EQ(c.position(r2), 1);
    EXPECT_TRUE(c.isChecked(1));
    EXPECT_FALSE(c.FolderPresent(kMusic, QString()));
    EXPECT_TRUE(c.FolderPresent(kCdRock, QStringLiteral("ROCK01/1A2B-3C4D")));
}

TEST_F(FolderNarrowingTest, SelectingAndTakingOutFolderRowsSetsTheModifiedFlag)
{
    savedMixedList();
    ASSERT_FALSE(doc.isModified());
    EXPECT_EQ(filter.choices().size(), 7u);
    EXPECT_EQ(filter.choices().front(), FolderChoice::allSongs());

    int changes = 0;
    QObject::connect(&filter, &FolderNarrowing::rowsChanged, [&] { ++changes; });
    filter.takeOut(choice(kMusic));
    EXPECT_EQ(fileNames(doc.catalogue()), QStringLiteral("r1,p1,s1,j1,r2,b1"));
    EXPECT_TRUE(doc.isModified());
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(captions(filter.choices()).indexOf(kMusic), -1) << "the choices follow the rows";

    filter.keepOnly(choice(kCdRock + QStringLiteral(" (ROCK01/5E6F-7A8B)")));
    EXPECT_EQ(fileNames(doc.catalogue()), QStringLiteral("s1"));
    EXPECT_EQ(captions(filter.choices()), QStringList({QStringLiteral("Tutti i brani"), kCdRock + QStringLiteral(" (ROCK01)")}))
        << "alone, the disc reads by its name again";
    EXPECT_TRUE(dialogs.notices.isEmpty());
}

TEST_F(FolderNarrowingTest, AFolderNoRowHasChangesNoRowButStillCountsAsAChange)
{
    savedMixedList();
    FolderChoice gone;
    gone.caption = gone.folder = QStringLiteral("/gone/");
    filter.takeOut(gone);
    EXPECT_EQ(doc.catalogue().size(), 8);
    EXPECT_TRUE(doc.isModified());

    doc.setModified(false);
    filter.keepOnly(gone);
    EXPECT_EQ(doc.catalogue().size(), 8) << "a stale choice never empties the catalogue";
    EXPECT_TRUE(doc.isModified());
}

TEST_F(FolderNarrowingTest, RestoringGivesBackExactlyTheRowsOfTheListFile)
{
    const QString list = savedMixedList();
    filter.keepOnly(choice(kJazz));
    doc.catalogue().append(song(QStringLiteral("new"), kJazz));
    ASSERT_EQ(fileNames(doc.catalogue()), QStringLiteral("j1,new"));

    filter.restore();
    EXPECT_EQ(fileNames(doc.catalogue()), QStringLiteral("h1,r1,h2,p1,s1,j1,r2,b1")) << "changes since the last save are gone";
    EXPECT_FALSE(doc.isModified());
    EXPECT_EQ(doc.listPath(), list);
    EXPECT_EQ(filter.choices().size(), 7u);

    filter.takeOut(choice(kJazz));
    filter.keepOnly(FolderChoice::allSongs());
    EXPECT_EQ(doc.catalogue().size(), 8) << "\"Tutti i brani\" restores as well";
    filter.takeOut(choice(kJazz));
    filter.takeOut(FolderChoice::allSongs());
    EXPECT_EQ(doc.catalogue().size(), 8);
    EXPECT_FALSE(doc.isModified());
    EXPECT_TRUE(dialogs.notices.isEmpty());
}

TEST_F(FolderNarrowingTest, AListFileThatCannotBeReadLeavesTheRowsAsTheyAre)
{
    const QString list = savedMixedList();
    filter.takeOut(choice(kMusic));
    const QString before = fileNames(doc.catalogue());

    ASSERT_TRUE(QFile::remove(list));
    filter.restore();
    EXPECT_EQ(fileNames(doc.catalogue()), before) << "a vanished file";
    EXPECT_TRUE(doc.isModified());
    EXPECT_EQ(doc.listPath(), list) << "still the list's file";
    ASSERT_EQ(dialogs.notices.size(), 1);
    EXPECT_TRUE(dialogs.notices[0].startsWith(QStringLiteral("warn: Impossibile leggere la lista \"") + list));
    EXPECT_TRUE(dialogs.notices[0].endsWith(QStringLiteral("La lista attuale non è stata modificata.")));

    // A folder in the file's place: it opens, and reading it fails.
    ASSERT_TRUE(QDir().mkdir(list));
    filter.keepOnly(FolderChoice::allSongs());
    EXPECT_EQ(fileNames(doc.catalogue()), before);
    EXPECT_EQ(dialogs.notices.size(), 2);
}

TEST_F(FolderNarrowingTest, NarrowingRowsNoListFileHoldsAsksTheSavePromptFirst)
{
    const QString prompt = QStringLiteral("La lista dei brani è stata modificata.\nVuoi salvare le modifiche?");
    fillMixed(doc.catalogue());  // scanned, never saved
    doc.setModified(true);
    filter.refresh();
    dialogs.answers = {DesktopDialogs::Answer::Cancel};
    filter.keepOnly(choice(kJazz));
    EXPECT_EQ(doc.catalogue().size(), 8) << "cancel narrows nothing";
    EXPECT_EQ(dialogs.asked, QStringList(prompt));

    // Saved first, the rows left out come back.
    const QString saved = files.path(QStringLiteral("saved.svl"));
    dialogs.answers = {DesktopDialogs::Answer::Yes};
    dialogs.files = {saved};
    filter.keepOnly(choice(kJazz));
    EXPECT_EQ(fileNames(doc.catalogue()), QStringLiteral("j1"));
    EXPECT_EQ(doc.listPath(), saved);
    filter.restore();
    EXPECT_EQ(doc.catalogue().size(), 8);

    // Going on without saving drops the rows left out, as the user chose.
    doc.catalogue().append(song(QStringLiteral("new"), kJazz));
    doc.setModified(true);
    dialogs.answers = {DesktopDialogs::Answer::No};
    filter.keepOnly(choice(kJazz));
    EXPECT_EQ(fileNames(doc.catalogue()), QStringLiteral("j1,new"));
    EXPECT_EQ(dialogs.asked.count(prompt), 3);
    EXPECT_EQ(TempFiles::read(saved).count('\n'), 8) << "the list file stays as it was saved";
}

TEST_F(FolderNarrowingTest, AListNeverSavedIsNotRestoredFromAnotherFile)
{
    // The default list file exists, but it is not this list's.
    qputenv("XDG_DATA_HOME", files.path(QStringLiteral("data")).toUtf8());
    Catalogue other;
    other.append(song(QStringLiteral("other"), kJazz));
    QDir().mkpath(QFileInfo(defaultListFile()).path());
    ASSERT_TRUE(SalvaLista(defaultListFile(), other).ok);

    fillMixed(doc.catalogue());
    doc.setModified(true);
    filter.restore();
    EXPECT_EQ(doc.catalogue().size(), 8);
    EXPECT_TRUE(doc.isModified());
    EXPECT_EQ(dialogs.notices, QStringList(QStringLiteral("inform: La lista completa si può ripristinare solo da un file lista salvato: "
                                                          "questa lista non è ancora stata salvata.")));
    qunsetenv("XDG_DATA_HOME");
}

TEST_F(FolderNarrowingTest, TheChoicesShownAreBuiltAgainWhenAScanEndsAndNotKeptWhenHidden)
{
    const QString folder = files.path(QStringLiteral("songs/"));
    QDir().mkpath(folder);
    ASSERT_TRUE(QFile::copy(QStringLiteral(SONIVO_FIXTURES "/cbr128-44k-joint.mp3"), folder + QStringLiteral("a.mp3")));
    struct : ScanDialogs {
        bool askUpdateFolder(const QString&) override { return true; }
        QString askCdName(const QString& label) override { return label; }
        void scanCounted(qint64) override {}
        void folderProgress(qint64, qint64) override {}
    } answers;
    filter.refresh();  // as the chooser shows them
    int built = 0;
    QObject::connect(&filter, &FolderNarrowing::choicesChanged, [&] { ++built; });
    dialogs.folders.push_back(folder);
    ASSERT_EQ(doc.addFolder(false, answers), 1);
    EXPECT_EQ(built, 1);
    ASSERT_EQ(filter.choices().size(), 2u);
    EXPECT_EQ(filter.choices()[1].folder, doc.catalogue().row(0).text(ColFolder));

    // Once nothing shows them, neither a scan nor a command builds them.
    filter.release();
    EXPECT_EQ(filter.choices(), std::vector<FolderChoice>{FolderChoice::allSongs()});
    dialogs.folders.push_back(folder);
    ASSERT_EQ(doc.addFolder(false, answers), 1) << "the folder read again";
    dialogs.answers.push_back(DesktopDialogs::Answer::No);  // the scanned rows are in no list file: go on
    filter.takeOut(FolderChoice());
    EXPECT_EQ(built, 1);
    EXPECT_EQ(filter.choices().size(), 1u);
    filter.refresh();
    EXPECT_EQ(filter.choices().size(), 2u);
}
