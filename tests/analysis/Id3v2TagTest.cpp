#include "analysis/Id3v2Tag.h"
#include "tests/support/Mp3Builder.h"

#include <QStringList>
#include <gtest/gtest.h>

using namespace sonivo;
using namespace sonivo::test;

namespace {

// The bytes in memory, counting what is read of them.
class CountingSource final : public ByteSource {
public:
    explicit CountingSource(QByteArray bytes) : memory_(std::move(bytes)) {}
    qint64 size() const override { return memory_.size(); }
    qint64 readAt(qint64 offset, unsigned char* out, qint64 len) override
    {
        const qint64 n = memory_.readAt(offset, out, len);
        bytesRead += std::max<qint64>(n, 0);
        return n;
    }
    qint64 bytesRead = 0;

private:
    MemoryByteSource memory_;
};

Id3v2Tag read(const QByteArray& bytes)
{
    MemoryByteSource source(bytes);
    return readId3v2(source);
}

QByteArray title(int version, const QByteArray& body)
{
    return id3v2Frame(version, version == 2 ? "TT2" : "TIT2", body);
}

QByteArray audio()
{
    return frames(FrameFields{}, 3);
}

const QString kCyrillic = QString::fromUtf8("Кино — Группа крови");
const QString kGreek = QString::fromUtf8("Μάνος Χατζιδάκις");
const QString kJapanese = QString::fromUtf8("坂本龍一「戦場のメリークリスマス」");
const QString kArabic = QString::fromUtf8("أم كلثوم");

}  // namespace

TEST(Id3v2Tag, EveryVersionAndTextEncodingGivesTheTitleAsWritten)
{
    struct Case {
        int version;
        QByteArray body;
        QString expected;
    };
    const Case cases[] = {
        {2, id3v2Text(0, QString::fromUtf8("Caffè")), QString::fromUtf8("Caffè")},
        {2, id3v2Text(1, kGreek), kGreek},
        {3, id3v2Text(0, QString::fromUtf8("Señor Ñu")), QString::fromUtf8("Señor Ñu")},
        {3, id3v2Text(1, kCyrillic), kCyrillic},
        {3, id3v2Text(1, kJapanese, true), kJapanese},
        {4, id3v2Text(2, kJapanese), kJapanese},
        {4, id3v2Text(3, kArabic), kArabic},
        {4, id3v2Text(3, kCyrillic) + '\0' + "Second value", kCyrillic},
        {4, id3v2Text(1, kGreek) + QByteArray("\0\0", 2) + id3v2Text(1, kArabic).mid(1), kGreek},
    };
    for (const Case& c : cases) {
        const Id3v2Tag tag = read(id3v2TagOf(c.version, title(c.version, c.body), 0, 64) + audio());
        EXPECT_EQ(tag.version, c.version);
        EXPECT_EQ(tag.fields.title, c.expected) << "version " << c.version << ", encoding " << int(c.body[0]);
        EXPECT_FALSE(tag.readFailed);
    }
}

TEST(Id3v2Tag, TheSixFieldsOfEachVersion)
{
    const auto frame = [](int version, const char* v2, const char* v3, const QByteArray& body) {
        return id3v2Frame(version, version == 2 ? v2 : v3, body);
    };
    for (int version : {2, 3, 4}) {
        const QByteArray comment = id3v2Text(1, QString()).left(1) + "ita" + QByteArray("\xFF\xFE\0\0", 4)
            + id3v2Text(1, QStringLiteral("Bello\rseconda riga")).mid(1);
        const QByteArray frames = frame(version, "TP1", "TPE1", id3v2Text(0, QStringLiteral(" Artista ")))
            + frame(version, "TAL", "TALB", id3v2Text(1, QStringLiteral("Album; primo")))
            + frame(version, "TT2", "TIT2", id3v2Text(0, QStringLiteral("Titolo")))
            + frame(version, "TYE", version == 4 ? "TDRC" : "TYER", id3v2Text(0, QStringLiteral("1987-04-12")))
            + frame(version, "TCO", "TCON", id3v2Text(0, QStringLiteral("(17)")))
            + frame(version, "COM", "COMM", comment);
        const Id3v1Fields f = read(id3v2TagOf(version, frames)).fields;
        EXPECT_EQ(QStringList({f.artist, f.album, f.title, f.year, f.genre, f.comment}).join(u'|'),
            QStringLiteral(" Artista |Album; primo|Titolo|%1|Rock|Bello\rseconda riga").arg(QLatin1String(version == 4 ? "1987" : "1987-04-12")))
            << version;
    }
}

