// The main window's menu bar and toolbar, what each entry runs, and the rules
// that enable them.

#include "mainwindow/Form1.h"

#include "mainwindow/CatalogueModel.h"
#include "mainwindow/CatalogueView.h"
#include "mainwindow/CommandRules.h"
#include "mainwindow/ExternalPlayer.h"
#include "mainwindow/FileCommands.h"
#include "mainwindow/PlayerPanel.h"

#include <QApplication>
#include <QHeaderView>
#include <QListView>
#include <QMenuBar>
#include <QStatusBar>
#include <QStyle>
#include <QTableView>
#include <QToolBar>
#include <QToolButton>

namespace sonivo {
namespace {

// One menu entry: its caption ("-" for a separator) and the name tests and other
// code find it by.
struct Entry {
    const char* caption;
    const char* name = nullptr;
};

// Adds the entries of an array to a menu; separators are entries too, so that
// indices match the array's.
template <size_t N> void addEntries(QMenu* menu, std::array<QAction*, N>& entries, const std::array<Entry, N>& captions)
{
    for (size_t i = 0; i < N; ++i) {
        const QString caption = QString::fromUtf8(captions[i].caption);
        entries[i] = caption == QLatin1String("-") ? menu->addSeparator() : menu->addAction(caption);
        if (captions[i].name)
            entries[i]->setObjectName(QString::fromLatin1(captions[i].name));
    }
}

QIcon icon(const char* themeName, QStyle::StandardPixmap fallback)
{
    return QIcon::fromTheme(QString::fromLatin1(themeName), QApplication::style()->standardIcon(fallback));
}

}  // namespace

void Form1::buildMenus()
{
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    addEntries<9>(file, mnuFile_,
        {{{"&Nuova lista", "newList"}, {"&Apri lista... ", "openList"}, {"&Salva lista", "saveList"},
            {"Sal&va lista con nome...", "saveListAs"}, {"-"}, {"Aggiungi &cartella singola", "addFolder"},
            {"A&ggiungi cartella e sottocartelle", "addFolderTree"}, {"-"}, {"&Esci", "exit"}}});
    connect(mnuFile_[0], &QAction::triggered, files_, &FileCommands::newList);
    connect(mnuFile_[1], &QAction::triggered, files_, &FileCommands::openList);
    connect(mnuFile_[2], &QAction::triggered, files_, &FileCommands::saveList);
    connect(mnuFile_[3], &QAction::triggered, files_, &FileCommands::saveListAs);
    connect(mnuFile_[5], &QAction::triggered, files_, &FileCommands::addFolder);
    connect(mnuFile_[6], &QAction::triggered, files_, &FileCommands::addFolderTree);
    connect(mnuFile_[8], &QAction::triggered, this, &QWidget::close);

    editMenu_ = menuBar()->addMenu(QStringLiteral("&Modifica"));
    addEntries<2>(editMenu_, mnuTag_, {{{"Visualizza Tag", "viewTag"}, {"-"}}});
    addEntries<2>(editMenu_, mnuView_, {{{"Modalità &Lista", "listMode"}, {"Modalità &Report", "reportMode"}}});
    mnuView_[0]->setCheckable(true);
    mnuView_[1]->setCheckable(true);
    connect(mnuView_[0], &QAction::triggered, view_, &CatalogueView::showListMode);
    connect(mnuView_[1], &QAction::triggered, view_, &CatalogueView::showReportMode);
    editMenu_->addSeparator();
    mnuSortAZ_ = editMenu_->addAction(QStringLiteral("Ordine &Crescente"));
    mnuSortZA_ = editMenu_->addAction(QStringLiteral("Ordine &Decrescente"));
    mnuSortAZ_->setObjectName(QStringLiteral("sortAscending"));
    mnuSortZA_->setObjectName(QStringLiteral("sortDescending"));
    mnuSortAZ_->setCheckable(true);
    mnuSortZA_->setCheckable(true);
    connect(mnuSortAZ_, &QAction::triggered, view_, &CatalogueView::sortAscending);
    connect(mnuSortZA_, &QAction::triggered, view_, &CatalogueView::sortDescending);
    editMenu_->addSeparator();
    orderMenu_ = editMenu_->addMenu(QStringLiteral("&Ordina per..."));
    addEntries<4>(editMenu_, mnuCopy_,
        {{{"-"}, {"Copia &files nella cartella...", "copyFiles"}, {"-"}, {"&Elimina files selezionati", "deleteSelected"}}});

    QMenu* search = menuBar()->addMenu(QStringLiteral("&Ricerca"));
    addEntries<5>(search, mnuRicerca_,
        {{{"&Brano", "searchSong"}, {"&Cartella", "searchFolder"}, {"&Album", "searchAlbum"}, {"-"}, {"&Mostra tutti", "showAll"}}});

    QMenu* options = menuBar()->addMenu(QStringLiteral("&Opzioni"));
    addEntries<8>(options, mnuOption_,
        {{{"&Visualizza griglia", "showGrid"}, {"&Traccia selezione", "trackSelection"}, {"&Intestazione flat", "flatHeader"},
            {"&Carattere grassetto", "boldHeader"}, {"-"}, {"&Seleziona tutti", "checkAll"}, {"&Deseleziona tutti", "uncheckAll"},
            {"I&nverti selezione", "invertChecks"}}});
    for (size_t i = 0; i < 4; ++i)
        mnuOption_[i]->setCheckable(true);
    connect(mnuOption_[0], &QAction::triggered, view_, &CatalogueView::applyGrid);
    connect(mnuOption_[1], &QAction::triggered, view_, &CatalogueView::applyTracking);
    connect(mnuOption_[2], &QAction::triggered, view_, &CatalogueView::applyHeaderStyle);
    connect(mnuOption_[3], &QAction::triggered, view_, &CatalogueView::applyHeaderStyle);
    connect(mnuOption_[5], &QAction::triggered, view_, &CatalogueView::checkAll);
    connect(mnuOption_[6], &QAction::triggered, view_, &CatalogueView::uncheckAll);
    connect(mnuOption_[7], &QAction::triggered, view_, &CatalogueView::invertChecks);

    QMenu* player = menuBar()->addMenu(QStringLiteral("&Player"));
    addEntries<9>(player, mnuPlayer_,
        {{{"&Play", "play"}, {"P&ausa", "pause"}, {"&Stop", "stop"}, {"-"}, {"Brano p&recedente", "previousSong"},
            {"Brano s&uccessivo", "nextSong"}, {"-"}, {"Apri brano con player esterno...", "openSongExternally"},
            {"Apri lista con player esterno...", "openQueueExternally"}}});
    mnuPlayer_[7]->setEnabled(false);
    mnuPlayer_[8]->setEnabled(false);
    // Stopped first, so that the file is not held by two players.
    connect(mnuPlayer_[7], &QAction::triggered, this, [this] {
        transport_->stop();
        external_->openSong(view_->selectedCurrentRow());
    });
    connect(mnuPlayer_[8], &QAction::triggered, this, [this] {
        transport_->stop();
        external_->openQueue();
    });

    QMenu* report = menuBar()->addMenu(QStringLiteral("&Report"));
    addEntries<3>(report, mnuReport_, {{{"&Stampa lista", "printList"}, {"&Crea lista Html", "htmlList"}, {"&File lista mp3", "m3uList"}}});

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Guida"));
    addEntries<6>(help, mnuHelp_,
        {{{"&Guida in linea", "help"}, {"&Cerca...", "helpSearch"}, {"-"}, {"&Sito Sonivo", "website"}, {"-"},
            {"&Informazioni...", "about"}}});

    // Never in the bar: the play queue's right-button menu.
    auto* pop = new QMenu(QStringLiteral("Popup"), this);
    addEntries<2>(pop, mnuPop_, {{{"Rimuovi brano", "removeQueueEntry"}, {"Rimuovi tutti", "removeAllQueueEntries"}}});
    view_->setEntries({mnuView_, mnuSortAZ_, mnuSortZA_, mnuOption_[0], mnuOption_[1], mnuOption_[2], mnuOption_[3], mnuPlayer_[7]});
    player_->setMenus(mnuPlayer_, pop, mnuPop_);
}

void Form1::buildSortMenu()
{
    // One entry per display position, captioned with the header shown there.
    orderMenu_->clear();
    const QHeaderView* header = view_->reportView()->horizontalHeader();
    for (int p = 0; p < kColumnCount; ++p) {
        const int column = header->logicalIndex(p);
        QAction* entry = orderMenu_->addAction(columnCaptions().at(column).left(32));
        entry->setCheckable(true);
        entry->setObjectName(QStringLiteral("orderBy%1").arg(p));
        mnuOrder_[size_t(p)] = entry;
        connect(entry, &QAction::triggered, view_, [this, p] { view_->sortByEntry(p); });
    }
    mnuOrder_[0]->setChecked(true);
    view_->setOrderEntries(mnuOrder_);
}

void Form1::connectView()
{
    for (QAbstractItemView* v : {static_cast<QAbstractItemView*>(view_->reportView()), static_cast<QAbstractItemView*>(view_->listView())})
        connect(v, &QWidget::customContextMenuRequested, this,
            [this, v](const QPoint& at) { editMenu_->popup(v->viewport()->mapToGlobal(at)); });
    // The rules follow every change of the rows and checks, not only the timer.
    const CatalogueModel* model = view_->model();
    // The queue follows the checks and the rows before the rules read it.
    connect(view_, &CatalogueView::checksChanged, transport_, &Transport::syncQueue);
    connect(model, &QAbstractItemModel::rowsRemoved, transport_, &Transport::syncQueue);
    connect(model, &QAbstractItemModel::modelReset, transport_, &Transport::syncQueue);
    connect(model, &QAbstractItemModel::dataChanged, player_, &PlayerPanel::refreshQueueTexts);
    connect(view_, &CatalogueView::songClicked, transport_,
        [this](qsizetype row) { transport_->rowClicked(document_->catalogue().id(row)); });
    connect(transport_, &Transport::checksChanged, this, &Form1::applyEnablingRules);
    // What the player could not do is read in the status line, not in a box that
    // would stop the queue.
    connect(transport_, &Transport::notice, this, [this](const QString& text) { statusBar()->showMessage(text, 8000); });
    connect(view_, &CatalogueView::checksChanged, this, &Form1::applyEnablingRules);
    connect(model, &QAbstractItemModel::rowsInserted, this, &Form1::applyEnablingRules);
    connect(model, &QAbstractItemModel::rowsRemoved, this, &Form1::applyEnablingRules);
    connect(model, &QAbstractItemModel::modelReset, this, &Form1::applyEnablingRules);
}

void Form1::buildToolbar()
{
    QToolBar* bar = toolbar_ = addToolBar(QStringLiteral("Toolbar1"));
    bar->setObjectName(QStringLiteral("Toolbar1"));
    bar->setMovable(false);
    bar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    auto button = [&](const QString& key, const QIcon& picture, auto target, auto click) {
        auto* b = new QToolButton(bar);
        b->setObjectName(key);
        b->setText(key);
        b->setToolTip(key);
        b->setAccessibleName(key);
        b->setIcon(picture);
        b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        connect(b, &QToolButton::clicked, target, click);
        bar->addWidget(b);
        buttons_[key] = b;
        return b;
    };
    auto dropDown = [&](QToolButton* b, std::initializer_list<std::pair<const char*, QAction*>> entries) {
        auto* menu = new QMenu(b);
        for (const auto& [caption, target] : entries) {
            QAction* a = menu->addAction(QString::fromUtf8(caption));
            connect(a, &QAction::triggered, target, &QAction::trigger);
        }
        b->setMenu(menu);
        b->setPopupMode(QToolButton::MenuButtonPopup);
    };
    button(QStringLiteral("Apri"), icon("document-open", QStyle::SP_DialogOpenButton), files_, &FileCommands::openList);
    button(QStringLiteral("Nuovo"), icon("document-new", QStyle::SP_FileIcon), files_, &FileCommands::newList);
    button(QStringLiteral("Salva"), icon("document-save", QStyle::SP_DialogSaveButton), files_, &FileCommands::saveOrSaveAs);
    bar->addSeparator();
    QToolButton* add
        = button(QStringLiteral("Aggiungi"), icon("folder-new", QStyle::SP_FileDialogNewFolder), files_, &FileCommands::addFolder);
    dropDown(add, {{"Cartella singola", mnuFile_[5]}, {"Cartella e sottocartelle", mnuFile_[6]}});
    QToolButton* find
        = button(QStringLiteral("Trova"), icon("edit-find", QStyle::SP_FileDialogContentsView), mnuRicerca_[0], &QAction::trigger);
    dropDown(find, {{"Brano", mnuRicerca_[0]}, {"Cartella", mnuRicerca_[1]}, {"Album", mnuRicerca_[2]}});
    QToolButton* print
        = button(QStringLiteral("Stampa"), icon("document-print", QStyle::SP_FileDialogDetailedView), mnuReport_[0], &QAction::trigger);
    dropDown(print, {{"Stampa lista", mnuReport_[0]}, {"Crea lista Html", mnuReport_[1]}, {"File lista mp3", mnuReport_[2]}});
    bar->addSeparator();
    // The options dialog and the about box come with their own windows later:
    // until then their buttons are disabled rather than doing nothing.
    button(QStringLiteral("Opzioni"), icon("preferences-system", QStyle::SP_FileDialogListView), this, [] {})->setEnabled(false);
    button(QStringLiteral("Informazioni"), icon("help-about", QStyle::SP_MessageBoxInformation), this, [] {})->setEnabled(false);
    button(QStringLiteral("Esci"), icon("application-exit", QStyle::SP_DialogCloseButton), this, &QWidget::close);
}

void Form1::tick()
{
    transport_->tick();
    player_->refresh();
    applyEnablingRules();
}

void Form1::applyEnablingRules()
{
    const Catalogue& catalogue = document_->catalogue();
    CommandInputs in;
    in.rowCount = catalogue.size();
    in.listPathEmpty = document_->listPath().isEmpty();
    in.modified = document_->isModified();
    in.checkedCount = catalogue.checkedCount();
    in.songLoaded = !transport_->playerFile().isEmpty();
    const CommandStates s = sonivo::applyEnablingRules(in, showAllEnabled_);
    showAllEnabled_ = s.showAll;
    mnuReport_[0]->setEnabled(s.printList);
    mnuReport_[1]->setEnabled(s.htmlList);
    mnuReport_[2]->setEnabled(s.m3uList);
    mnuFile_[0]->setEnabled(s.newList);
    mnuFile_[2]->setEnabled(s.saveList);
    mnuFile_[3]->setEnabled(s.saveListAs);
    mnuRicerca_[0]->setEnabled(s.searchSong);
    mnuRicerca_[1]->setEnabled(s.searchFolder);
    mnuRicerca_[2]->setEnabled(s.searchAlbum);
    mnuRicerca_[4]->setEnabled(s.showAll);
    mnuPlayer_[8]->setEnabled(s.externalPlayerQueue);
    mnuCopy_[1]->setEnabled(s.copyFiles);
    mnuCopy_[3]->setEnabled(s.deleteSelected);
    if (mnuTag_[0]->isEnabled() != s.viewTag)
        mnuTag_[0]->setEnabled(s.viewTag);
    buttons_.at(QStringLiteral("Nuovo"))->setEnabled(s.newButton);
    buttons_.at(QStringLiteral("Salva"))->setEnabled(s.saveButton);
    buttons_.at(QStringLiteral("Trova"))->setEnabled(s.findButton);
    buttons_.at(QStringLiteral("Stampa"))->setEnabled(s.printButton);
}

}  // namespace sonivo
