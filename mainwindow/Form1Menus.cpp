// The main window's menu bar and toolbar: where each command stands, what the
// window's own commands run, and the rules applied to them.

#include "mainwindow/Form1.h"

#include "dialogs/CopyFilesCommand.h"
#include "dialogs/OpenDialog.h"
#include "dialogs/frmFolder.h"
#include "dialogs/frmOption.h"
#include "dialogs/frmReport.h"
#include "mainwindow/CatalogueModel.h"
#include "mainwindow/CatalogueView.h"
#include "mainwindow/Commands.h"
#include "mainwindow/FileCommands.h"
#include "mainwindow/HelpCommands.h"
#include "mainwindow/PlayerPanel.h"
#include "mainwindow/StatusLine.h"

#include <QApplication>
#include <QFileInfo>
#include <QHeaderView>
#include <QListView>
#include <QMenuBar>
#include <QStatusBar>
#include <QShortcut>
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
    player_->useCommands(*commands_, pop);
    connectCommands();
}

void Form1::connectCommands()
{
    Commands& c = *commands_;
    SonivoApp* app = app_;
    c.run(C::NewList, files_, &FileCommands::newList);
    c.run(C::OpenList, files_, &FileCommands::openList);
    c.run(C::SaveList, files_, &FileCommands::saveList);
    c.run(C::SaveListAs, files_, &FileCommands::saveListAs);
    c.run(C::AddFolder, files_, &FileCommands::addFolder);
    c.run(C::AddFolderTree, files_, &FileCommands::addFolderTree);
    c.run(C::Exit, this, &QWidget::close);
    // The internal player and its queue.
    Transport* transport = &app->transport();
    c.run(C::Play, transport, &Transport::play);
    c.run(C::Pause, transport, &Transport::pause);
    c.run(C::Stop, transport, &Transport::stop);
    c.run(C::PreviousSong, transport, &Transport::previous);
    c.run(C::NextSong, transport, &Transport::next);
    c.run(C::RemoveQueueEntry, transport, &Transport::removeSelectedEntry);
    c.run(C::RemoveAllQueueEntries, transport, &Transport::clearQueue);
    c.run(C::OpenSongExternally, app, [this] { app_->openSongExternally(view_->selectedCurrentRow()); });
    c.run(C::OpenQueueExternally, app, &SonivoApp::openQueueExternally);
    connectMediaKeys();
    connectSearchAndTag();
    // Copy and delete of the selected files, the options, the help and the about box.
    c.run(C::CopyFiles, this, [this] {
        const QString folder = copyFilesToFolder(this, dialogs_, app_->queuedFiles(), app_->startFolder(SonivoApp::FolderUse::Copies));
        if (!folder.isEmpty())
            app_->setLastFolder(SonivoApp::FolderUse::Copies, folder);
    });
    c.run(C::DeleteSelected, app, &SonivoApp::deleteChecked);
    c.run(C::Options, this, [this] {
        auto* options = openDialog(new frmOption(desktop_, dialogs_, [this] { help_->showHelp(); }, this));
        connect(options, &QDialog::finished, this, [this] { app_->setReadId3v2(desktop_.isOn(DesktopOption::ReadId3v2)); });
    });
    c.run(C::Help, help_, &HelpCommands::showHelp);
    c.run(C::HelpSearch, help_, &HelpCommands::searchHelp);
    c.run(C::Website, help_, &HelpCommands::openWebsite);
    c.run(C::About, help_, &HelpCommands::showAbout);
    // Browsing by folder: the folder chooser, open until its close box, and the whole list again.
    c.run(C::SearchFolder, this, [this] { openDialog(new frmFolder(app_->narrowing(), this)); });
    c.run(C::ShowAll, app, &SonivoApp::restoreList);
    // The Report menu, also the toolbar's "Stampa" and its drop-down: the report
    // dialog of the entry's kind, over the catalogue and the play queue.
    for (const auto& [command, kind] : {std::pair{C::PrintList, ReportKind::TextList}, std::pair{C::HtmlList, ReportKind::HtmlPage},
             std::pair{C::M3uList, ReportKind::Playlist}})
        c.run(command, this, [this, kind] { openReport(kind); });
}

