#include "catalogue/Catalogue.h"
#include "tests/support/SongRows.h"

#include <gtest/gtest.h>

#include <map>

using namespace sonivo;

namespace {

SongRecord song(const QString& name, const QString& folder = QStringLiteral("/m/"), const QString& cd = {})
{
    return test::songIn(name, folder, cd);
}

}  // namespace

TEST(Catalogue, CheckAllNoneInvertAndRemoveChecked)
{
    Catalogue c;
    c.uncheckAll();
    c.checkAll();
    EXPECT_TRUE(test::checkedRows(c) == 0 && !c.anyChecked()) << "an empty catalogue stays empty";
    for (const char* n : {"a", "b", "c", "d"})
        c.append(song(QString::fromLatin1(n)));
    c.checkAll();
    EXPECT_EQ(test::checkedRows(c), 4);
    c.setChecked(1, false);
    c.invertChecks();
    EXPECT_EQ(test::checkedRows(c), 1);
    EXPECT_TRUE(c.isChecked(1) && c.anyChecked());
    c.invertChecks();
    c.assignIcons([](const SongRecord&) { return 5u; });
    EXPECT_EQ(c.removeChecked(), 3);
    EXPECT_EQ(test::fileNames(c), QStringLiteral("b"));
    EXPECT_FALSE(c.isChecked(0));
    c.append(song(QStringLiteral("e")));
    EXPECT_FALSE(c.isChecked(1)) << "new rows come unchecked";
    EXPECT_EQ(c.icon(1), 0u);
}

TEST(Catalogue, RowIdentitiesChecksAndIconsFollowTheirRowsAndIdentitiesAreNeverReused)
{
    Catalogue c;
    for (const char* n : {"d", "b", "a", "c"})
        c.append(song(QString::fromLatin1(n)));
    std::map<QString, RowId> ids;
    for (qsizetype i = 0; i < c.size(); ++i)
        ids[c.row(i).text(ColFileName)] = c.id(i);
    EXPECT_EQ(ids.size(), 4u);
    c.setChecked(1, true);
    c.assignIcons([](const SongRecord& r) { return r.text(ColFileName) == QLatin1String("c") ? 7u : 0u; });

    const auto at = [&](const char* name) { return c.position(ids[QString::fromLatin1(name)]); };
    c.sortBy(ColFileName, true);
    EXPECT_EQ(at("a"), 0);
    EXPECT_EQ(at("d"), 3);
    EXPECT_TRUE(test::checkedRows(c) == 1 && c.isChecked(at("b")));
    EXPECT_TRUE(c.icon(at("c")) == 7u && c.icon(at("d")) == 0u);
    c.replaceRow(at("c"), song(QStringLiteral("c2")));
    EXPECT_EQ(c.id(2), ids[QStringLiteral("c")]) << "an edited row keeps its identity";
    EXPECT_EQ(c.removeChecked(), 1);
    EXPECT_EQ(at("b"), Catalogue::kGone) << "a removed row answers gone";
    EXPECT_EQ(at("a"), 0);
    EXPECT_EQ(at("c"), 1);
    EXPECT_EQ(at("d"), 2);

    c.append(song(QStringLiteral("e")));
    EXPECT_GT(c.id(3), ids[QStringLiteral("d")]);
    const RowId last = c.id(3);
    c.clear();
    EXPECT_EQ(c.position(last), Catalogue::kGone);
    c.append(song(QStringLiteral("f")));
    EXPECT_GT(c.id(0), last) << "a fresh set never reuses an identity";
    EXPECT_EQ(c.position(c.id(0)), 0);
    EXPECT_EQ(c.position(0), Catalogue::kGone);
    EXPECT_EQ(c.position(c.id(0) + 1), Catalogue::kGone);
}

namespace {

// Records what a catalogue announces, checking that each change is announced
// before it is made and confirmed after.
class Recorder final : public CatalogueObserver {
public:
    explicit Recorder(const Catalogue& c) : c_(c) {}
    QStringList log;
    qsizetype sizeBefore = -1;

