#include "mainwindow/Form1.h"

#include "analysis/clsMP3.h"
#include "catalogue/CommandRules.h"
#include "catalogue/FolderScan.h"
#include "catalogue/ListFile.h"
#include "catalogue/Totals.h"
#include "mainwindow/CatalogueModel.h"
#include "mainwindow/ColumnWidths.h"
#include "mainwindow/ScanProgressFrame.h"
#include "mainwindow/WindowLayout.h"
#include "mainwindow/WindowScanDialogs.h"
#include "platform/IniFile.h"
#include "platform/KeyValueStore.h"
#include "platform/QtDesktopDialogs.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QListView>
#include <QListWidget>
#include <QMenuBar>
#include <QScreen>
#include <QStackedWidget>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTableView>
#include <QTimer>
#include <QWindow>
#include <QToolBar>
#include <QToolButton>

namespace sonivo {
namespace {

const QString kSection = QStringLiteral("Opzioni");
const FileFilter kListFilter{QStringLiteral("File lista Sonivo"), QStringLiteral("*.svl"), QStringLiteral("svl")};

// Design widths of the columns, in twips.
constexpr std::array<int, kColumnCount> kDesignWidths = {
    3000, 900, 1000, 1440, 400, 600, 700, 1440, 1440, 1440, 1440,
    1440, 700, 1440, 1440, 700, 500, 500, 500, 500, 500, 1000,
};

QString defaultSettingsFile()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QStringLiteral("/sonivo/sonivo.ini");
}

// A stored window size in twips, when it is a number a screen can show.
std::optional<int> sizeSetting(const QString& text, int screenTwips)
{
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (!ok || value < 1 || value > 4.0 * screenTwips)
        return std::nullopt;
    return int(value);
}

}  // namespace

QString versionText()
{
    return QStringLiteral("Sonivo - Versione 1.3.0");
}

Form1::Form1(FormServices services, QWidget* parent)
    : QMainWindow(parent), services_(std::move(services)),
      ownDialogs_(services_.dialogs ? nullptr : std::make_unique<QtDesktopDialogs>(this)),
      dialogs_(services_.dialogs ? *services_.dialogs : *ownDialogs_),
      drives_(services_.mounts ? *services_.mounts : systemMountTable()),
      model_(new CatalogueModel(catalogue_, this)), views_(new QStackedWidget(this)),
      table_(new QTableView(views_)), list_(new QListView(views_)),
      frame1_(new QGroupBox(QStringLiteral("Player interno"))), lstPlay_(new QListWidget),
      framain_(new ScanProgressFrame), timer_(new QTimer(this))
{
    if (services_.settingsFile.isEmpty())
        services_.settingsFile = defaultSettingsFile();
    if (services_.registryFile.isEmpty())
        services_.registryFile = KeyValueStore::defaultPath();
    setObjectName(QStringLiteral("Form1"));
    setWindowIcon(QIcon::fromTheme(QStringLiteral("audio-x-generic")));
    model_->setIcons(&icons_.images());

    auto* client = new QWidget(this);
    setCentralWidget(client);
    views_->setParent(client);
    frame1_->setParent(client);
    lstPlay_->setParent(client);
    lstPlay_->setObjectName(QStringLiteral("lstPlay"));
    framain_->setParent(client);
    framain_->hide();

    table_->setObjectName(QStringLiteral("ListView1"));
    table_->setModel(model_);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setWordWrap(false);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->verticalHeader()->hide();
    table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 6);
    table_->horizontalHeader()->setSectionsMovable(true);
    table_->horizontalHeader()->setSectionsClickable(true);
    table_->horizontalHeader()->setSortIndicatorShown(false);  // until the first sort
    table_->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    table_->setContextMenuPolicy(Qt::CustomContextMenu);
    list_->setModel(model_);
    list_->setSelectionModel(table_->selectionModel());
    list_->setViewMode(QListView::ListMode);
    list_->setFlow(QListView::TopToBottom);
    list_->setWrapping(true);
    list_->setResizeMode(QListView::Adjust);
    list_->setUniformItemSizes(true);
    list_->setContextMenuPolicy(Qt::CustomContextMenu);
    views_->addWidget(table_);
    views_->addWidget(list_);
    for (int c = 0; c < kColumnCount; ++c)
        table_->setColumnWidth(c, toPixels(kDesignWidths[size_t(c)]));

    buildMenus();
    buildToolbar();
    buildStatusBar();

    connect(table_->horizontalHeader(), &QHeaderView::sectionClicked, this, &Form1::headerClicked);
    for (QAbstractItemView* view : {static_cast<QAbstractItemView*>(table_), static_cast<QAbstractItemView*>(list_)}) {
        connect(view, &QAbstractItemView::clicked, this, &Form1::rowClicked);
        connect(view, &QWidget::customContextMenuRequested, this,
                [this, view](const QPoint& at) { editMenu_->popup(view->viewport()->mapToGlobal(at)); });
        connect(view, &QAbstractItemView::entered, this, [this](const QModelIndex& index) {
            if (mnuOption_[1]->isChecked())
                table_->selectRow(index.row());
        });
    }
    connect(model_, &CatalogueModel::checkToggled, this, [this] { applyEnablingRules(); });
    connect(timer_, &QTimer::timeout, this, &Form1::applyEnablingRules);
    timer_->start(500);

    resize(toPixels(kMinWindowWidth), toPixels(kMinWindowHeight));
}

