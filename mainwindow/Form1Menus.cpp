// The main window's menu bar and toolbar: where each command stands, what the
// window's own commands run, and the rules applied to them.

#include "mainwindow/Form1.h"

#include "dialogs/frmReport.h"
#include "mainwindow/BrowseCommands.h"
#include "mainwindow/CatalogueModel.h"
#include "mainwindow/CatalogueView.h"
#include "mainwindow/Commands.h"
#include "mainwindow/ExternalPlayer.h"
#include "mainwindow/FileCommands.h"
#include "mainwindow/PlayerPanel.h"
#include "mainwindow/ShellCommands.h"

#include <QApplication>
#include <QHeaderView>
#include <QListView>
#include <QMenuBar>
#include <QStatusBar>
#include <QStyle>
#include <QTableView>
#include <QToolBar>
#include <QToolButton>
#include <optional>

namespace sonivo {
namespace {

using C = Command;

// One entry of a menu: a command, or a separator.
using MenuItem = std::optional<Command>;
constexpr MenuItem separator;

void addItems(QMenu* menu, const Commands& commands, std::initializer_list<MenuItem> items)
{
    for (const MenuItem& item : items) {
        if (item)
            menu->addAction(commands.action(*item));
        else
            menu->addSeparator();
    }
}

QIcon icon(const char* themeName, QStyle::StandardPixmap fallback)
{
    return QIcon::fromTheme(QString::fromLatin1(themeName), QApplication::style()->standardIcon(fallback));
}

// A widget or action that stands for a command is enabled with it.
template <typename T> void followEnabled(T* follower, const QAction* command)
{
    follower->setEnabled(command->isEnabled());
    QObject::connect(command, &QAction::enabledChanged, follower, &T::setEnabled);
}

}  // namespace

void Form1::buildMenus()
{
    const Commands& c = *commands_;
    menuBar()->setAccessibleName(QStringLiteral("Barra dei menu"));
    addItems(menuBar()->addMenu(QStringLiteral("&File")), c,
        {C::NewList, C::OpenList, C::SaveList, C::SaveListAs, separator, C::AddFolder, C::AddFolderTree, separator, C::Exit});

    editMenu_ = menuBar()->addMenu(QStringLiteral("&Modifica"));
    addItems(editMenu_, c, {C::ViewTag, separator, C::ListMode, C::ReportMode, separator, C::SortAscending, C::SortDescending, separator});
    orderMenu_ = editMenu_->addMenu(QStringLiteral("&Ordina per..."));
    addItems(editMenu_, c, {separator, C::CopyFiles, separator, C::DeleteSelected});

    addItems(menuBar()->addMenu(QStringLiteral("&Ricerca")), c, {C::SearchSong, C::SearchFolder, C::SearchAlbum, separator, C::ShowAll});
    addItems(menuBar()->addMenu(QStringLiteral("&Opzioni")), c,
        {C::ShowGrid, C::TrackSelection, C::FlatHeader, C::BoldHeader, separator, C::CheckAll, C::UncheckAll, C::InvertChecks});
    addItems(menuBar()->addMenu(QStringLiteral("&Player")), c,
        {C::Play, C::Pause, C::Stop, separator, C::PreviousSong, C::NextSong, separator, C::OpenSongExternally, C::OpenQueueExternally});
    addItems(menuBar()->addMenu(QStringLiteral("&Report")), c, {C::PrintList, C::HtmlList, C::M3uList});
    addItems(menuBar()->addMenu(QStringLiteral("&Guida")), c, {C::Help, C::HelpSearch, separator, C::Website, separator, C::About});

    // The button that shows the menus a narrow window has no room for.
    if (auto* more = menuBar()->findChild<QToolButton*>(QStringLiteral("qt_menubar_ext_button")))
        more->setAccessibleName(QStringLiteral("Altri menu"));

    // Never in the bar: the play queue's right-button menu.
    auto* pop = new QMenu(QStringLiteral("Popup"), this);
    addItems(pop, c, {C::RemoveQueueEntry, C::RemoveAllQueueEntries});

    view_->setCommands(*commands_);
    player_->setMenus(*commands_, pop);
    connectCommands();
}

void Form1::connectCommands()
{
    Commands& c = *commands_;
    c.run(C::NewList, files_, &FileCommands::newList);
    c.run(C::OpenList, files_, &FileCommands::openList);
    c.run(C::SaveList, files_, &FileCommands::saveList);
    c.run(C::SaveListAs, files_, &FileCommands::saveListAs);
    c.run(C::AddFolder, files_, &FileCommands::addFolder);
    c.run(C::AddFolderTree, files_, &FileCommands::addFolderTree);
    c.run(C::Exit, this, &QWidget::close);
    // Stopped first, so that the file is not held by two players.
    c.run(C::OpenSongExternally, this, [this] {
        transport_->stop();
        external_->openSong(view_->selectedCurrentRow());
    });
    c.run(C::OpenQueueExternally, this, [this] {
        transport_->stop();
        external_->openQueue();
    });
    connectSearchAndTag();
    // Copy and delete of the selected files, the options, the help and the about box.
    c.run(C::CopyFiles, shell_, &ShellCommands::copyFiles);
    c.run(C::DeleteSelected, shell_, &ShellCommands::deleteSelected);
    c.run(C::Options, shell_, &ShellCommands::showOptions);
    c.run(C::Help, shell_, &ShellCommands::showHelp);
    c.run(C::HelpSearch, shell_, &ShellCommands::searchHelp);
    c.run(C::Website, shell_, &ShellCommands::openWebsite);
    c.run(C::About, shell_, &ShellCommands::showAbout);
    // Browsing by folder: the folder chooser and the whole list again.
    c.run(C::SearchFolder, browse_, &BrowseCommands::chooseFolder);
    c.run(C::ShowAll, browse_, &BrowseCommands::showAll);
    connect(browse_, &BrowseCommands::rowsChanged, this, &Form1::applyEnablingRules);
    // The Report menu, also the toolbar's "Stampa" and its drop-down: the report
    // dialog of the entry's kind, over the catalogue and the play queue.
    for (const auto& [command, kind] : {std::pair{C::PrintList, ReportKind::TextList}, std::pair{C::HtmlList, ReportKind::HtmlPage},
             std::pair{C::M3uList, ReportKind::Playlist}})
        c.run(command, this,
            [this, kind] { frmReport(kind, document_->catalogue(), document_->listPath(), *transport_, dialogs_, this).exec(); });
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
    QToolBar* bar = toolbar_ = addToolBar(QStringLiteral("Barra degli strumenti"));
    bar->setObjectName(QStringLiteral("Toolbar1"));
    bar->setAccessibleName(bar->windowTitle());
    bar->setMovable(false);
    bar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    // The button that shows the buttons a narrow window has no room for.
    if (auto* more = bar->findChild<QToolButton*>(QStringLiteral("qt_toolbar_ext_button")))
        more->setAccessibleName(QStringLiteral("Altri pulsanti"));
    // Each button runs a command and is enabled with it; its drop-down entries
    // run theirs.
    auto button = [&](const QString& key, const QIcon& picture, Command click,
                      std::initializer_list<std::pair<const char*, Command>> dropDown = {}) {
        auto* b = new QToolButton(bar);
        b->setObjectName(key);
        b->setText(key);
        b->setToolTip(key);
        b->setAccessibleName(key);
        b->setIcon(picture);
        b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        QAction* command = commands_->action(click);
        connect(b, &QToolButton::clicked, command, &QAction::trigger);
        followEnabled(b, command);
        if (dropDown.size() > 0) {
            auto* menu = new QMenu(b);
            for (const auto& [caption, target] : dropDown) {
                QAction* entry = menu->addAction(QString::fromUtf8(caption));
                connect(entry, &QAction::triggered, commands_->action(target), &QAction::trigger);
                followEnabled(entry, commands_->action(target));
            }
            b->setMenu(menu);
            b->setPopupMode(QToolButton::MenuButtonPopup);
        }
        bar->addWidget(b);
        buttons_[key] = b;
    };
    button(QStringLiteral("Apri"), icon("document-open", QStyle::SP_DialogOpenButton), C::OpenList);
    button(QStringLiteral("Nuovo"), icon("document-new", QStyle::SP_FileIcon), C::NewList);
    // "&Salva lista" itself asks for a name when the list has none.
    button(QStringLiteral("Salva"), icon("document-save", QStyle::SP_DialogSaveButton), C::SaveList);
    bar->addSeparator();
    button(QStringLiteral("Aggiungi"), icon("folder-new", QStyle::SP_FileDialogNewFolder), C::AddFolder,
        {{"Cartella singola", C::AddFolder}, {"Cartella e sottocartelle", C::AddFolderTree}});
    button(QStringLiteral("Trova"), icon("edit-find", QStyle::SP_FileDialogContentsView), C::SearchSong,
        {{"Brano", C::SearchSong}, {"Cartella", C::SearchFolder}, {"Album", C::SearchAlbum}});
    button(QStringLiteral("Stampa"), icon("document-print", QStyle::SP_FileDialogDetailedView), C::PrintList,
        {{"Stampa lista", C::PrintList}, {"Crea lista Html", C::HtmlList}, {"File lista mp3", C::M3uList}});
    bar->addSeparator();
    button(QStringLiteral("Opzioni"), icon("preferences-system", QStyle::SP_FileDialogListView), C::Options);
    button(QStringLiteral("Informazioni"), icon("help-about", QStyle::SP_MessageBoxInformation), C::About);
    button(QStringLiteral("Esci"), icon("application-exit", QStyle::SP_DialogCloseButton), C::Exit);
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
    in.anyChecked = catalogue.anyChecked();
    in.songLoaded = !transport_->playerFile().isEmpty();
    in.queueSize = transport_->queue().size();
    commands_->apply(in);
}

QAction* Form1::command(Command command) const
{
    return commands_->action(command);
}

}  // namespace sonivo