    void rowsAboutToBeReset() override { log << QStringLiteral("reset?"); }
    void rowsReset() override { log << QStringLiteral("reset %1").arg(c_.size()); }
    void rowsAboutToBeAppended(qsizetype first, qsizetype count) override
    {
        EXPECT_EQ(first, c_.size()) << "announced before the rows come";
        log << QStringLiteral("append %1+%2").arg(first).arg(count);
    }
    void rowsAppended() override { log << QStringLiteral("appended %1").arg(c_.size()); }
    void rowsAboutToBeRemoved(qsizetype first, qsizetype last) override
    {
        sizeBefore = c_.size();
        log << QStringLiteral("remove %1-%2").arg(first).arg(last);
    }
    void rowsRemoved() override
    {
        // The play queue looks its rows up when told: each row left is where its
        // identity says, after each run of removed rows and not only at the end.
        for (qsizetype i = 0; i < c_.size(); ++i)
            EXPECT_EQ(c_.position(c_.id(i)), i);
        log << QStringLiteral("removed %1").arg(sizeBefore - c_.size());
    }
    void rowsAboutToBeReordered() override { log << QStringLiteral("reorder?"); }
    void rowsReordered(std::span<const qsizetype> newToOld) override
    {
        QStringList order;
        for (qsizetype p : newToOld)
            order << QString::number(p);
        log << QStringLiteral("reordered ") + order.join(QLatin1Char(','));
    }
    void rowsChanged(qsizetype first, qsizetype last, RowChange what) override
    {
        log << QStringLiteral("changed %1-%2 %3").arg(first).arg(last).arg(int(what));
    }

private:
    const Catalogue& c_;
};

}  // namespace

TEST(Catalogue, EveryChangeIsAnnouncedToTheObserver)
{
    Catalogue c;
    Recorder r(c);
    c.setObserver(&r);
    c.checkAll();
    c.assignIcons([](const SongRecord&) { return 1u; });
    EXPECT_TRUE(r.log.isEmpty()) << "nothing to change in an empty catalogue";

    c.append({song(QStringLiteral("c"), QStringLiteral("/x/")), song(QStringLiteral("a"), QStringLiteral("/x/")),
        song(QStringLiteral("b"), QStringLiteral("/y/"))});
    c.sortBy(ColFileName, true);
    c.setChecked(1, true);
    const std::vector<qsizetype> many{2, 0};
    c.check(many);  // many rows checked at once: one announcement
    EXPECT_EQ(test::checkedRows(c), 3);
    c.uncheckAll();
    c.removeFolder(QStringLiteral("/x/"), QString());
    c.assignIcons([](const SongRecord&) { return 2u; });
    c.clear();
    EXPECT_EQ(r.log,
        QStringList({QStringLiteral("append 0+3"), QStringLiteral("appended 3"), QStringLiteral("reorder?"),
            QStringLiteral("reordered 1,2,0"), QStringLiteral("changed 1-1 0"), QStringLiteral("changed 0-2 0"),
            QStringLiteral("changed 0-2 0"), QStringLiteral("remove 2-2"), QStringLiteral("removed 1"), QStringLiteral("remove 0-0"),
            QStringLiteral("removed 1"), QStringLiteral("changed 0-0 1"),
            QStringLiteral("reset?"), QStringLiteral("reset 0")}));
}

TEST(Catalogue, ManyScatteredRemovalsBecomeOneReset)
{
    Catalogue c;
    std::vector<SongRecord> rows;
    for (int i = 0; i < 1000; ++i)
        rows.push_back(song(QString::number(i)));
    c.append(std::move(rows));
    for (qsizetype i = 0; i < c.size(); i += 2)
        c.setChecked(i, true);
    const RowId kept = c.id(999);
    Recorder r(c);
    c.setObserver(&r);
    EXPECT_EQ(c.removeChecked(), 500);
    EXPECT_EQ(r.log, QStringList({QStringLiteral("reset?"), QStringLiteral("reset 500")}));
    EXPECT_EQ(c.position(kept), 499);
    EXPECT_EQ(c.row(499).text(ColFileName), QStringLiteral("999"));
}

