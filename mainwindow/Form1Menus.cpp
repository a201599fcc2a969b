// The main window's menu bar, toolbar and status line.

#include "mainwindow/Form1.h"

#include "catalogue/Totals.h"

#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QStatusBar>
#include <QStyle>
#include <QTableView>
#include <QToolBar>
#include <QToolButton>

namespace sonivo {
namespace {

// Adds the entries of an array to a menu, "-" making a separator; separators are
// entries too, so that indices match the array's.
template <size_t N>
void addEntries(QMenu* menu, std::array<QAction*, N>& entries, const std::array<const char*, N>& captions)
{
    for (size_t i = 0; i < N; ++i) {
        const QString caption = QString::fromUtf8(captions[i]);
        entries[i] = caption == QLatin1String("-") ? menu->addSeparator() : menu->addAction(caption);
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
                  {"&Nuova lista", "&Apri lista... ", "&Salva lista", "Sal&va lista con nome...", "-",
                   "Aggiungi &cartella singola", "A&ggiungi cartella e sottocartelle", "-", "&Esci"});
    connect(mnuFile_[0], &QAction::triggered, this, [this] { newList(); });
    connect(mnuFile_[1], &QAction::triggered, this, [this] { openList(); });
    connect(mnuFile_[2], &QAction::triggered, this, [this] { saveList(); });
    connect(mnuFile_[3], &QAction::triggered, this, [this] { saveListAs(); });
    connect(mnuFile_[5], &QAction::triggered, this, [this] { addFolder(false); });
    connect(mnuFile_[6], &QAction::triggered, this, [this] { addFolder(true); });
    connect(mnuFile_[8], &QAction::triggered, this, &QWidget::close);

    editMenu_ = menuBar()->addMenu(QStringLiteral("&Modifica"));
    addEntries<2>(editMenu_, mnuTag_, {"Visualizza Tag", "-"});
    addEntries<2>(editMenu_, mnuView_, {"Modalità &Lista", "Modalità &Report"});
    for (size_t i = 0; i < 2; ++i) {
        mnuView_[i]->setCheckable(true);
        connect(mnuView_[i], &QAction::triggered, this, [this, i] { setReportMode(i == 1); });
    }
    editMenu_->addSeparator();
    mnuSortAZ_ = editMenu_->addAction(QStringLiteral("Ordine &Crescente"));
    mnuSortZA_ = editMenu_->addAction(QStringLiteral("Ordine &Decrescente"));
    mnuSortAZ_->setCheckable(true);
    mnuSortZA_->setCheckable(true);
    connect(mnuSortAZ_, &QAction::triggered, this, [this] { sortAscending(true); });
    connect(mnuSortZA_, &QAction::triggered, this, [this] { sortAscending(false); });
    editMenu_->addSeparator();
    orderMenu_ = editMenu_->addMenu(QStringLiteral("&Ordina per..."));
    addEntries<4>(editMenu_, mnuCopy_, {"-", "Copia &files nella cartella...", "-", "&Elimina files selezionati"});

    QMenu* search = menuBar()->addMenu(QStringLiteral("&Ricerca"));
    addEntries<5>(search, mnuRicerca_, {"&Brano", "&Cartella", "&Album", "-", "&Mostra tutti"});

    QMenu* options = menuBar()->addMenu(QStringLiteral("&Opzioni"));
    addEntries<8>(options, mnuOption_,
                  {"&Visualizza griglia", "&Traccia selezione", "&Intestazione flat", "&Carattere grassetto", "-",
                   "&Seleziona tutti", "&Deseleziona tutti", "I&nverti selezione"});
    for (size_t i = 0; i < 8; ++i) {
        mnuOption_[i]->setCheckable(i < 4);
        connect(mnuOption_[i], &QAction::triggered, this, [this, i] { toggleOption(int(i)); });
    }

    QMenu* player = menuBar()->addMenu(QStringLiteral("&Player"));
    addEntries<9>(player, mnuPlayer_,
                  {"&Play", "P&ausa", "&Stop", "-", "Brano p&recedente", "Brano s&uccessivo", "-",
                   "Apri brano con player esterno...", "Apri lista con player esterno..."});
    mnuPlayer_[7]->setEnabled(false);
    mnuPlayer_[8]->setEnabled(false);

    QMenu* report = menuBar()->addMenu(QStringLiteral("&Report"));
    addEntries<3>(report, mnuReport_, {"&Stampa lista", "&Crea lista Html", "&File lista mp3"});

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Guida"));
    addEntries<6>(help, mnuHelp_, {"&Guida in linea", "&Cerca...", "-", "&Sito Sonivo", "-", "&Informazioni..."});

    // Never in the bar: the play queue's right-button menu.
    auto* pop = new QMenu(QStringLiteral("Popup"), this);
    addEntries<2>(pop, mnuPop_, {"Rimuovi brano", "Rimuovi tutti"});
    lstPlay_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(lstPlay_, &QWidget::customContextMenuRequested, this,
            [this, pop](const QPoint& at) { pop->popup(lstPlay_->viewport()->mapToGlobal(at)); });
}

void Form1::buildSortMenu()
{
    // One entry per display position, captioned with the header shown there.
    orderMenu_->clear();
    const QHeaderView* header = table_->horizontalHeader();
    for (int p = 0; p < kColumnCount; ++p) {
        const int column = header->logicalIndex(p);
        QAction* entry = orderMenu_->addAction(columnCaptions().at(column).left(32));
        entry->setCheckable(true);
        mnuOrder_[size_t(p)] = entry;
        connect(entry, &QAction::triggered, this, [this, p] { sortByMenu(p); });
    }
    mnuOrder_[size_t(currentOrderEntry_)]->setChecked(true);
}

void Form1::buildToolbar()
{
    QToolBar* bar = addToolBar(QStringLiteral("Toolbar1"));
    bar->setObjectName(QStringLiteral("Toolbar1"));
    bar->setMovable(false);
    bar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    auto button = [&](const QString& key, const QIcon& picture, auto click) {
        auto* b = new QToolButton(bar);
        b->setObjectName(key);
        b->setText(key);
        b->setToolTip(key);
        b->setIcon(picture);
        b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        connect(b, &QToolButton::clicked, this, click);
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
    button(QStringLiteral("Apri"), icon("document-open", QStyle::SP_DialogOpenButton), [this] { openList(); });
    button(QStringLiteral("Nuovo"), icon("document-new", QStyle::SP_FileIcon), [this] { newList(); });
    button(QStringLiteral("Salva"), icon("document-save", QStyle::SP_DialogSaveButton),
           [this] { listPath_.isEmpty() ? saveListAs() : saveList(); });
    bar->addSeparator();
    QToolButton* add = button(QStringLiteral("Aggiungi"), icon("folder-new", QStyle::SP_FileDialogNewFolder), [this] { addFolder(false); });
    dropDown(add, {{"Cartella singola", mnuFile_[5]}, {"Cartella e sottocartelle", mnuFile_[6]}});
    QToolButton* find = button(QStringLiteral("Trova"), icon("edit-find", QStyle::SP_FileDialogContentsView),
                               [this] { mnuRicerca_[0]->trigger(); });
    dropDown(find, {{"Brano", mnuRicerca_[0]}, {"Cartella", mnuRicerca_[1]}, {"Album", mnuRicerca_[2]}});
    QToolButton* print = button(QStringLiteral("Stampa"), icon("document-print", QStyle::SP_FileDialogDetailedView),
                                [this] { mnuReport_[0]->trigger(); });
    dropDown(print, {{"Stampa lista", mnuReport_[0]}, {"Crea lista Html", mnuReport_[1]}, {"File lista mp3", mnuReport_[2]}});
    bar->addSeparator();
    // The options dialog and the about box come with their own windows later.
    button(QStringLiteral("Opzioni"), icon("preferences-system", QStyle::SP_FileDialogListView), [] {});
    button(QStringLiteral("Informazioni"), icon("help-about", QStyle::SP_MessageBoxInformation), [] {});
    button(QStringLiteral("Esci"), icon("application-exit", QStyle::SP_DialogCloseButton), [this] { close(); });
}

void Form1::buildStatusBar()
{
    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("StatusBar1"));
    bar->setSizeGripEnabled(true);
    for (size_t i = 0; i < 3; ++i) {
        panels_[i] = new QLabel(bar);
        panels_[i]->setFrameShape(QFrame::StyledPanel);
        panels_[i]->setFrameShadow(QFrame::Sunken);
    }
    loadingPicture_ = new QLabel(bar);
    loadingPicture_->setPixmap(icon("process-working", QStyle::SP_BrowserReload).pixmap(16, 16));
    loadingPicture_->hide();
    panels_[0]->setText(versionText());
    bar->addWidget(panels_[0]);
    bar->addWidget(loadingPicture_);
    bar->addWidget(panels_[1]);
    bar->addWidget(panels_[2]);
}

}  // namespace sonivo
