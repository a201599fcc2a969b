#include "dialogs/frmFolder.h"
#include "catalogue/FolderNarrowing.h"
#include "catalogue/ListFile.h"
#include "tests/support/DocumentParts.h"
#include "tests/support/KeyboardChoice.h"
#include "tests/support/SongRows.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>

#include <gtest/gtest.h>

using namespace sonivo;
using namespace sonivo::test;

namespace {

QStringList items(const QComboBox* combo)
{
    QStringList out;
    for (int i = 0; i < combo->count(); ++i)
        out << combo->itemText(i);
    return out;
}

class FrmFolderTest : public testing::Test, protected DocumentParts {
protected:
    FolderNarrowing filter{doc};

    void SetUp() override
    {
        Catalogue c;
        c.append(songIn(QStringLiteral("a"), QStringLiteral("/m/Rock/")));
        c.append(songIn(QStringLiteral("b"), QStringLiteral("/media/cdrom/"), QStringLiteral("ROCK01/1A2B-3C4D")));
        c.append(songIn(QStringLiteral("c"), QStringLiteral("/m/Rock/")));
        c.append(songIn(QStringLiteral("d"), QStringLiteral("/m/Jazz/")));
        const QString list = files.path(QStringLiteral("list.svl"));
        ASSERT_TRUE(SalvaLista(list, c).ok);
        ASSERT_TRUE(doc.load(list));
    }

    static void choose(frmFolder& dialog, int index) { chooseByKeyboard(dialog.choiceList(), index); }
};

}  // namespace

TEST_F(FrmFolderTest, OpensWithNoneChosenAndAChoiceShowsItsCdNameAndEnablesTheButtons)
{
    frmFolder dialog(filter);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Ricerca per cartelle"));
    const auto* label = dialog.findChild<QLabel*>(QStringLiteral("Label1"));
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->buddy(), dialog.choiceList());
    EXPECT_EQ(dialog.choiceList()->accessibleName(), QStringLiteral("Seleziona una cartella o CD:"));
    EXPECT_FALSE(dialog.choiceList()->isEditable()) << "a list to choose from, no typing";
    EXPECT_EQ(items(dialog.choiceList()),
        QStringList({QStringLiteral("Tutti i brani"), QStringLiteral("/m/Rock/"), QStringLiteral("/media/cdrom/ (ROCK01)"),
            QStringLiteral("/m/Jazz/")}));
    EXPECT_EQ(dialog.choiceList()->currentIndex(), -1);
    EXPECT_EQ(dialog.cdLabel()->accessibleName(), QStringLiteral("Nessun CD"));
    EXPECT_EQ(dialog.selectButton()->accessibleName(), QStringLiteral("Seleziona cartella"));
    EXPECT_EQ(dialog.removeButton()->accessibleName(), QStringLiteral("Elimina dalla lista"));
    EXPECT_FALSE(dialog.selectButton()->isEnabled());
    EXPECT_FALSE(dialog.removeButton()->isEnabled());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr) << "the busy pointer is gone";

    choose(dialog, 0);
    EXPECT_EQ(dialog.cdLabel()->text(), QStringLiteral("Tutti i brani della lista"));
    EXPECT_TRUE(dialog.selectButton()->isEnabled());
    EXPECT_TRUE(dialog.removeButton()->isEnabled());
    choose(dialog, 2);
    EXPECT_EQ(dialog.cdLabel()->accessibleName(), QStringLiteral("ROCK01"));
    choose(dialog, 3);
    EXPECT_EQ(dialog.cdLabel()->text(), QString()) << "a hard-disk folder has no CD name";
}

TEST_F(FrmFolderTest, StaysOpenWithItsChoicesBuiltAgainAfterEveryCommand)
{
    frmFolder dialog(filter);
    dialog.show();
    int changes = 0;
    QObject::connect(&filter, &FolderNarrowing::rowsChanged, [&] { ++changes; });

    choose(dialog, 1);
    dialog.removeButton()->click();
    EXPECT_EQ(doc.catalogue().size(), 2);
    EXPECT_TRUE(doc.isModified());
    EXPECT_EQ(changes, 1);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(items(dialog.choiceList()),
        QStringList({QStringLiteral("Tutti i brani"), QStringLiteral("/media/cdrom/ (ROCK01)"), QStringLiteral("/m/Jazz/")}));
    EXPECT_EQ(dialog.choiceList()->currentIndex(), -1);
    EXPECT_FALSE(dialog.selectButton()->isEnabled()) << "no choice any more";
    EXPECT_FALSE(dialog.removeButton()->isEnabled());
    EXPECT_EQ(dialog.cdLabel()->text(), QString());

    choose(dialog, 2);
    dialog.selectButton()->click();
    ASSERT_EQ(doc.catalogue().size(), 1);
    EXPECT_EQ(doc.catalogue().row(0).text(ColFileName), QStringLiteral("d"));
    EXPECT_EQ(items(dialog.choiceList()), QStringList({QStringLiteral("Tutti i brani"), QStringLiteral("/m/Jazz/")}));

    choose(dialog, 0);
    dialog.selectButton()->click();
    EXPECT_EQ(doc.catalogue().size(), 4) << "the whole list again";
    EXPECT_FALSE(doc.isModified());
    EXPECT_EQ(dialog.choiceList()->count(), 4);
    EXPECT_EQ(changes, 3);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_TRUE(dialogs.notices.isEmpty());
}