TEST(Catalogue, TheFolderLookupFollowsEveryChangeOfTheRows)
{
    auto songIn = [](const char* folder, const char* cd) { return song(QString(), QString::fromUtf8(folder), QString::fromUtf8(cd)); };
    Catalogue c;
    c.append(songIn("/a/", ""));
    c.append(std::vector<SongRecord>{songIn("/b/", ""), songIn("/b/", "Disc/1234"), songIn("/a/", "")});
    EXPECT_TRUE(c.FolderPresent(QStringLiteral("/a/"), QString()));
    EXPECT_TRUE(c.FolderPresent(QStringLiteral("/b/"), QStringLiteral("Disc/1234")));
    EXPECT_FALSE(c.FolderPresent(QStringLiteral("/c/"), QString()));

    c.sortBy(ColFolder, false);
    c.setChecked(c.size() - 1, true);  // one of the two rows of /a/
    ASSERT_EQ(c.removeChecked(), 1);
    EXPECT_TRUE(c.FolderPresent(QStringLiteral("/a/"), QString())) << "present until its last row goes";
    const std::vector<SongRecord> taken = c.takeFolder(QStringLiteral("/a/"), QString());
    EXPECT_EQ(taken.size(), 1u);
    EXPECT_FALSE(c.FolderPresent(QStringLiteral("/a/"), QString()));
    EXPECT_TRUE(c.FolderPresent(QStringLiteral("/b/"), QString()));

    for (qsizetype i = 0; i < c.size(); ++i)
        c.setChecked(i, c.row(i).isEmpty(ColCdId));
    EXPECT_EQ(c.removeChecked(), 1);
    EXPECT_FALSE(c.FolderPresent(QStringLiteral("/b/"), QString()));
    EXPECT_TRUE(c.FolderPresent(QStringLiteral("/b/"), QStringLiteral("Disc/1234")));

    SongRecord moved = c.row(0);
    moved.setColumn(ColFolder, QStringLiteral("/d/"));
    c.replaceRow(0, moved);  // a row changed in place
    EXPECT_TRUE(c.FolderPresent(QStringLiteral("/d/"), QStringLiteral("Disc/1234")));
    EXPECT_FALSE(c.FolderPresent(QStringLiteral("/b/"), QStringLiteral("Disc/1234")));

    c.append(songIn("/e/", ""));
    c.clear();
    EXPECT_FALSE(c.FolderPresent(QStringLiteral("/e/"), QString()));
}

