#include "analysis/TagEdit.h"
#include "analysis/clsMP3.h"
#include "tests/support/Analysed.h"
#include "tests/support/Mp3Builder.h"
#include "tests/support/TempFiles.h"

#include <gtest/gtest.h>

using namespace sonivo;
using namespace sonivo::test;

namespace {

class TagEditing : public ::testing::Test {
protected:
    QString song(const QString& name = QStringLiteral("song.mp3"), const QByteArray& tag = {})
    {
        return files.write(name, frames(FrameFields{}, 5) + tag);
    }
    static TagEdit sample()
    {
        return {QStringLiteral("Title"), QStringLiteral("Artist"), QStringLiteral("Album"), QStringLiteral("1999"),
            QStringLiteral("Comment"), QStringLiteral("Rock")};
    }

    TempFiles files;
    const QByteArray audio = frames(FrameFields{}, 5);
};

}  // namespace

TEST_F(TagEditing, SixFieldsAreWrittenInOneTagAndReadBack)
{
    TagFields old;
    old.title = "Old";
    old.genre = 3;
    const QString path = song(QStringLiteral("song.mp3"), id3v1Tag(old));
    clsMP3 mp3 = analysed(path);
    const TagEditResult result = writeTagEdit(mp3, sample());
    ASSERT_TRUE(result.written());
    const QByteArray bytes = TempFiles::read(path);
    ASSERT_EQ(bytes.size(), audio.size() + 128) << "the old tag is overwritten, not appended to";
    EXPECT_EQ(bytes.left(audio.size()), audio) << "only the tag bytes changed";
    EXPECT_EQ(TagEdit::of(analysed(path)), sample());
    EXPECT_EQ(TagEdit::of(mp3), sample()) << "the object holds what the file holds";
    EXPECT_EQ(quint8(bytes.back()), 17);
}

TEST_F(TagEditing, GenreNumbersBecomeNamesAndTextOffTheListIsRefused)
{
    const QString path = song();
    clsMP3 mp3 = analysed(path);
    TagEdit edit = sample();

    edit.genre = QStringLiteral(" 136 ");
    ASSERT_TRUE(writeTagEdit(mp3, edit).written());
    EXPECT_EQ(mp3.Genre(), QStringLiteral("Christian Gangsta Rap"));
    edit.genre = QStringLiteral("200");
    ASSERT_TRUE(writeTagEdit(mp3, edit).written());
    EXPECT_EQ(mp3.Genre(), QStringLiteral("Unknown")) << "what the file now holds";
    for (const char* empty : {"", "Unknown"}) {
        edit.genre = QLatin1String(empty);
        ASSERT_TRUE(writeTagEdit(mp3, edit).written()) << empty;
        EXPECT_EQ(quint8(TempFiles::read(path).back()), 255);
        EXPECT_EQ(analysed(path).Genre(), QStringLiteral("Unknown"));
    }

    const QByteArray before = TempFiles::read(path);
    for (const char* offList : {"Rockish", "rock", "256", "-1"}) {
        edit.genre = QLatin1String(offList);
        const TagEditResult refused = writeTagEdit(mp3, edit);
        EXPECT_EQ(refused.status, TagEditStatus::GenreNotInList) << offList;
        EXPECT_EQ(refusalText(refused), QStringLiteral("Il genere \"%1\" non è nella lista dei generi.").arg(QLatin1String(offList)));
    }
    EXPECT_EQ(TempFiles::read(path), before) << "a refused edit writes nothing";
}

TEST_F(TagEditing, CharactersTheCodePageLacksAreRefusedNamingTheField)
{
    const QString path = song();
    clsMP3 mp3 = analysed(path);
    TagEdit edit = sample();
    edit.album = QStringLiteral("Caf\u00e9 \u20ac ok");  // both in Windows-1252
    EXPECT_TRUE(checkTagEdit(edit).written());
    edit.comment = QStringLiteral("\u4e2d\u6587 \u4e2d \U0001F3B5");
    const TagEditResult refused = writeTagEdit(mp3, edit);
    EXPECT_EQ(refused.status, TagEditStatus::TextOutsideCodePage);
    EXPECT_EQ(refused.field, QStringLiteral("Commento"));
    EXPECT_EQ(refused.offending, QStringLiteral("\u4e2d\u6587\U0001F3B5")) << "each character once";
    EXPECT_EQ(refusalText(refused),
        QStringLiteral("Il campo Commento contiene caratteri che un Tag MP3 non può contenere: \u4e2d\u6587\U0001F3B5"));
    EXPECT_EQ(TempFiles::read(path), audio) << "nothing written, no \"?\" in their place";
}

