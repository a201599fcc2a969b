#include "dialogs/frmTag.h"
#include "tests/dialogs/DialogFixture.h"

#include "common/NativePath.h"
#include "tests/support/Mp3Builder.h"

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <sys/stat.h>

using namespace sonivo;
using namespace sonivo::test;

namespace {

class frmTagTest : public DialogFixture {
protected:
    frmTag dialog{document, transport, dialogs};

    QString info(int index) { return child<QLabel>(dialog, QStringLiteral("lblInfo%1").arg(index).toLatin1().constData())->text(); }
    QLineEdit* field(const char* name) { return child<QLineEdit>(dialog, name); }
    QPushButton* button(const char* name) { return child<QPushButton>(dialog, name); }
    QStringList labelTexts()
    {
        QStringList all;
        for (const QLabel* l : dialog.findChildren<QLabel*>())
            all << l->text();
        return all;
    }
};

}  // namespace

TEST_F(frmTagTest, ShowsTheRowWithEveryCaption)
{
    const RowId id = addSong(QStringLiteral("song.mp3"));
    ASSERT_TRUE(dialog.open(id));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("MPEG Informazioni e MP3 IDTag"));
    const QStringList labels = labelTexts();
    for (const char* caption : {"Nome file:", "Cartella:", "Titolo:", "Artista:", "Album:", "Anno:", "Commento:", "Genere:", "Grandezza:",
             "Durata:", "Frames:", "Versione MPEG:", "Bitrate:", "Sample rate:", "CRC:", "Copyright:", "Originale:", "Enfasi:",
             "Tag presente:", "Attributi file:", "Data e ora:", "Tipo file:"})
        EXPECT_TRUE(labels.contains(QString::fromUtf8(caption))) << caption;
    EXPECT_EQ(info(1), QStringLiteral("03.45 (225 secondi)"));
    EXPECT_EQ(info(4), QStringLiteral("128 kb"));
    EXPECT_EQ(info(11), QStringLiteral("MP3 media file"));
    EXPECT_EQ(info(12), QStringLiteral("song.mp3"));
    EXPECT_EQ(info(13), files.path(QString()).chopped(1)) << "the folder without its last character";
    EXPECT_EQ(button("cmdSave")->text(), QStringLiteral("Salva MP3 ID Tag"));
    EXPECT_EQ(button("Command1")->text(), QStringLiteral("Rimuovi Tag"));
    EXPECT_EQ(button("Command2")->text(), QStringLiteral("Rinomina file"));
    EXPECT_EQ(child<QGroupBox>(dialog, "Frame1")->title(), QStringLiteral("MPEG Informazioni"));
    EXPECT_EQ(child<QGroupBox>(dialog, "Frame2")->title(), QStringLiteral("Nuovo nome"));
    QStringList options;
    for (int k = 0; k < 6; ++k)
        options << child<QRadioButton>(dialog, QStringLiteral("Option1_%1").arg(k).toLatin1().constData())->text();
    EXPECT_EQ(options, (QStringList{QStringLiteral("Artista - Titolo"), QStringLiteral("Artista Titolo"), QStringLiteral("(Artista) Titolo"),
                           QStringLiteral("Titolo - Artista"), QStringLiteral("Titolo  Artista"), QStringLiteral("Titolo (Artista)")}));
    EXPECT_TRUE(child<QRadioButton>(dialog, "Option1_0")->isChecked());

    auto* genre = child<QComboBox>(dialog, "cboGenra");
    EXPECT_EQ(genre->count(), 148);
    EXPECT_TRUE(genre->isEditable());
    EXPECT_EQ(genre->currentText(), QStringLiteral("Typed genre")) << "a genre off the list still shows";
}

TEST_F(frmTagTest, FieldsStopAtTheTagWidthsAndAreNamedByTheirCaptions)
{
    ASSERT_TRUE(dialog.open(addSong(QStringLiteral("song.mp3"))));
    const std::pair<const char*, const char*> fields[]
        = {{"txtTitle", "Titolo"}, {"txtArtist", "Artista"}, {"txtAlbum", "Album"}, {"txtYear", "Anno"}, {"txtComment", "Commento"}};
    for (const auto& [name, caption] : fields) {
        QLineEdit* f = field(name);
        f->clear();
        f->insert(QString(40, QLatin1Char('x')));
        EXPECT_EQ(f->text().size(), QLatin1String(name) == QLatin1String("txtYear") ? 4 : 30) << name;
        EXPECT_EQ(accessibleName(f), QLatin1String(caption));
    }
    for (const QLabel* l : dialog.findChildren<QLabel*>()) {
        if (l->text() == QStringLiteral("Genere:")) {
            EXPECT_EQ(l->buddy(), child<QComboBox>(dialog, "cboGenra"));
            EXPECT_EQ(accessibleName(child<QComboBox>(dialog, "cboGenra")->lineEdit()), QStringLiteral("Genere")) << "where it is typed";
        }
    }
    EXPECT_EQ(accessibleName(button("cmdSave")), QStringLiteral("Salva MP3 ID Tag"));
    EXPECT_EQ(accessibleName(child<QLabel>(dialog, "lblInfo1")), QStringLiteral("03.45 (225 secondi)")) << "a value is read as itself";
    dialog.show();
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(field("txtTitle"), &escape);
    EXPECT_FALSE(dialog.isVisible()) << "Escape closes the window from any field";
}

