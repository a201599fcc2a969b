#include "mainwindow/CatalogueView.h"

#include "analysis/clsMP3.h"
#include "dialogs/Twips.h"
#include "mainwindow/CatalogueHeader.h"
#include "mainwindow/CatalogueModel.h"
#include "mainwindow/ColumnWidths.h"
#include "mainwindow/Commands.h"

#include <QAction>
#include <QHeaderView>
#include <QKeyEvent>
#include <QListView>
#include <QStackedWidget>
#include <QTableView>
#include <QTimer>

namespace sonivo {
namespace {

// Design widths of the columns, in twips.
constexpr std::array<int, kColumnCount> kDesignWidths = {
    3000,
    900,
    1000,
    1440,
    400,
    600,
    700,
    1440,
    1440,
    1440,
    1440,
    1440,
    700,
    1440,
    1440,
    700,
    500,
    500,
    500,
    500,
    500,
    1000,
};

const QString kFlatSections = QStringLiteral(
    "QHeaderView::section { border: none; border-right: 1px solid palette(mid); background: palette(base); padding: 2px 4px;");

}  // namespace

CatalogueView::CatalogueView(SonivoApp& app, QWidget* parent)
    : QObject(parent), app_(app), catalogue_(app.catalogue()), model_(new CatalogueModel(catalogue_, this)), stack_(new QStackedWidget(parent)),
      table_(new QTableView(stack_)), list_(new QListView(stack_))
{
    model_->setIcons(&icons_.images());
    table_->setObjectName(QStringLiteral("ListView1"));
    table_->setAccessibleName(QStringLiteral("Catalogo dei brani"));
    table_->setModel(model_);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setWordWrap(false);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Tab leaves the catalogue for the player; the arrows move between cells.
    table_->setTabKeyNavigation(false);
    table_->setHorizontalHeader(new CatalogueHeader(table_));
    table_->verticalHeader()->hide();
    table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 6);
    QHeaderView* header = table_->horizontalHeader();
    header->setSectionsMovable(true);
    header->setSectionsClickable(true);
    header->setSortIndicatorShown(false);  // until the first sort
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    table_->setContextMenuPolicy(Qt::CustomContextMenu);
    list_->setAccessibleName(QStringLiteral("Catalogo dei brani (elenco)"));
    list_->setModel(model_);
    list_->setTabKeyNavigation(false);
    list_->setSelectionModel(table_->selectionModel());
    list_->setViewMode(QListView::ListMode);
    list_->setFlow(QListView::TopToBottom);
    list_->setWrapping(true);
    list_->setResizeMode(QListView::Adjust);
    list_->setUniformItemSizes(true);
    list_->setContextMenuPolicy(Qt::CustomContextMenu);
    stack_->addWidget(table_);
    stack_->addWidget(list_);
    for (int c = 0; c < kColumnCount; ++c)
        table_->setColumnWidth(c, kDesignWidths[size_t(c)] / twipsPerPixel(table_->logicalDpiX()));

    connect(header, &QHeaderView::sectionClicked, this, &CatalogueView::headerClicked);
    for (QAbstractItemView* view : {static_cast<QAbstractItemView*>(table_), static_cast<QAbstractItemView*>(list_)}) {
        view->installEventFilter(this);
        connect(view, &QAbstractItemView::clicked, this, &CatalogueView::rowClicked);
        connect(view, &QAbstractItemView::doubleClicked, this, &CatalogueView::openRequested);
        connect(view, &QAbstractItemView::entered, this, [this](const QModelIndex& index) {
            if (commands_ && command(Command::TrackSelection)->isChecked())
                table_->selectRow(index.row());
        });
    }
    connect(model_, &CatalogueModel::checkRequested, &app_, &SonivoApp::setChecked);
    // The row the keys moved to counts as clicked, once the keys rest: holding an
    // arrow down does not load every song on the way. A key that could not move
    // (Down on the last row) still selects and clicks the current row.
    keyMoveDone_ = new QTimer(this);
    keyMoveDone_->setSingleShot(true);
    keyMoveDone_->setInterval(200);
    connect(keyMoveDone_, &QTimer::timeout, this, [this] {
        const QModelIndex current = table_->currentIndex();
        if (current.isValid() && !table_->selectionModel()->isRowSelected(current.row(), {}))
            table_->selectRow(current.row());
        rowClicked(current);
    });
    // Rows added unsorted: the sort arrow no longer tells their order.
    connect(model_, &QAbstractItemModel::rowsInserted, this, [header] { header->setSortIndicatorShown(false); });
    // A selected row that goes takes the selection with it; the view would move
    // it to a neighbour the user never chose.
    connect(model_, &CatalogueModel::removalComing, this, [this](int first, int last) {
        const QModelIndexList selected = table_->selectionModel()->selectedRows();
        dropSelection_ = !selected.isEmpty() && selected.first().row() >= first && selected.first().row() <= last;
    });
    connect(model_, &QAbstractItemModel::rowsRemoved, this, [this] {
        if (std::exchange(dropSelection_, false))
            table_->selectionModel()->clearSelection();
    });
    connect(model_, &QAbstractItemModel::modelAboutToBeReset, this, &CatalogueView::rememberSelection);
    connect(model_, &QAbstractItemModel::modelReset, this, &CatalogueView::restoreSelection);
}