TEST(Id3v2Tag, GenreFormsAndTheCommentWithoutADescription)
{
    const std::pair<const char*, const char*> genres[] = {
        {"(17)", "Rock"}, {"17", "Rock"}, {"(8)Jazz", "Jazz"}, {"(9)Qualcosa", "Metal"}, {"Synthwave", "Synthwave"},
        {"(Ambient)", "(Ambient)"}, {"", ""},
    };
    for (const auto& [text, name] : genres) {
        const QByteArray tag = id3v2TagOf(3, id3v2Frame(3, "TCON", id3v2Text(0, QLatin1String(text))));
        EXPECT_EQ(read(tag).fields.genre, QLatin1String(name)) << text;
    }

    const auto comm = [](const QByteArray& description, const QByteArray& text) {
        return id3v2Frame(3, "COMM", QByteArray("\0eng", 4) + description + '\0' + text);
    };
    const QByteArray tag
        = id3v2TagOf(3, comm("iTunNORM", " 0000080C") + comm("", "Il commento") + comm("", "Un altro") + comm("Note", "No"));
    EXPECT_EQ(read(tag).fields.comment, QStringLiteral("Il commento"));
    EXPECT_EQ(read(id3v2TagOf(3, comm("iTunNORM", "x"))).fields.comment, QString());
}

TEST(Id3v2Tag, UnsynchronisationExtendedHeadersFootersAndPlainSizes)
{
    // "ÿ" is the byte FF: unsynchronised, a 00 follows it.
    const QString withFF = QString::fromUtf8("Voilà ÿ fin ÿ");
    const QByteArray rawTitle = id3v2Text(0, withFF);
    QByteArray unsynced = rawTitle;
    unsynced.replace("\xFF", 1, "\xFF\x00", 2);
    ASSERT_NE(unsynced.size(), rawTitle.size());
    const QByteArray filler = id3v2Frame(3, "TXXX", QByteArray(300, 'x'));
    const QByteArray v3Frames = filler + id3v2Frame(3, "TIT2", rawTitle);
    QByteArray v3Unsynced = v3Frames;
    v3Unsynced.replace("\xFF", 1, "\xFF\x00", 2);
    const QByteArray v3Extended = QByteArray("\0\0\0\x06\0\0\0\0\0\0", 10);
    const QByteArray v4Extended = QByteArray("\0\0\0\x06\x01\0", 6);
    const QByteArray v4Filler = id3v2Frame(4, "TXXX", QByteArray(300, 'x'));

    const std::pair<const char*, QByteArray> cases[] = {
        {"2.3, whole tag unsynchronised", id3v2TagOf(3, v3Unsynced, 0x80)},
        {"2.3, extended header", id3v2TagOf(3, v3Extended + v3Frames, 0x40)},
        {"2.4, frame unsynchronised", id3v2TagOf(4, v4Filler + id3v2Frame(4, "TIT2", unsynced, 0x0002))},
        {"2.4, frame unsynchronised with its length", id3v2TagOf(4, id3v2Frame(4, "TIT2", QByteArray("\0\0\0\x0F", 4) + unsynced, 0x0003))},
        {"2.4, every frame unsynchronised", id3v2TagOf(4, id3v2Frame(4, "TIT2", unsynced), 0x80)},
        {"2.4, grouped frame", id3v2TagOf(4, id3v2Frame(4, "TIT2", "\x07" + rawTitle, 0x0040))},
        {"2.4, extended header and footer", id3v2TagOf(4, v4Extended + v4Filler + id3v2Frame(4, "TIT2", rawTitle), 0x50, 20)},
        {"2.4 with plain sizes", id3v2TagOf(4, id3v2Frame(4, "TXXX", QByteArray(300, 'x'), 0, true) + id3v2Frame(4, "TIT2", rawTitle, 0, true), 0, 30)},
        {"2.4 with plain sizes, no padding",
            id3v2TagOf(4, id3v2Frame(4, "TXXX", QByteArray(200, 'x'), 0, true) + id3v2Frame(4, "TIT2", rawTitle, 0, true))},
    };
    for (const auto& [name, tag] : cases)
        EXPECT_EQ(read(tag + audio()).fields.title, withFF) << name;

    const QByteArray compressed = id3v2Frame(3, "TIT2", QByteArray("\0\0\0\x09x\x9c", 6), 0x0080) + id3v2Frame(3, "TPE1", rawTitle);
    const Id3v2Tag tag = read(id3v2TagOf(3, compressed));
    EXPECT_EQ(tag.fields.title, QString()) << "a compressed frame is passed by";
    EXPECT_EQ(tag.fields.artist, withFF);
}

