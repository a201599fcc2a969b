#include "dialogs/frmSearch.h"

#include "common/DesktopDialogs.h"
#include "dialogs/SongNameModels.h"
#include "player/Transport.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>

#include <algorithm>

namespace sonivo {

frmSearch::frmSearch(const Catalogue& catalogue, Transport& transport, DesktopDialogs& dialogs, QWidget* parent)
    : QDialog(parent), transport_(transport), dialogs_(dialogs), search_(catalogue)
{
    setObjectName(QStringLiteral("frmSearch"));
    setWindowTitle(QStringLiteral("Ricerca brani"));
    names_ = new SongNamesModel(catalogue, search_, this);
    filter_ = new FileNameFilterModel(search_, this);
    filter_->setSourceModel(names_);

    auto* label1 = new QLabel(QStringLiteral("Inserire la stringa di ricerca:"));
    label1->setObjectName(QStringLiteral("Label1"));
    text1_ = new QLineEdit;
    text1_->setObjectName(QStringLiteral("Text1"));
    label1->setBuddy(text1_);
    text1_->setAccessibleName(label1->text());
    list1_ = new QListView;
    list1_->setObjectName(QStringLiteral("List1"));
    list1_->setAccessibleName(QStringLiteral("Brani trovati"));
    list1_->setUniformItemSizes(true);  // a million rows are laid out without measuring each
    list1_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list1_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list1_->setModel(filter_);
    command1_ = new QPushButton(QStringLiteral("Aggiungi alla lista"));
    command1_->setObjectName(QStringLiteral("Command1"));
    command2_ = new QPushButton(QStringLiteral("Chiudi"));
    command2_->setObjectName(QStringLiteral("Command2"));
    check1_ = new QCheckBox(QStringLiteral("Svuota playlist precedente (se non spuntato accoda a playlist)"));
    check1_->setObjectName(QStringLiteral("Check1"));

    auto* layout = new QGridLayout(this);
    layout->addWidget(label1, 0, 0, 1, 2);
    layout->addWidget(text1_, 1, 0, 1, 2);
    layout->addWidget(list1_, 2, 0, 1, 2);
    layout->addWidget(check1_, 3, 0, 1, 2);
    layout->addWidget(command1_, 4, 0);
    layout->addWidget(command2_, 4, 1);
    layout->setSizeConstraint(QLayout::SetFixedSize);  // a fixed dialog border
    list1_->setMinimumSize(420, 260);

    connect(text1_, &QLineEdit::textChanged, filter_, &FileNameFilterModel::setFilterText);
    connect(list1_, &QAbstractItemView::doubleClicked, this, &frmSearch::play);
    connect(command1_, &QPushButton::clicked, this, &frmSearch::addSelected);
    connect(command2_, &QPushButton::clicked, this, &QDialog::reject);
}

frmSearch::~frmSearch() = default;

void frmSearch::addSelected()
{
    // Read from the selection's ranges: asking the selection model for its rows
    // costs a pass over every range for each row.
    std::vector<int> selected;
    for (const QItemSelectionRange& range : list1_->selectionModel()->selection())
        for (int r = range.top(); r <= range.bottom(); ++r)
            selected.push_back(r);
    if (selected.empty()) {
        dialogs_.inform(QStringLiteral("Nessun brano selezionato"));
        return;
    }
    std::sort(selected.begin(), selected.end());
    selected.erase(std::unique(selected.begin(), selected.end()), selected.end());
    if (check1_->isChecked())
        transport_.clearQueue();
    std::vector<RowId> rows;
    rows.reserve(selected.size());
    for (int r : selected)
        rows.push_back(filter_->rowId(r));
    transport_.AggiungiLista(rows);
}

void frmSearch::play(const QModelIndex& index)
{
    if (index.isValid())
        transport_.SuonaBrano(filter_->rowId(index.row()));
}

}  // namespace sonivo
