// The tag editor's actions on copies of a fixture song, with the player playing
// through the silent output.

#include "application/TagEditor.h"

#include "common/NativePath.h"
#include "tests/support/PlayingDocument.h"

#include <QFile>
#include <QStringList>
#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace sonivo;
using namespace sonivo::test;

namespace {

class TagEditorTest : public PlayingDocument {
protected:
    TagEditor editor{document, transport, dialogs};

    const SongRecord& rowOf(RowId id) const { return catalogue.row(catalogue.position(id)); }
    // The row's texts in the given columns, joined by '|'.
    QString columns(RowId id, std::initializer_list<Column> which) const
    {
        QStringList texts;
        for (Column c : which)
            texts << rowOf(id).text(c);
        return texts.join(QLatin1Char('|'));
    }
    static TagEdit sample()
    {
        return {QStringLiteral("Xyz"), QStringLiteral("Abc"), QStringLiteral("Album"), QStringLiteral("2001"), QStringLiteral("Note"),
            QStringLiteral("17")};
    }
};

}  // namespace

TEST_F(TagEditorTest, OpensForTheRowWithItsFieldsAndDecidesWhetherItMayChange)
{
    const RowId a = addSong(QStringLiteral("a.mp3"));
    const RowId readOnly = addSong(QStringLiteral("ro.mp3"));
    const RowId missing = addSong(QStringLiteral("gone.mp3"), {}, {}, false);
    PermissionsEnforced enforced;
    ::chmod(toNativePath(files.path(QStringLiteral("ro.mp3"))).constData(), 0444);

    for (const RowId viewOnly : {readOnly, missing}) {
        ASSERT_TRUE(editor.open(viewOnly));
        EXPECT_FALSE(editor.isEditable()) << rowOf(viewOnly).text(ColFileName).toStdString();
    }
    // A writable file in a read-only folder: its tag is written in place, its name stays.
    const QByteArray folder = toNativePath(files.path(QString()));
    ::chmod(folder.constData(), 0555);
    ASSERT_TRUE(editor.open(a));
    EXPECT_TRUE(editor.isEditable());
    EXPECT_EQ(editor.rowFields().genre, QStringLiteral("Typed genre")) << "a genre off the list is shown as it is";
    EXPECT_EQ(editor.fullName(), files.path(QStringLiteral("a.mp3")));
    EXPECT_TRUE(editor.save(sample()));
    EXPECT_EQ(rowOf(a).text(ColTitle), QStringLiteral("Xyz"));
    EXPECT_FALSE(editor.rename(0, QStringLiteral("Abc"), QStringLiteral("Xyz")));
    ::chmod(folder.constData(), 0755);
    ASSERT_EQ(dialogs.notices.size(), 1);
    EXPECT_TRUE(dialogs.notices[0].startsWith(QStringLiteral("critical: Impossibile rinominare il file: ")))
        << dialogs.notices[0].toStdString();
    EXPECT_EQ(rowOf(a).text(ColFileName), QStringLiteral("a.mp3"));

    catalogue.clear();
    EXPECT_FALSE(editor.open(missing)) << "a row that is gone";
    EXPECT_EQ(editor.row(), a) << "and the editor stays with its song";
}

TEST_F(TagEditorTest, RefusedOrFailedWritesSayWhyAndChangeNothing)
{
    const RowId id = addSong(QStringLiteral("song.mp3"));
    const QString path = files.path(QStringLiteral("song.mp3"));
    const QByteArray before = TempFiles::read(path);
    ASSERT_TRUE(editor.open(id));
    TagEdit edit = sample();
    edit.genre = QStringLiteral("Rockish");
    EXPECT_FALSE(editor.save(edit));
    edit = sample();
    edit.title = QStringLiteral("\u4e2d");
    EXPECT_FALSE(editor.save(edit));
    {
        FileSizeLimit limit(rlim_t(before.size()));
        EXPECT_FALSE(editor.save(sample()));
    }
    {
        // The file became read-only after the editor opened.
        PermissionsEnforced enforced;
        ::chmod(toNativePath(path).constData(), 0444);
        EXPECT_FALSE(editor.save(sample()));
        EXPECT_FALSE(editor.removeTag());
        ::chmod(toNativePath(path).constData(), 0644);
    }
    ASSERT_EQ(dialogs.notices.size(), 5);
    EXPECT_EQ(dialogs.notices[0], QStringLiteral("inform: Il genere \"Rockish\" non è nella lista dei generi."));
    EXPECT_TRUE(dialogs.notices[1].startsWith(QStringLiteral("inform: Il campo Titolo contiene caratteri")));
    EXPECT_EQ(dialogs.notices[2],
        QStringLiteral("critical: Impossibile modificare i Tag del file\r\n il file potrebbe essere in esecuzione."));
    EXPECT_EQ(TempFiles::read(path), before);
    EXPECT_EQ(rowOf(id).text(ColGenre), QStringLiteral("Typed genre"));
    EXPECT_FALSE(document.isModified());

    EXPECT_TRUE(editor.save(sample())) << "a failed save does not make the next one fail";
    QFile::remove(path);
    EXPECT_FALSE(editor.save(sample())) << "the file vanished";
    EXPECT_FALSE(clsMP3::FileExists(path));
    EXPECT_EQ(dialogs.notices.size(), 6);
}

