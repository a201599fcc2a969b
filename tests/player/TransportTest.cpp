// The player's logic without a window: the fixture songs play through the silent
// output on a clock the test moves; the application keeps the queue in step with
// the checks.

#include "tests/support/SilentApp.h"
#include "tests/support/SongRows.h"
#include "tests/support/TempFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <gtest/gtest.h>

using namespace sonivo;
using namespace sonivo::test;

namespace {

class TransportTest : public SilentApp {
protected:
    QStringList notices;
    int songsLoaded = 0;

    void SetUp() override
    {
        QObject::connect(&transport, &Transport::notice, [this](const QString& text) { notices << text; });
        QObject::connect(&transport, &Transport::songChanged, [this] { ++songsLoaded; });
    }

    // A row for a copy of a fixture song named name; with copy false the file is not there.
    RowId addSong(const QString& name, bool copy = true, const char* fixtureName = "tone-3s-8k.mp3")
    {
        catalogue.append(toneRow(files.path(name), copy ? fixtureName : nullptr));
        return catalogue.id(catalogue.size() - 1);
    }

    void check(RowId id, bool on = true) { app.setChecked(catalogue.position(id), on); }

    QString playing() const { return QFileInfo(transport.playerFile()).fileName(); }

    // Runs the current song to its end and lets the tick see it; true once another
    // song plays or the player stopped.
    bool playToEnd()
    {
        const int loaded = songsLoaded;
        clock->advanceMs(3100);
        return eventually([&] {
            transport.tick();
            return songsLoaded != loaded || transport.state() != PlayerState::Playing;
        });
    }
};

}  // namespace

TEST_F(TransportTest, TheSongAfterTheOneThatPlayedIsTheEntryThatFollowsItNow)
{
    const RowId a = addSong(QStringLiteral("a.mp3"));
    const RowId b = addSong(QStringLiteral("b.mp3"));
    const RowId c = addSong(QStringLiteral("c.mp3"));
    const RowId d = addSong(QStringLiteral("d.mp3"));
    for (RowId id : {a, b, c, d})
        check(id);
    transport.selectEntry(1);
    transport.playSelectedEntry();
    ASSERT_EQ(playing(), QStringLiteral("b.mp3"));
    check(a, false);  // an entry before the one playing leaves
    ASSERT_TRUE(playToEnd());
    EXPECT_EQ(playing(), QStringLiteral("c.mp3"));

    // The entry playing leaves: the one that took its place plays next, also when
    // the entries around it change meanwhile.
    check(a);  // the queue is b, c, d, a
    check(c, false);
    check(b, false);
    ASSERT_TRUE(playToEnd());
    EXPECT_EQ(playing(), QStringLiteral("d.mp3"));
    EXPECT_EQ(transport.queue().started(), 0);
}

TEST_F(TransportTest, ASongFromOutsideTheQueueIsFollowedByTheQueuesFirstEntry)
{
    const RowId a = addSong(QStringLiteral("a.mp3"));
    const RowId b = addSong(QStringLiteral("b.mp3"));
    const RowId c = addSong(QStringLiteral("c.mp3"));
    const RowId x = addSong(QStringLiteral("x.mp3"));
    // Some playing from the queue first, so that a position is left over.
    for (RowId id : {a, b, c})
        check(id);
    transport.next();
    transport.next();
    ASSERT_EQ(playing(), QStringLiteral("b.mp3"));
    transport.stop();
    transport.clearQueue();
    EXPECT_EQ(transport.queue().following(), -1);

    transport.rowClicked(x);
    EXPECT_EQ(playing(), QStringLiteral("x.mp3"));
    EXPECT_EQ(transport.state(), PlayerState::Stopped) << "loaded, not played";
    for (RowId id : {c, a, b})
        check(id);
    transport.play();
    ASSERT_EQ(playing(), QStringLiteral("x.mp3"));
    ASSERT_TRUE(playToEnd());
    EXPECT_EQ(playing(), QStringLiteral("c.mp3")) << "the first entry, not one after an old position";

    // The same after a song played from a search while the queue plays.
    transport.SuonaBrano(x);
    ASSERT_TRUE(playToEnd());
    EXPECT_EQ(playing(), QStringLiteral("c.mp3"));
}

TEST_F(TransportTest, AFileThatIsGoneIsNamedAndTheQueueMovesOnOnceRound)
{
    const RowId gone = addSong(QStringLiteral("gone.mp3"), false);
    const RowId b = addSong(QStringLiteral("b.mp3"));
    const RowId folder = addSong(QStringLiteral("folder.mp3"), false);
    QDir().mkpath(files.path(QStringLiteral("folder.mp3")));
    for (RowId id : {gone, b, folder})
        check(id);
    transport.next();
    EXPECT_EQ(playing(), QStringLiteral("b.mp3"));
    EXPECT_EQ(transport.state(), PlayerState::Playing);
    ASSERT_EQ(notices.size(), 1);
    EXPECT_EQ(notices[0], QStringLiteral("File non trovato: ") + files.path(QStringLiteral("gone.mp3")));

    // At the end of b: the folder and the missing file are passed over, b again.
    notices.clear();
    ASSERT_TRUE(playToEnd());
    EXPECT_EQ(playing(), QStringLiteral("b.mp3"));
    EXPECT_EQ(transport.state(), PlayerState::Playing);
    EXPECT_EQ(notices.size(), 2);

    // b goes too: once round, then silence.
    QFile::remove(files.path(QStringLiteral("b.mp3")));
    notices.clear();
    ASSERT_TRUE(playToEnd());
    EXPECT_EQ(transport.state(), PlayerState::Stopped);
    EXPECT_EQ(notices.size(), 3);
}