TEST_F(frmTagTest, SaveAndRemoveShowWhatTheFileHolds)
{
    ASSERT_TRUE(dialog.open(addSong(QStringLiteral("song.mp3"))));
    field("txtTitle")->setText(QStringLiteral("Xyz"));
    field("txtArtist")->setText(QStringLiteral("Abc"));
    child<QComboBox>(dialog, "cboGenra")->setEditText(QStringLiteral("17"));
    button("cmdSave")->click();
    EXPECT_EQ(child<QComboBox>(dialog, "cboGenra")->currentText(), QStringLiteral("Rock"));
    EXPECT_EQ(info(14), QStringLiteral("True")) << "the panel shows the row made again";

    child<QRadioButton>(dialog, "Option1_5")->setChecked(true);
    button("Command2")->click();
    EXPECT_EQ(info(12), QStringLiteral("Xyz (Abc).mp3"));

    button("Command1")->click();
    EXPECT_EQ(field("txtTitle")->text(), QString());
    EXPECT_EQ(field("txtArtist")->text(), QString());
    EXPECT_EQ(info(14), QStringLiteral("False"));
    EXPECT_TRUE(dialogs.notices.isEmpty()) << dialogs.notices.join(QLatin1Char('\n')).toStdString();
}

TEST_F(frmTagTest, AFileThatCannotChangeOpensForViewingOnly)
{
    const RowId readOnly = addSong(QStringLiteral("ro.mp3"));
    const RowId writable = addSong(QStringLiteral("rw.mp3"));
    PermissionsEnforced enforced;
    ::chmod(toNativePath(files.path(QStringLiteral("ro.mp3"))).constData(), 0444);
    ASSERT_TRUE(dialog.open(readOnly));
    for (const char* name : {"txtTitle", "txtArtist", "txtAlbum", "txtYear", "txtComment", "cboGenra", "cmdSave", "Command1", "Command2",
             "Frame2", "Option1_3"})
        EXPECT_FALSE(child<QWidget>(dialog, name)->isEnabled()) << name;
    ASSERT_TRUE(dialog.open(writable)) << "opened again, it shows the other song";
    EXPECT_EQ(info(12), QStringLiteral("rw.mp3"));
    EXPECT_EQ(dialog.row(), writable);
    EXPECT_TRUE(field("txtTitle")->isEnabled());
}

TEST_F(frmTagTest, ALongFileNameIsCutToTheLabelWithTheFullNameAsItsTip)
{
    const QString longName = QString(120, QLatin1Char('n')) + QStringLiteral(".mp3");
    ASSERT_TRUE(dialog.open(addSong(longName, {}, {}, false)));
    dialog.show();
    dialog.resize(dialog.minimumSizeHint());
    auto* label = child<QLabel>(dialog, "lblInfo12");
    EXPECT_TRUE(label->text().endsWith(QChar(0x2026))) << label->text().toStdString();
    EXPECT_EQ(label->toolTip(), longName);
    EXPECT_EQ(accessibleName(label), longName);
}

TEST_F(frmTagTest, SaysWhichTagTheFieldsCameFromAndASaveMakesThemAnId3v1Tag)
{
    const QString name = QStringLiteral("v2.mp3");
    files.write(name, id3v2TagOf(4, id3v2Frame(4, "TIT2", id3v2Text(3, QStringLiteral("Uno")))) + frames(FrameFields{}, 3));
    SongRecord r;
    r.setColumn(ColFileName, name);
    r.setColumn(ColFolder, files.path(QString()));
    r.setColumn(ColTitle, QStringLiteral("Uno"));  // as a scan reading ID3v2 tags made it
    r.setColumn(ColTagPresent, QStringLiteral("False"));
    catalogue.append(r);
    ASSERT_TRUE(dialog.open(catalogue.id(catalogue.size() - 1)));
    const QLabel* source = child<QLabel>(dialog, "lblTagSource");
    EXPECT_EQ(source->text(), QStringLiteral("ID3v2.4"));
    EXPECT_EQ(field("txtTitle")->text(), QStringLiteral("Uno"));

    field("txtTitle")->setText(QStringLiteral("Due"));
    button("cmdSave")->click();
    EXPECT_EQ(source->text(), QStringLiteral("ID3v1")) << "the save writes an ID3v1 tag, which the row then shows";
    EXPECT_EQ(catalogue.row(catalogue.size() - 1).text(ColTitle), QStringLiteral("Due"));

    r.setColumn(ColTitle, QString());
    catalogue.append(r);
    ASSERT_TRUE(dialog.open(catalogue.id(catalogue.size() - 1)));
    EXPECT_EQ(source->text(), QStringLiteral("nessuno")) << "a row without tag fields";
}