Form1::~Form1() = default;

int Form1::toPixels(int twips) const
{
    return twips / twipsPerPixel(logicalDpiX());
}

int Form1::toTwips(int pixels) const
{
    return pixels * twipsPerPixel(logicalDpiX());
}

void Form1::start(const QString& commandLine)
{
    restorePlacement();
    const QSize screen = this->screen() ? this->screen()->availableSize() : QSize(1920, 1080);
    setMinimumSize(std::min(toPixels(kMinWindowWidth), screen.width()), std::min(toPixels(kMinWindowHeight), screen.height()));
    setMaximumSize(screen);

    // Initial styles: grid lines and check boxes on; report mode with its columns.
    table_->setShowGrid(true);
    mnuOption_[0]->setChecked(true);
    views_->setCurrentWidget(table_);
    setStartStatus();
    buildSortMenu();

    const KeyValueStore registry(services_.registryFile);
    if (registry.value(QStringLiteral("Sonivo"), QStringLiteral("Max")).value_or(QString()) == QLatin1String("1"))
        setWindowState(windowState() | Qt::WindowMaximized);

    if (commandLine.isEmpty()) {
        setTitle();
        return;
    }
    show();
    loadList(commandLine);
}

void Form1::restorePlacement()
{
    if (!QFileInfo::exists(services_.settingsFile))
        return;
    const int maximized = readSetting(services_.settingsFile, kSection, QStringLiteral("Maximized")).trimmed().toInt();
    if (maximized == 1) {
        setWindowState(windowState() | Qt::WindowMaximized);
        return;
    }
    if (maximized != 0)
        return;
    const QSize screen = this->screen() ? this->screen()->availableSize() : QSize(1920, 1080);
    // A missing, unreadable or impossible size keeps the design size.
    const std::optional<int> w = sizeSetting(readSetting(services_.settingsFile, kSection, QStringLiteral("Width")), toTwips(screen.width()));
    const std::optional<int> h = sizeSetting(readSetting(services_.settingsFile, kSection, QStringLiteral("Height")), toTwips(screen.height()));
    if (!w || !h)
        return;
    restoredOuterSize_ = QSize(std::min(toPixels(*w), screen.width()), std::min(toPixels(*h), screen.height()));
    fitOuterSize();
}

void Form1::fitOuterSize()
{
    // The window manager's frame is known only once the window is shown; until
    // then the stored outer size is taken for the window itself.
    const QMargins frame = windowHandle() ? windowHandle()->frameMargins() : QMargins();
    resize(std::max(1, restoredOuterSize_->width() - frame.left() - frame.right()),
           std::max(1, restoredOuterSize_->height() - frame.top() - frame.bottom()));
}

void Form1::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (restoredOuterSize_ && !isMaximized()) {
        // Once the frame is there, the restored size is its outer size again, so the
        // window does not grow by its frame at every start.
        QTimer::singleShot(200, this, [this] {
            if (restoredOuterSize_ && !isMaximized())
                fitOuterSize();
            restoredOuterSize_.reset();
        });
    }
}