TEST(Catalogue, LargeSortsMatchAStableSortOfTheFoldedTexts)
{
    // Enough rows for every path of the sort, the one shared with a second thread
    // included: long shared starts, many equal texts (whose rows must keep their
    // order), texts that are starts of others, empty texts, letter case, accents,
    // special foldings, other scripts, U+0000, characters beyond the first plane
    // and lone halves.
    const QList<QString> pieces = {QStringLiteral("/home/user/Musica/"), QStringLiteral("a"), QStringLiteral("A"), QStringLiteral("b"),
        QStringLiteral("ß"), QStringLiteral("SS"), QString(QChar(0)), QStringLiteral("\U0001F600"),
        QStringLiteral("\U0001F601"),  // the same high half
        QStringLiteral("\U00010400"),  // folds to U+10428
        QStringLiteral("\U00010428"), QStringLiteral("\uFFFD"), QStringLiteral("ΣΑΣ"), QString(QChar(0xDC80)), QString(QChar(0xD800)),
        QStringLiteral("É"), QStringLiteral("é"), QStringLiteral("Über"), QStringLiteral("u"), QStringLiteral("µ"), QStringLiteral("μ"),
        QStringLiteral("Ночь"), QStringLiteral("ночь"), QStringLiteral("音楽"), QStringLiteral("10"), QStringLiteral("9"),
        QStringLiteral("ǅ"), QStringLiteral(" !")};
    quint32 seed = 12345;
    const auto next = [&] {
        seed = seed * 1103515245u + 12345u;
        return seed >> 16;
    };
    Catalogue c;
    QStringList texts;
    for (int i = 0; i < 40000; ++i) {
        QString t;
        const int n = int(next() % 9);
        for (int k = 0; k < n; ++k)
            t += pieces.at(int(next() % pieces.size()));
        texts << t;
        SongRecord r = song(t);
        r.setColumn(ColTitle, QString::number(i));
        c.append(std::move(r));
    }
    QStringList folded;
    for (const QString& t : texts)
        folded << t.toCaseFolded();
    for (bool ascending : {true, false, true}) {
        // The rows' current order is the starting order of the reference.
        std::vector<int> expected;
        for (const SongRecord& r : c.rows())
            expected.push_back(r.text(ColTitle).toInt());
        std::stable_sort(expected.begin(), expected.end(), [&](int a, int b) {
            return ascending ? folded.at(a) < folded.at(b) : folded.at(b) < folded.at(a);
        });
        c.sortBy(ColFileName, ascending);
        std::vector<int> got;
        for (const SongRecord& r : c.rows())
            got.push_back(r.text(ColTitle).toInt());
        ASSERT_EQ(got, expected) << ascending;
    }
}

TEST(Catalogue, EachRowsPlaySecondsAndTheTotalsFollowItThroughEveryChange)
{
    // Row k plays k seconds and holds k KB, so that a second left behind by a move shows.
    Catalogue c;
    std::vector<SongRecord> rows;
    for (int k = 0; k < 300; ++k) {
        SongRecord r
            = song(QStringLiteral("%1").arg(299 - k, 3, 10, QLatin1Char('0')), k % 3 ? QStringLiteral("/m/") : QStringLiteral("/n/"));
        r.setColumn(ColDuration, FormatDuration(k));
        r.setColumn(ColSize, QStringLiteral("%1 KB").arg(k));
        rows.push_back(std::move(r));
    }
    c.append(std::move(rows));
    EXPECT_EQ(c.totals().size(QLatin1Char('k')), 299 * 300 / 2);
    auto agrees = [&c] {
        RowTotals recounted;
        for (qsizetype i = 0; i < c.size(); ++i) {
            if (c.playSeconds(i) != playSeconds(c.row(i)))
                return false;
            recounted.add(c.row(i));
        }
        return c.totals().time() == recounted.time() && c.totals().size(QLatin1Char('k')) == recounted.size(QLatin1Char('k'));
    };
    c.sortBy(ColFileName, true);
    EXPECT_TRUE(agrees()) << "after a sort";
    EXPECT_EQ(c.playSeconds(0), 299);
    SongRecord changed = c.row(5);
    changed.setColumn(ColDuration, QStringLiteral("10.00"));
    c.replaceRow(5, changed);
    EXPECT_EQ(c.playSeconds(5), 600);
    EXPECT_TRUE(agrees()) << "after a replace";
    c.setChecked(7, true);
    c.setChecked(8, true);
    c.removeChecked();  // one run of removed rows
    EXPECT_TRUE(agrees()) << "after a removal";
    for (qsizetype i = 0; i < c.size(); i += 2)
        c.setChecked(i, true);
    c.removeChecked();  // too many runs: the rows are compacted
    EXPECT_TRUE(agrees()) << "after a compaction";
    c.removeFolder(QStringLiteral("/n/"), QString());
    EXPECT_TRUE(agrees()) << "after a folder left";
    c.clear();
    EXPECT_EQ(c.totals().time(), QStringLiteral("00:00:00"));
    EXPECT_EQ(c.totals().size(QLatin1Char('k')), 0);
}
