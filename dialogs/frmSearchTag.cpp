#include "dialogs/frmSearchTag.h"

#include "common/DesktopDialogs.h"
#include "player/Transport.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QStringListModel>

namespace sonivo {

frmSearchTag::frmSearchTag(const Catalogue& catalogue, Transport& transport, DesktopDialogs& dialogs, QWidget* parent)
    : QDialog(parent), transport_(transport), dialogs_(dialogs), albums_(albumsOf(catalogue))
{
    setObjectName(QStringLiteral("frmSearchTag"));
    setWindowTitle(QStringLiteral("Ricerca per Album"));
    QStringList names;
    names.reserve(qsizetype(albums_.size()));
    for (const AlbumEntry& a : albums_)
        names << a.album;
    albumNames_ = new QStringListModel(names, this);

    auto* artistCaption = new QLabel(QStringLiteral("Artista:"));
    artistCaption->setObjectName(QStringLiteral("Label1_0"));
    label2_ = new QLabel;
    label2_->setObjectName(QStringLiteral("Label2"));
    label2_->setAccessibleDescription(artistCaption->text());
    label2_->setAutoFillBackground(true);
    label2_->setFrameShape(QFrame::StyledPanel);
    label2_->setMinimumHeight(label2_->fontMetrics().height() + 8);
    QPalette white = label2_->palette();
    white.setColor(QPalette::Window, Qt::white);
    white.setColor(QPalette::WindowText, Qt::black);
    label2_->setPalette(white);
    auto* albumCaption = new QLabel(QStringLiteral("Album:"));
    albumCaption->setObjectName(QStringLiteral("Label1_1"));
    list1_ = new QListView;
    list1_->setObjectName(QStringLiteral("List1"));
    list1_->setUniformItemSizes(true);
    list1_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list1_->setSelectionMode(QAbstractItemView::SingleSelection);
    list1_->setModel(albumNames_);
    list1_->setMinimumSize(360, 240);
    albumCaption->setBuddy(list1_);
    list1_->setAccessibleName(QStringLiteral("Album"));
    command1_ = new QPushButton(QStringLiteral("Seleziona"));
    command1_->setObjectName(QStringLiteral("Command1"));
    command2_ = new QPushButton(QStringLiteral("Chiudi"));
    command2_->setObjectName(QStringLiteral("Command2"));
    check1_ = new QCheckBox(QStringLiteral("Svuota playlist precedente ( se no accoda)"));
    check1_->setObjectName(QStringLiteral("Check1"));

    auto* layout = new QGridLayout(this);
    layout->addWidget(artistCaption, 0, 0, 1, 2);
    layout->addWidget(label2_, 1, 0, 1, 2);
    layout->addWidget(albumCaption, 2, 0, 1, 2);
    layout->addWidget(list1_, 3, 0, 1, 2);
    layout->addWidget(check1_, 4, 0, 1, 2);
    layout->addWidget(command1_, 5, 0);
    layout->addWidget(command2_, 5, 1);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(list1_->selectionModel(), &QItemSelectionModel::currentChanged, this, &frmSearchTag::showArtist);
    connect(command1_, &QPushButton::clicked, this, &frmSearchTag::queueAlbum);
    connect(command2_, &QPushButton::clicked, this, &QDialog::reject);
}

void frmSearchTag::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // The first album is selected when the dialog first shows, not at every activation.
    if (std::exchange(shown_, true) || albums_.empty())
        return;
    list1_->setCurrentIndex(albumNames_->index(0));
}

int frmSearchTag::selectedAlbum() const
{
    const QModelIndexList selected = list1_->selectionModel()->selectedRows();
    return selected.isEmpty() ? -1 : selected.first().row();
}

void frmSearchTag::showArtist()
{
    const int album = list1_->currentIndex().row();
    const QString artist = album >= 0 ? albums_[size_t(album)].artist : QString();
    label2_->setText(artist);
    label2_->setAccessibleName(artist);
}

void frmSearchTag::queueAlbum()
{
    const int album = selectedAlbum();
    if (album < 0) {
        dialogs_.inform(QStringLiteral("Nessun album selezionato"));
        return;
    }
    if (check1_->isChecked())
        transport_.clearQueue();
    transport_.AggiungiBrani(albums_[size_t(album)].album);
}

}  // namespace sonivo