void Form1::savePlacement()
{
    const QString& file = services_.settingsFile;
    writeSetting(file, kSection, QStringLiteral("Maximized"), isMaximized() ? QStringLiteral("1") : QStringLiteral("0"));
    writeSetting(file, kSection, QStringLiteral("Width"), QString::number(toTwips(frameGeometry().width())));
    writeSetting(file, kSection, QStringLiteral("Height"), QString::number(toTwips(frameGeometry().height())));
}

void Form1::closeEvent(QCloseEvent* event)
{
    if (scanning_ || (modified_ && !savePrompt())) {
        event->ignore();
        return;
    }
    timer_->stop();
    savePlacement();
    event->accept();
}

void Form1::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    applyLayout();
}

void Form1::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange)
        applyLayout();
}

void Form1::applyLayout()
{
    if (isMinimized())
        return;
    // The rules count the window's outer size with the design's frame, title bar
    // and menu bar (810 twips high, 120 wide); the client area here starts below
    // the menu bar, and the central widget below the toolbar.
    const QWidget* client = centralWidget();
    const int clientWidth = toTwips(client->width());
    const int clientHeight = toTwips(client->height() + statusBar()->height() + (client->y() - menuBar()->height()));
    const WindowLayout l = layoutFor(clientWidth + 120, clientHeight + 810);
    const int top = client->y() - menuBar()->height();  // toolbar height in pixels
    auto place = [&](QWidget* w, const QRect& r) {
        w->setGeometry(toPixels(r.x()), toPixels(r.y()) - top, toPixels(r.width()), toPixels(r.height()));
    };
    QRect view = l.catalogueView;
    view.moveTop(toTwips(top));
    view.setHeight(l.catalogueView.bottom() - toTwips(top));
    place(views_, view);
    place(frame1_, l.playerFrame);
    place(lstPlay_, l.playQueue);
    for (int i = 0; i < 3; ++i)
        panels_[size_t(i)]->setFixedWidth(toPixels(l.statusPanel[i]));
    // The scan's frame stays centred on the view.
    const QSize f = framain_->sizeHint().expandedTo(QSize(toPixels(4575), toPixels(2040)));
    framain_->setGeometry(views_->x() + views_->width() / 2 - f.width() / 2, views_->y() + views_->height() / 2 - f.height() / 2,
                          f.width(), f.height());
}

QString Form1::statusText(int panel) const
{
    return panels_[size_t(panel - 1)]->text();
}

void Form1::setTitle()
{
    setWindowTitle(QStringLiteral("Sonivo - ") + (listPath_.isEmpty() ? QStringLiteral("Nuova lista") : listPath_));
}

void Form1::setStartStatus()
{
    panels_[1]->setText(startSongsText());
    panels_[2]->setText(startTimeText());
}

void Form1::showLoading()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    loadingPicture_->show();
    panels_[1]->setText(loadingText());
    panels_[2]->setText(startTimeText());
    QApplication::processEvents();
}

void Form1::loadList(const QString& path)
{
    showLoading();
    model_->beginRowsReplaced();
    catalogue_.clear();
    icons_.clear();
    const ListFileResult result = ApriLista(path, catalogue_);
    model_->endRowsReplaced();
    statusRefresh();
    resizeColumnHeaders();
    loadingPicture_->hide();
    QApplication::restoreOverrideCursor();
    if (result.ok) {
        listPath_ = path;
        modified_ = false;
    } else {
        // What was read stays, as a new list: saving it never replaces the file
        // that could not be read without the user choosing it.
        listPath_.clear();
        modified_ = !catalogue_.isEmpty();
        dialogs_.warn(QStringLiteral("Impossibile leggere la lista \"") + path + QStringLiteral("\":\n") + result.error);
    }
    setTitle();
    refreshIcons();
}

bool Form1::writeList(const QString& path)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const ListFileResult result = SalvaLista(path, catalogue_);
    QApplication::restoreOverrideCursor();
    if (!result.ok) {
        dialogs_.critical(QStringLiteral("Impossibile salvare la lista \"") + path + QStringLiteral("\":\n") + result.error
                          + QStringLiteral("\nIl file precedente non è stato modificato."));
        return false;
    }
    modified_ = false;
    return true;
}