TEST_F(TagEditing, AFailedWriteLeavesTheFileAndTheObjectAsTheyWereAndTheNextSaveWorks)
{
    const QString path = song();
    clsMP3 mp3 = analysed(path);
    {
        // The file may not grow: its tag cannot be appended.
        FileSizeLimit limit(rlim_t(audio.size() + 10));
        EXPECT_EQ(writeTagEdit(mp3, sample()).status, TagEditStatus::WriteFailed);
    }
    EXPECT_EQ(TempFiles::read(path), audio);
    EXPECT_EQ(TagEdit::of(mp3), TagEdit{});
    EXPECT_FALSE(mp3.TagPresent());
    EXPECT_TRUE(writeTagEdit(mp3, sample()).written()) << "an earlier failure does not make this one fail";
    EXPECT_EQ(TagEdit::of(analysed(path)), sample());
}

TEST_F(TagEditing, AVanishedFileIsReportedAndNotCreated)
{
    const QString path = song();
    clsMP3 mp3 = analysed(path);
    QFile::remove(path);
    EXPECT_EQ(writeTagEdit(mp3, sample()).status, TagEditStatus::FileMissing);
    EXPECT_FALSE(clsMP3::FileExists(path));
}

TEST_F(TagEditing, RenameWithEachArrangement)
{
    TagFields tag;
    tag.artist = "Abc";
    tag.title = "Xyz";
    const char* expected[] = {"Abc - Xyz.mp3", "Abc Xyz.mp3", "(Abc) Xyz.mp3", "Xyz - Abc.mp3", "Xyz Abc.mp3", "Xyz (Abc).mp3"};
    for (size_t k = 0; k < 6; ++k) {
        const QString path = song(QStringLiteral("old%1.mp3").arg(k), id3v1Tag(tag));
        clsMP3 mp3 = analysed(path);
        const RenameOutcome outcome = mp3.Rename(QLatin1String(renameArrangements()[k].pattern));
        ASSERT_EQ(outcome.status, RenameStatus::Renamed) << k;
        EXPECT_EQ(mp3.Filename(), QLatin1String(expected[k]));
        EXPECT_TRUE(clsMP3::FileExists(files.path(QLatin1String(expected[k]))));
        EXPECT_FALSE(clsMP3::FileExists(path));
        QFile::remove(files.path(QLatin1String(expected[k])));
    }
}

TEST_F(TagEditing, RenameSaysWhyItDidNotHappen)
{
    TagFields tag;
    tag.artist = "Abc";
    tag.title = "Xyz";
    const QString path = song(QStringLiteral("old.mp3"), id3v1Tag(tag));
    files.write(QStringLiteral("Abc - Xyz.mp3"), "other");
    clsMP3 mp3 = analysed(path);
    const RenameOutcome outcome = mp3.Rename(QStringLiteral("%a - %n"));
    EXPECT_EQ(outcome.status, RenameStatus::NameTaken);
    EXPECT_EQ(outcome.name, QStringLiteral("Abc - Xyz.mp3"));
    EXPECT_EQ(TempFiles::read(files.path(QStringLiteral("Abc - Xyz.mp3"))), QByteArray("other"));
    EXPECT_EQ(mp3.RenameFile(QStringLiteral("%a - %n")), -1);

    EXPECT_EQ(mp3.Rename(QString(300, QLatin1Char('x'))).status, RenameStatus::NameRefused) << "over-long";
    EXPECT_EQ(mp3.Filename(), QStringLiteral("old.mp3"));

    QFile::remove(path);
    EXPECT_EQ(mp3.Rename(QStringLiteral("%n")).status, RenameStatus::FileMissing);
}

TEST_F(TagEditing, NamesMadeOfNothingButBlanksAndDotsAreRefused)
{
    TagFields tag;
    tag.artist = "?*";
    tag.title = "..";
    clsMP3 mp3 = analysed(song(QStringLiteral("old.mp3"), id3v1Tag(tag)));
    for (const char* pattern : {"%a %a", "%n", ".", "%a.%n"})
        EXPECT_EQ(mp3.Rename(QLatin1String(pattern)).status, RenameStatus::NameRefused) << pattern;
    EXPECT_TRUE(clsMP3::FileExists(files.path(QStringLiteral("old.mp3"))));
    EXPECT_FALSE(isUsableFileName(QStringLiteral(".mp3")));
    EXPECT_FALSE(isUsableFileName(QStringLiteral(" . .mp3")));
    EXPECT_TRUE(isUsableFileName(QStringLiteral(".a.mp3")));
    EXPECT_TRUE(isUsableFileName(QString(251, QLatin1Char('x')) + QStringLiteral(".mp3")));
    EXPECT_FALSE(isUsableFileName(QString(126, QChar(0xE9)) + QStringLiteral(".mp3"))) << "256 bytes in UTF-8";
}