TEST_F(TransportTest, TheLengthShownIsTheNewSongsFromTheMomentItPlays)
{
    const RowId three = addSong(QStringLiteral("three.mp3"));
    const RowId two = addSong(QStringLiteral("two.mp3"), true, "vbr-2s-8k-no-info.mp3");
    transport.SuonaBrano(three);
    transport.tick();
    ASSERT_EQ(transport.display().length, QStringLiteral("0:03"));
    transport.SuonaBrano(two);
    EXPECT_EQ(transport.display().length, QStringLiteral("0:02")) << "before any tick";
    EXPECT_EQ(transport.display().position, QStringLiteral("00:00"));

    // A file that does not open shows no length at all, not the last one's.
    const RowId broken = addSong(QStringLiteral("broken.mp3"), false);
    files.write(QStringLiteral("broken.mp3"), QByteArray(4000, 'x'));
    transport.SuonaBrano(broken);
    EXPECT_EQ(transport.state(), PlayerState::Stopped);
    EXPECT_EQ(transport.display().length, QStringLiteral("0:00"));
    ASSERT_FALSE(notices.isEmpty());
    EXPECT_TRUE(notices.last().startsWith(files.path(QStringLiteral("broken.mp3")) + QStringLiteral(": ")));
}

TEST_F(TransportTest, RowsAreTakenByIdentityAndQueuedOneOrManyAtATimeWithOneChangeForEachCall)
{
    std::vector<RowId> ids;
    for (const char* name : {"a.mp3", "b.mp3", "c.mp3", "d.mp3", "e.mp3"})
        ids.push_back(addSong(QLatin1String(name)));
    transport.AggiungiLista(ids[4]);
    transport.AggiungiLista(ids[1]);
    transport.selectEntry(1);
    transport.playSelectedEntry();  // b started
    ASSERT_EQ(playing(), QStringLiteral("b.mp3"));
    catalogue.setChecked(catalogue.position(ids[0]), true);  // checked, not yet queued
    catalogue.sortBy(ColFileName, false);
    const RowId gone = 12345;
    const std::vector<RowId> asked{ids[3], ids[2], ids[3], ids[1], gone};

    int queueSignals = 0, checkSignals = 0;
    QObject::connect(&transport, &Transport::queueChanged, [&] { ++queueSignals; });
    QObject::connect(&transport, &Transport::checksChanged, [&] { ++checkSignals; });
    transport.AggiungiLista(asked);
    EXPECT_EQ(transport.queue().entries(), (std::vector<RowId>{ids[4], ids[1], ids[0], ids[3], ids[2]}));
    EXPECT_EQ(test::checkedRows(catalogue), 5);
    EXPECT_EQ(queueSignals, 1);
    EXPECT_EQ(checkSignals, 1);
    EXPECT_TRUE(playToEnd());
    EXPECT_EQ(playing(), QStringLiteral("a.mp3")) << "the song after the started one is the entry that follows it";

    transport.SuonaBrano(ids[2]);
    EXPECT_EQ(transport.loadedRow(), ids[2]);
    transport.clearQueue();
    EXPECT_TRUE(transport.queue().isEmpty());
    EXPECT_EQ(test::checkedRows(catalogue), 0);
}

TEST(TransportSound, WithoutASoundServerTheUserIsToldOnceThatItPlaysWithoutSound)
{
    TempFiles files;
    Catalogue catalogue;
    Transport transport{catalogue, [] {
        return std::make_unique<AudioMediaControl>(AudioOptions{AudioOptions::Output::Unavailable, std::make_shared<ManualClock>()});
    }};
    QStringList notices;
    QObject::connect(&transport, &Transport::notice, [&](const QString& text) { notices << text; });
    for (const char* name : {"a.mp3", "b.mp3"}) {
        catalogue.append(toneRow(files.path(QLatin1String(name))));
        catalogue.setChecked(catalogue.size() - 1, true);
    }
    transport.syncQueue();
    transport.SuonaBrano(catalogue.id(0));
    ASSERT_EQ(transport.state(), PlayerState::Playing);
    transport.SuonaBrano(catalogue.id(1));
    transport.tick();
    EXPECT_EQ(notices, QStringList{QStringLiteral("Riproduzione senza audio: nessuna uscita audio disponibile")});
}