bool Form1::savePrompt()
{
    const DesktopDialogs::Answer answer =
        dialogs_.askYesNoCancel(QStringLiteral("La lista dei brani è stata modificata.\nVuoi salvare le modifiche?"));
    if (answer == DesktopDialogs::Answer::Cancel)
        return false;
    if (answer == DesktopDialogs::Answer::No)
        return true;
    return listPath_.isEmpty() ? saveListAs() : saveList();
}

bool Form1::newList()
{
    if (modified_ && !savePrompt())
        return false;
    model_->beginRowsReplaced();
    catalogue_.clear();
    icons_.clear();
    model_->endRowsReplaced();
    lstPlay_->clear();
    listPath_.clear();
    modified_ = false;
    setStartStatus();
    QApplication::processEvents();
    setTitle();
    return true;
}

bool Form1::openList()
{
    if (modified_ && !savePrompt())
        return false;
    const QString path = dialogs_.openFile(QStringLiteral("Apri lista"), kListFilter, QDir::currentPath());
    if (path.isEmpty())
        return false;
    loadList(path);
    return listPath_ == path;
}

bool Form1::saveList()
{
    if (catalogue_.isEmpty())
        return true;  // nothing to save
    if (listPath_.isEmpty())
        return saveListAs();
    return writeList(listPath_);
}

bool Form1::saveListAs()
{
    const QString path = dialogs_.saveFile(QStringLiteral("Salva lista con nome..."), kListFilter, QDir::currentPath());
    if (path.isEmpty())
        return false;
    if (!writeList(path))
        return false;
    listPath_ = path;
    setTitle();
    return true;
}

void Form1::addFolder(bool withSubfolders)
{
    const QString folder = dialogs_.chooseFolder(withSubfolders ? QStringLiteral("Seleziona la cartella da cui iniziare la ricerca:")
                                                                : QStringLiteral("Seleziona la cartella singola in cui ricercare:"));
    if (!folder.isEmpty()) {
        applyLayout();
        framain_->showProgress(0, 0);
        framain_->show();
        framain_->raise();
        WindowScanDialogs scanDialogs(dialogs_, *framain_);
        FolderScan scan(catalogue_, scanDialogs, drives_);
        scan.setIncludeSubfolders(withSubfolders);
        const qsizetype before = catalogue_.size();
        model_->beginRowsReplaced();
        scanning_ = true;
        const qint64 added = scan.ScanFolders(folder);
        scanning_ = false;
        model_->endRowsReplaced();
        framain_->hide();
        if (added > 0 || catalogue_.size() != before)
            modified_ = true;
        statusRefresh();
    }
    refreshIcons();
}

void Form1::refreshIcons()
{
    if (icons_.refreshIcons(catalogue_) > 0)
        model_->iconsChanged();
    resizeColumnHeaders();
}

void Form1::resizeColumnHeaders()
{
    if (catalogue_.isEmpty())
        return;
    // The delegate measures the widest cell as it paints it: check box, icon,
    // text and margins; the header measures its own caption.
    QStyleOptionViewItem option;
    option.initFrom(table_);
    option.font = table_->font();
    option.decorationSize = table_->iconSize().isValid() ? table_->iconSize() : QSize(16, 16);
    option.features = QStyleOptionViewItem::HasDisplay;
    const QFontMetrics cells = table_->fontMetrics();
    QHeaderView* header = table_->horizontalHeader();
    for (int c = 0; c < kColumnCount; ++c) {
        const QModelIndex widest = model_->index(int(widestRow(catalogue_, c, cells)), c);
        const int cell = table_->itemDelegate()->sizeHint(option, widest).width() + 2;
        table_->setColumnWidth(c, std::max(cell, header->sectionSizeHint(c)));
    }
}

void Form1::statusRefresh()
{
    const std::span<const SongRecord> rows(catalogue_.rows());
    panels_[1]->setText(statusSongsText(catalogue_.size(), totalSize(rows, QLatin1Char('m'))));
    panels_[2]->setText(statusTimeText(totalTime(rows)));
}

void Form1::applyEnablingRules()
{
    CommandInputs in;
    in.rowCount = catalogue_.size();
    in.listPathEmpty = listPath_.isEmpty();
    in.modified = modified_;
    in.checkedCount = catalogue_.checkedCount();
    in.songLoaded = false;  // the internal player comes later
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
    mnuTag_[0]->setEnabled(s.viewTag);
    for (int i : {0, 1, 2, 4, 5})
        mnuPlayer_[size_t(i)]->setEnabled(s.playerControls);
    buttons_.at(QStringLiteral("Nuovo"))->setEnabled(s.newButton);
    buttons_.at(QStringLiteral("Salva"))->setEnabled(s.saveButton);
    buttons_.at(QStringLiteral("Trova"))->setEnabled(s.findButton);
    buttons_.at(QStringLiteral("Stampa"))->setEnabled(s.printButton);
}