void Form1::connectMediaKeys()
{
    // The keyboard's media keys, while the window has the focus: each beside the
    // command's own key, which the menu shows.
    for (const auto& [command, key] : {std::pair{C::Play, Qt::Key_MediaPlay}, std::pair{C::Pause, Qt::Key_MediaPause},
             std::pair{C::Stop, Qt::Key_MediaStop}, std::pair{C::PreviousSong, Qt::Key_MediaPrevious},
             std::pair{C::NextSong, Qt::Key_MediaNext}}) {
        QAction* action = commands_->action(command);
        action->setShortcuts({action->shortcut(), QKeySequence(key)});
    }
    auto* toggle = new QShortcut(QKeySequence(Qt::Key_MediaTogglePlayPause), this);
    connect(toggle, &QShortcut::activated, this,
        [this] { commands_->action(app_->transport().state() == PlayerState::Playing ? C::Pause : C::Play)->trigger(); });
}

void Form1::openReport(ReportKind kind)
{
    auto* report = openDialog(new frmReport(
        kind, app_->catalogue(), app_->document().listPath(), app_->queuedRows(), app_->startFolder(SonivoApp::FolderUse::Reports), dialogs_, this));
    connect(report, &QDialog::finished, this, [this, report] {
        const QString written = report->writtenFile();
        if (written.isEmpty())
            return;
        app_->setLastFolder(SonivoApp::FolderUse::Reports, QFileInfo(written).path());
        statusBar()->showMessage(QStringLiteral("File salvato: ") + written, 8000);
    });
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
    // The queue's texts follow the rows' texts.
    connect(view_->model(), &QAbstractItemModel::dataChanged, player_, &PlayerPanel::refreshQueueTexts);
    // What the player could not do is read in the status line, not in a box that
    // would stop the queue.
    connect(&app_->transport(), &Transport::notice, this, [this](const QString& text) { statusBar()->showMessage(text, 8000); });
    // The commands follow every change of the rows, the checks and the player, not only the tick.
    connect(app_, &SonivoApp::rowsChanged, this, &Form1::showRowsChange);
    connect(app_, &SonivoApp::checksChanged, this, &Form1::applyEnablingRules);
    connect(&app_->transport(), &Transport::songChanged, this, &Form1::applyEnablingRules);
    connect(app_, &SonivoApp::ticked, this, &Form1::showTick);
}

void Form1::showRowsChange(RowsChange change)
{
    const Catalogue& catalogue = app_->catalogue();
    switch (change) {
    case RowsChange::Emptied:
        view_->clearIcons();
        status_->showStart();
        break;
    case RowsChange::Replaced:
        view_->refreshIcons();
        status_->refresh(catalogue);
        break;
    case RowsChange::Removed: status_->refresh(catalogue); break;
    }
    applyEnablingRules();
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
    // No menu holds "Opzioni": its key works through the window, and its button says it.
    addAction(commands_->action(C::Options));
    buttons_[QStringLiteral("Opzioni")]->setToolTip(QStringLiteral("Opzioni (%1)").arg(commands_->action(C::Options)->shortcut().toString(QKeySequence::NativeText)));
    button(QStringLiteral("Informazioni"), icon("help-about", QStyle::SP_MessageBoxInformation), C::About);
    button(QStringLiteral("Esci"), icon("application-exit", QStyle::SP_DialogCloseButton), C::Exit);
}

void Form1::showTick()
{
    player_->refresh();
    applyEnablingRules();
}

void Form1::applyEnablingRules()
{
    const ListDocument& document = app_->document();
    CommandInputs in;
    in.rowCount = document.catalogue().size();
    in.listPathEmpty = document.listPath().isEmpty();
    in.modified = document.isModified();
    in.anyChecked = document.catalogue().anyChecked();
    in.songLoaded = !app_->transport().playerFile().isEmpty();
    in.queueSize = app_->queuedRows().size();
    commands_->apply(in);
}

QAction* Form1::command(Command command) const
{
    return commands_->action(command);
}

}  // namespace sonivo