TEST(Id3v2Tag, AFrameNotNeededIsPassedWithoutReadingIt)
{
    for (const int pictureSize : {300 * 1000, 16 * 1024 * 1024}) {
        for (int version : {3, 4}) {
            const QByteArray picture = id3v2Frame(version, "APIC", QByteArray("\0image/jpeg\0\x03\0", 14) + QByteArray(pictureSize, '\xFF'));
            const QByteArray texts = id3v2Frame(version, "TIT2", id3v2Text(3, kJapanese)) + id3v2Frame(version, "TPE1", id3v2Text(0, QStringLiteral("B")));
            CountingSource source(id3v2TagOf(version, picture + texts, 0, 2048) + audio());
            const Id3v2Tag tag = readId3v2(source);
            EXPECT_EQ(tag.fields.title, kJapanese);
            EXPECT_EQ(tag.fields.artist, QStringLiteral("B"));
            EXPECT_LT(source.bytesRead, 16 * 1024) << "picture of " << pictureSize << " bytes, version " << version;
        }
    }
}

TEST(Id3v2Tag, DamagedTagsGiveWhatTheyHoldAndNeverMore)
{
    const QByteArray good = title(3, id3v2Text(0, QStringLiteral("Buono")));
    const QByteArray tenFrames = QByteArray(id3v2Frame(3, "TXXX", "x")).repeated(10);
    QByteArray cutShort = id3v2TagOf(3, good + tenFrames);
    cutShort.chop(25);
    QByteArray oversized = id3v2TagOf(3, id3v2Frame(3, "TPE1", id3v2Text(0, QStringLiteral("Lungo"))) + good);
    oversized[14] = char(0x7F);  // the artist frame claims far more than the tag holds
    QByteArray many;
    for (int i = 0; i < 100000; ++i)
        many += id3v2Frame(3, "TXXX", "");
    struct Case {
        const char* name;
        QByteArray bytes;
        const char* title;
        const char* artist;
    };
    const Case cases[] = {
        {"tag size past the end of the file", cutShort, "Buono", ""},
        {"frame size past the tag", oversized, "", ""},
        {"zero-size frames", id3v2TagOf(3, id3v2Frame(3, "TPE1", "") + id3v2Frame(3, "TIT2", "") + good), "Buono", ""},
        {"unknown encoding", id3v2TagOf(3, title(3, "\x05Strano") + id3v2Frame(3, "TPE1", id3v2Text(0, QStringLiteral("A")))), "", "A"},
        {"odd-length UTF-16", id3v2TagOf(3, title(3, id3v2Text(1, QStringLiteral("Dispari")) + 'Z')), "Dispari", ""},
        {"byte order mark in the middle",
            id3v2TagOf(3, title(3, id3v2Text(1, QStringLiteral("Metà ")) + id3v2Text(1, QStringLiteral("e metà"), true).mid(1))),
            "Metà e metà", ""},
        {"FF 00 at the frame's end", id3v2TagOf(4, id3v2Frame(4, "TIT2", QByteArray("\0Fine\xFF\0", 7), 0x0002)), "Fine\xC3\xBF", ""},
        {"100,000 frames", id3v2TagOf(3, many + good), "Buono", ""},
        {"padding before a frame", id3v2TagOf(3, QByteArray(10, 0) + good), "", ""},
        {"tag after the audio", audio() + id3v2TagOf(3, good), "", ""},
        {"header only", QByteArray("ID3\x03\0\0\0\0", 8), "", ""},
        {"no sync-safe size", QByteArray("ID3\x03\0\0\0\0\x80\0", 10) + good, "", ""},
        {"unknown version", id3v2TagOf(5, good), "", ""},
    };
    for (const Case& c : cases) {
        const Id3v2Tag tag = read(c.bytes);
        EXPECT_EQ(tag.fields.title, QString::fromUtf8(c.title)) << c.name;
        EXPECT_EQ(tag.fields.artist, QString::fromUtf8(c.artist)) << c.name;
        EXPECT_FALSE(tag.readFailed) << c.name;
    }
}