CatalogueView::~CatalogueView() = default;

void CatalogueView::setCommands(Commands& commands)
{
    commands_ = &commands;
    commands.run(Command::ListMode, this, &CatalogueView::showListMode);
    commands.run(Command::ReportMode, this, &CatalogueView::showReportMode);
    commands.run(Command::SortAscending, this, &CatalogueView::sortAscending);
    commands.run(Command::SortDescending, this, &CatalogueView::sortDescending);
    commands.run(Command::ShowGrid, this, &CatalogueView::applyGrid);
    commands.run(Command::TrackSelection, this, &CatalogueView::applyTracking);
    commands.run(Command::FlatHeader, this, &CatalogueView::applyHeaderStyle);
    commands.run(Command::BoldHeader, this, &CatalogueView::applyHeaderStyle);
    commands.run(Command::CheckAll, &app_, &SonivoApp::checkAll);
    commands.run(Command::UncheckAll, &app_, &SonivoApp::uncheckAll);
    commands.run(Command::InvertChecks, &app_, &SonivoApp::invertChecks);
}

QAction* CatalogueView::command(Command c) const
{
    return commands_->action(c);
}

void CatalogueView::applyInitialStyle()
{
    table_->setShowGrid(true);
    command(Command::ShowGrid)->setChecked(true);
    stack_->setCurrentWidget(table_);
}

void CatalogueView::rememberSelection()
{
    const QModelIndexList selected = table_->selectionModel()->selectedRows();
    const QModelIndex current = table_->currentIndex();
    selectedId_.reset();
    currentId_.reset();
    if (!selected.isEmpty())
        selectedId_ = catalogue_.id(selected.first().row());
    if (current.isValid())
        currentId_ = catalogue_.id(current.row());
}

void CatalogueView::restoreSelection()
{
    // After a reset that took other rows out, the same song stays selected.
    if (currentId_) {
        const qsizetype row = catalogue_.position(*currentId_);
        if (row != Catalogue::kGone)
            table_->selectionModel()->setCurrentIndex(model_->index(int(row), 0), QItemSelectionModel::NoUpdate);
    }
    if (selectedId_) {
        const qsizetype row = catalogue_.position(*selectedId_);
        if (row != Catalogue::kGone)
            table_->selectRow(int(row));
    }
    selectedId_.reset();
    currentId_.reset();
}

bool CatalogueView::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return QObject::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    const bool plain = (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    switch (key->key()) {
    case Qt::Key_Space:
        // Space toggles the current row's check mark, whichever cell is current.
        if (!plain)
            break;
        toggleCurrentCheck();
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (!plain || !table_->currentIndex().isValid())
            break;
        Q_EMIT openRequested();
        return true;
    case Qt::Key_F10:
        // Shift+F10, as the Menu key: the right-button menu at the current row.
        if (key->modifiers() != Qt::ShiftModifier)
            break;
        if (auto* view = qobject_cast<QAbstractItemView*>(watched))
            Q_EMIT view->customContextMenuRequested(view->visualRect(view->currentIndex()).center());
        return true;
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_Left:
    case Qt::Key_Right: keyMoveDone_->start(); break;
    default: break;
    }
    return QObject::eventFilter(watched, event);
}

void CatalogueView::toggleCurrentCheck()
{
    const QModelIndex current = table_->currentIndex();
    if (!current.isValid())
        return;
    const QModelIndex box = model_->index(current.row(), ColFileName);
    const bool checked = box.data(Qt::CheckStateRole).value<Qt::CheckState>() == Qt::Checked;
    model_->setData(box, checked ? Qt::Unchecked : Qt::Checked, Qt::CheckStateRole);
}

void CatalogueView::rowClicked(const QModelIndex& index)
{
    const bool selected = index.isValid() && table_->selectionModel()->isRowSelected(index.row(), {});
    if (index.isValid()) {
        const QString type = clsMP3::Tipo(catalogue_.row(index.row()).fullName());
        command(Command::OpenSongExternally)->setText(QStringLiteral("Apri ") + type + QStringLiteral("..."));
    }
    command(Command::OpenSongExternally)->setEnabled(selected);
    if (index.isValid())
        app_.rowClicked(index.row());
}