TEST_F(TagEditorTest, WithItsRowGoneTheFileIsWrittenAndNoRowTouched)
{
    const RowId id = addSong(QStringLiteral("song.mp3"));
    addSong(QStringLiteral("other.mp3"));
    ASSERT_TRUE(editor.open(id));
    catalogue.setChecked(catalogue.position(id), true);
    catalogue.removeChecked();
    EXPECT_TRUE(editor.save(sample()));
    clsMP3 reread;
    reread.setFullName(editor.fullName());
    ASSERT_EQ(reread.ReadMP3Info(), clsMP3::ReadResult::Done);
    EXPECT_EQ(reread.Title(), QStringLiteral("Xyz"));
    ASSERT_EQ(catalogue.size(), 1);
    EXPECT_EQ(catalogue.row(0).text(ColTitle), QString());
    EXPECT_FALSE(document.isModified());
}

TEST_F(TagEditorTest, SaveAndRemoveWriteTheFileOnceAndTheRowShowsWhatItHolds)
{
    addSong(QStringLiteral("first.mp3"));
    const RowId id = addSong(QStringLiteral("song.mp3"));
    const QByteArray audio = TempFiles::read(files.path(QStringLiteral("song.mp3")));
    ASSERT_TRUE(editor.open(id));
    catalogue.sortBy(ColFileName, false);  // the row moves while the editor is open

    const std::optional<TagEdit> written = editor.save(sample());
    ASSERT_TRUE(written);
    EXPECT_EQ(written->genre, QStringLiteral("Rock")) << "a genre number is shown as its name";
    EXPECT_EQ(columns(id, {ColFileName, ColTitle, ColArtist, ColGenre, ColTagPresent}), QStringLiteral("song.mp3|Xyz|Abc|Rock|True"));
    EXPECT_EQ(rowOf(catalogue.id(1)).text(ColTitle), QString()) << "the other row is untouched";
    EXPECT_TRUE(document.isModified());

    const std::optional<TagEdit> removed = editor.removeTag();
    ASSERT_TRUE(removed);
    EXPECT_EQ(*removed, TagEdit{}) << "not the values saved before in this editor";
    EXPECT_EQ(TempFiles::read(editor.fullName()), audio);
    EXPECT_EQ(columns(id, {ColTitle, ColTagPresent}), QStringLiteral("|False"));
    const std::optional<TagEdit> none = editor.removeTag();
    ASSERT_TRUE(none) << "a file without a tag counts as done";
    EXPECT_EQ(*none, TagEdit{});
    EXPECT_TRUE(dialogs.notices.isEmpty());
}

TEST_F(TagEditorTest, SavingThePlayingSongResumesItAndAnotherSongLeavesThePlayerAlone)
{
    const RowId a = addSong(QStringLiteral("a.mp3"));
    const RowId b = addSong(QStringLiteral("b.mp3"));
    ASSERT_TRUE(editor.open(b));  // opened while nothing plays
    transport.SuonaBrano(b);
    ASSERT_EQ(transport.state(), PlayerState::Playing);
    ASSERT_TRUE(editor.save(sample())) << "the player holds the song now, so it is suspended";
    EXPECT_EQ(transport.state(), PlayerState::Playing);
    EXPECT_EQ(transport.playerFile(), files.path(QStringLiteral("b.mp3")));

    ASSERT_TRUE(editor.open(a));
    ASSERT_TRUE(editor.save(sample()));
    EXPECT_EQ(transport.state(), PlayerState::Playing);
    EXPECT_EQ(transport.playerFile(), files.path(QStringLiteral("b.mp3")));
}

TEST_F(TagEditorTest, ARenameThatCannotHappenSaysWhyAndOneThatDoesTakesTheRowAndThePlayerAlong)
{
    const RowId id = addSong(QStringLiteral("old.mp3"));
    ASSERT_TRUE(editor.open(id));
    EXPECT_FALSE(editor.rename(0, QString(), QStringLiteral("Xyz")));
    EXPECT_EQ(dialogs.notices.value(0), QStringLiteral("inform: Artista e titolo devono essere presenti nel Tag."));
    EXPECT_FALSE(editor.rename(0, QStringLiteral("Abc"), QStringLiteral("Xyz")));
    EXPECT_EQ(dialogs.notices.value(1), QStringLiteral("inform: Il file non ha un Tag da cui prendere il nuovo nome."));

    ASSERT_TRUE(editor.save(sample()));
    files.write(QStringLiteral("Abc - Xyz.mp3"), "taken");
    EXPECT_FALSE(editor.rename(0, QStringLiteral("Abc"), QStringLiteral("Xyz")));
    EXPECT_EQ(dialogs.notices.value(2), QStringLiteral("inform: Nella cartella esiste già un file di nome \"Abc - Xyz.mp3\"."));
    EXPECT_EQ(rowOf(id).text(ColFileName), QStringLiteral("old.mp3"));
    EXPECT_EQ(TempFiles::read(files.path(QStringLiteral("Abc - Xyz.mp3"))), QByteArray("taken"));

    transport.SuonaBrano(id);
    ASSERT_EQ(transport.state(), PlayerState::Playing);
    const std::optional<QString> name = editor.rename(2, QStringLiteral("Abc"), QStringLiteral("Xyz"));
    ASSERT_TRUE(name);
    EXPECT_EQ(*name, QStringLiteral("(Abc) Xyz.mp3"));
    EXPECT_TRUE(clsMP3::FileExists(files.path(*name)));
    EXPECT_FALSE(clsMP3::FileExists(files.path(QStringLiteral("old.mp3"))));
    EXPECT_EQ(rowOf(id).text(ColFileName), *name);
    EXPECT_EQ(editor.fullName(), files.path(*name));
    EXPECT_EQ(transport.state(), PlayerState::Stopped) << "renaming the playing song stops it";
    EXPECT_EQ(transport.playerFile(), files.path(*name));
    EXPECT_TRUE(document.isModified());
}