void Form1::rowClicked(const QModelIndex& index)
{
    const bool selected = index.isValid() && table_->selectionModel()->isRowSelected(index.row(), {});
    if (index.isValid()) {
        const QString type = clsMP3::Tipo(catalogue_.row(index.row()).fullName());
        mnuPlayer_[7]->setText(QStringLiteral("Apri ") + type + QStringLiteral("..."));
    }
    mnuPlayer_[7]->setEnabled(selected);
}

// --- view commands ---------------------------------------------------------

void Form1::sortView()
{
    model_->beginReordered();
    table_->clearSelection();
    catalogue_.sortBy(sortColumn_, ascending_);
    model_->endReordered();
    table_->horizontalHeader()->setSortIndicatorShown(true);
    table_->horizontalHeader()->setSortIndicator(sortColumn_, ascending_ ? Qt::AscendingOrder : Qt::DescendingOrder);
}

void Form1::setOrderMarks()
{
    mnuSortAZ_->setChecked(ascending_);
    mnuSortZA_->setChecked(!ascending_);
}

void Form1::checkOrderEntry(int index)
{
    mnuOrder_[size_t(currentOrderEntry_)]->setChecked(false);
    mnuOrder_[size_t(index)]->setChecked(true);
    currentOrderEntry_ = index;
}

void Form1::sortAscending(bool ascending)
{
    ascending_ = ascending;
    sortView();
    setOrderMarks();
}

void Form1::sortByMenu(int column)
{
    checkOrderEntry(column);
    sortColumn_ = column;
    ascending_ = true;
    sortView();
    setOrderMarks();
}

void Form1::headerClicked(int column)
{
    sortColumn_ = column;
    ascending_ = !ascending_;
    sortView();
    setOrderMarks();
    checkOrderEntry(column);
}

void Form1::setReportMode(bool report)
{
    mnuView_[report ? 0 : 1]->setChecked(false);
    views_->setCurrentWidget(report ? static_cast<QWidget*>(table_) : list_);
    mnuView_[report ? 1 : 0]->setChecked(true);
    sortView();
}

void Form1::checkAll()
{
    catalogue_.checkAll();
    model_->checksChanged();
}

void Form1::uncheckAll()
{
    catalogue_.uncheckAll();
    model_->checksChanged();
}

void Form1::invertChecks()
{
    catalogue_.invertChecks();
    model_->checksChanged();
}

void Form1::toggleOption(int index)
{
    QAction* entry = mnuOption_[size_t(index)];
    switch (index) {
    case 0:
        table_->setShowGrid(entry->isChecked());
        break;
    case 1:
        table_->setMouseTracking(entry->isChecked());
        list_->setMouseTracking(entry->isChecked());
        break;
    case 2:
        // Flat headers: sections drawn without their button look.
        table_->horizontalHeader()->setStyleSheet(
            entry->isChecked() ? QStringLiteral("QHeaderView::section { border: none; border-right: 1px solid palette(mid);"
                                                " background: palette(base); padding: 2px 4px; }")
                               : QString());
        break;
    case 3: {
        QFont font = table_->horizontalHeader()->font();
        font.setWeight(entry->isChecked() ? QFont::Bold : QFont::Normal);
        table_->horizontalHeader()->setFont(font);
        break;
    }
    case 5:
        checkAll();
        break;
    case 6:
        uncheckAll();
        break;
    case 7:
        invertChecks();
        break;
    default:
        break;
    }
}

QAction* Form1::menuEntry(const QString& caption) const
{
    const QList<QAction*> all = findChildren<QAction*>();
    for (QAction* a : all) {
        if (a->text() == caption)
            return a;
    }
    return nullptr;
}

QToolButton* Form1::toolButton(const QString& key) const
{
    const auto found = buttons_.find(key);
    return found == buttons_.end() ? nullptr : found->second;
}

}  // namespace sonivo