qsizetype CatalogueView::selectedCurrentRow() const
{
    const QModelIndex current = table_->currentIndex();
    return current.isValid() && table_->selectionModel()->isRowSelected(current.row(), {}) ? current.row() : -1;
}

void CatalogueView::clearIcons()
{
    icons_.clear();
}

void CatalogueView::refreshIcons()
{
    icons_.refreshIcons(catalogue_);
    resizeColumnHeaders();
}

void CatalogueView::resizeColumnHeaders()
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
    const std::array<qsizetype, kColumnCount> widestRow = widestRows(catalogue_, cells);
    for (int c = 0; c < kColumnCount; ++c) {
        const QModelIndex widest = model_->index(int(widestRow[size_t(c)]), c);
        const int cell = table_->itemDelegate()->sizeHint(option, widest).width() + 2;
        int width = std::max(cell, header->sectionSizeHint(c));
        // A long name takes no more than a share of the view, so the columns after it show too.
        if (c == ColFileName)
            width = std::min(width, std::max(header->sectionSizeHint(c), table_->viewport()->width() * 2 / 5));
        table_->setColumnWidth(c, width);
        if (c == ColFileName) {
            // List mode lays its items out in cells of one size: the widest name's,
            // as high as the icons it draws, which are the style's list icons.
            QStyleOptionViewItem listOption = option;
            const int icon = list_->style()->pixelMetric(QStyle::PM_ListViewIconSize, nullptr, list_);
            listOption.decorationSize = list_->iconSize().isValid() ? list_->iconSize() : QSize(icon, icon);
            const QSize item = list_->itemDelegate()->sizeHint(listOption, widest);
            list_->setGridSize(QSize(item.width() + 8, item.height()));
        }
    }
    // The header is drawn again for the new widths now, with the rows, not when
    // the view next scrolls.
    header->viewport()->update();
}

// --- view modes and sorting ------------------------------------------------

void CatalogueView::setReportMode(bool report)
{
    command(report ? Command::ListMode : Command::ReportMode)->setChecked(false);
    stack_->setCurrentWidget(report ? static_cast<QWidget*>(table_) : list_);
    command(report ? Command::ReportMode : Command::ListMode)->setChecked(true);
    sortView();
}

void CatalogueView::sortView()
{
    catalogue_.sortBy(sortColumn_, ascending_);
    QHeaderView* header = table_->horizontalHeader();
    header->setSortIndicatorShown(true);
    header->setSortIndicator(sortColumn_, ascending_ ? Qt::AscendingOrder : Qt::DescendingOrder);
}

void CatalogueView::setOrderMarks()
{
    command(Command::SortAscending)->setChecked(ascending_);
    command(Command::SortDescending)->setChecked(!ascending_);
}

void CatalogueView::checkOrderEntry(int entry)
{
    orderEntries_[size_t(currentOrderEntry_)]->setChecked(false);
    orderEntries_[size_t(entry)]->setChecked(true);
    currentOrderEntry_ = entry;
}

void CatalogueView::setOrder(bool ascending)
{
    ascending_ = ascending;
    sortView();
    setOrderMarks();
}

void CatalogueView::sortByEntry(int entry)
{
    checkOrderEntry(entry);
    sortColumn_ = entry;
    ascending_ = true;
    sortView();
    setOrderMarks();
}

void CatalogueView::headerClicked(int column)
{
    sortColumn_ = column;
    ascending_ = !ascending_;
    sortView();
    setOrderMarks();
    checkOrderEntry(column);
}

// --- display options and check marks ----------------------------------------

void CatalogueView::applyGrid()
{
    table_->setShowGrid(command(Command::ShowGrid)->isChecked());
}

void CatalogueView::applyTracking()
{
    const bool on = command(Command::TrackSelection)->isChecked();
    table_->setMouseTracking(on);
    list_->setMouseTracking(on);
}

void CatalogueView::applyHeaderStyle()
{
    // Both marks decide the header together: a style sheet sets the font of the
    // sections it draws, so the weight goes into it as well as into the font.
    const bool bold = command(Command::BoldHeader)->isChecked();
    QHeaderView* header = table_->horizontalHeader();
    QFont font = header->font();
    font.setWeight(bold ? QFont::Bold : QFont::Normal);
    header->setFont(font);
    header->setStyleSheet(command(Command::FlatHeader)->isChecked()
            ? kFlatSections + (bold ? QStringLiteral(" font-weight: bold; }") : QStringLiteral(" font-weight: normal; }"))
            : QString());
}

}  // namespace sonivo
