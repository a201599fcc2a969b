#include "dialogs/frmSearch.h"
#include "dialogs/frmSearchTag.h"
#include "tests/dialogs/DialogFixture.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>

using namespace sonivo;
using namespace sonivo::test;

namespace {

class SearchDialogs : public DialogFixture {
protected:
    void SetUp() override
    {
        const char* rows[][3] = {{"Blue.mp3", "Sky", "First"}, {"red.mp3", "sky", "Lower"}, {"BLUE moon.mp3", "Sky", "Second"},
            {"green.mp3", "", "None"}, {"blueish.mp3", "Abc", ""}};
        for (const auto& r : rows)
            ids.push_back(addSong(QLatin1String(r[0]), QLatin1String(r[1]), QLatin1String(r[2]), false));
    }
    static QStringList shown(const QListView* list)
    {
        QStringList all;
        for (int r = 0; r < list->model()->rowCount(); ++r)
            all << list->model()->index(r, 0).data().toString();
        return all;
    }
    static void select(QListView* list, std::initializer_list<int> rows)
    {
        for (int r : rows)
            list->selectionModel()->select(list->model()->index(r, 0), QItemSelectionModel::Select);
    }
    std::vector<RowId> ids;
};

}  // namespace

TEST_F(SearchDialogs, TheSongSearchQueuesTheSongsTypedAndSelectedAndPlaysOnDoubleClick)
{
    frmSearch dialog(catalogue, transport, dialogs);
    auto* list = child<QListView>(dialog, "List1");
    EXPECT_EQ(accessibleName(child<QLineEdit>(dialog, "Text1")), QStringLiteral("Inserire la stringa di ricerca:"));
    EXPECT_EQ(child<QCheckBox>(dialog, "Check1")->text(), QStringLiteral("Svuota playlist precedente (se non spuntato accoda a playlist)"));
    child<QPushButton>(dialog, "Command1")->click();
    EXPECT_EQ(dialogs.notices, QStringList{QStringLiteral("inform: Nessun brano selezionato")});

    transport.AggiungiLista(ids[3]);
    child<QLineEdit>(dialog, "Text1")->setText(QStringLiteral("bLu"));
    EXPECT_EQ(shown(list), (QStringList{QStringLiteral("Blue"), QStringLiteral("BLUE moon"), QStringLiteral("blueish")}));
    select(list, {2, 0});
    child<QPushButton>(dialog, "Command1")->click();
    EXPECT_EQ(transport.queue().entries(), (std::vector<RowId>{ids[3], ids[0], ids[4]})) << "added to the queue, top to bottom";

    list->clearSelection();
    select(list, {1});
    child<QCheckBox>(dialog, "Check1")->setChecked(true);
    child<QPushButton>(dialog, "Command1")->click();
    EXPECT_EQ(transport.queue().entries(), (std::vector<RowId>{ids[2]})) << "the queue emptied first";

    QFile::copy(fixture("tone-3s-8k.mp3"), files.path(QStringLiteral("BLUE moon.mp3")));
    Q_EMIT list->doubleClicked(list->model()->index(1, 0));
    EXPECT_EQ(transport.playerFile(), files.path(QStringLiteral("BLUE moon.mp3")));
    EXPECT_EQ(transport.state(), PlayerState::Playing);
}

TEST_F(SearchDialogs, TheAlbumSearchListsAlbumsWithTheirArtistAndQueuesOne)
{
    frmSearchTag dialog(catalogue, transport, dialogs);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Ricerca per Album"));
    EXPECT_EQ(child<QLabel>(dialog, "Label1_0")->text(), QStringLiteral("Artista:"));
    EXPECT_EQ(child<QLabel>(dialog, "Label1_1")->text(), QStringLiteral("Album:"));
    EXPECT_EQ(child<QPushButton>(dialog, "Command1")->text(), QStringLiteral("Seleziona"));
    EXPECT_EQ(child<QPushButton>(dialog, "Command2")->text(), QStringLiteral("Chiudi"));
    EXPECT_EQ(child<QCheckBox>(dialog, "Check1")->text(), QStringLiteral("Svuota playlist precedente ( se no accoda)"));
    auto* list = child<QListView>(dialog, "List1");
    auto* artist = child<QLabel>(dialog, "Label2");
    EXPECT_EQ(shown(list), (QStringList{QStringLiteral("Sky"), QStringLiteral("sky"), QStringLiteral("Abc")}));
    EXPECT_EQ(accessibleName(list), QStringLiteral("Album"));

    dialog.show();
    EXPECT_EQ(list->currentIndex().row(), 0) << "the first album is selected when the dialog shows";
    EXPECT_EQ(artist->text(), QStringLiteral("First"));
    list->setCurrentIndex(list->model()->index(1, 0));
    EXPECT_EQ(artist->text(), QStringLiteral("Lower"));
    EXPECT_EQ(accessibleName(artist), QStringLiteral("Lower"));
    dialog.hide();
    dialog.show();
    EXPECT_EQ(list->currentIndex().row(), 1) << "not selected again at the next activation";

    transport.AggiungiLista(ids[3]);
    child<QPushButton>(dialog, "Command1")->click();
    EXPECT_EQ(transport.queue().entries(), (std::vector<RowId>{ids[3], ids[1]})) << "only the rows spelled exactly so";
    list->setCurrentIndex(list->model()->index(0, 0));
    child<QCheckBox>(dialog, "Check1")->setChecked(true);
    child<QPushButton>(dialog, "Command1")->click();
    EXPECT_EQ(transport.queue().entries(), (std::vector<RowId>{ids[0], ids[2]}));

    list->clearSelection();
    child<QPushButton>(dialog, "Command1")->click();
    EXPECT_EQ(dialogs.notices, QStringList{QStringLiteral("inform: Nessun album selezionato")});
}
