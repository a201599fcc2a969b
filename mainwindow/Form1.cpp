#include "mainwindow/Form1.h"

#include "audio/AudioMediaControl.h"
#include "dialogs/QtDesktopDialogs.h"
#include "dialogs/Twips.h"
#include "mainwindow/CatalogueView.h"
#include "mainwindow/Commands.h"
#include "mainwindow/FileCommands.h"
#include "mainwindow/HelpCommands.h"
#include "mainwindow/PlayerPanel.h"
#include "mainwindow/ScanProgressFrame.h"
#include "mainwindow/StatusLine.h"
#include "mainwindow/WindowLayout.h"
#include "platform/IniFile.h"
#include "platform/KeyValueStore.h"
#include "platform/RegistryEntries.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QGroupBox>
#include <QListView>
#include <QMenuBar>
#include <QScreen>
#include <QSlider>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTableView>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QWindow>

// The program's pictures, in the window's library.
static void initResources()
{
    Q_INIT_RESOURCE(sonivo);
}

namespace sonivo {
namespace {

const QString kSection = QStringLiteral("Opzioni");

// A stored window size in twips, when it is a number a screen can show.
std::optional<int> sizeSetting(const QString& text, int screenTwips)
{
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (!ok || value < 1 || value > 4.0 * screenTwips)
        return std::nullopt;
    return int(value);
}

// The services with the user's own files where none were given.
FormServices withDefaultFiles(FormServices services)
{
    if (services.settingsFile.isEmpty())
        services.settingsFile = IniFile::defaultPath();
    if (services.registryFile.isEmpty())
        services.registryFile = KeyValueStore::defaultPath();
    return services;
}

}  // namespace

Form1::Form1(FormServices services, QWidget* parent)
    : QMainWindow(parent), services_(withDefaultFiles(std::move(services))),
      ownDialogs_(services_.dialogs ? nullptr : std::make_unique<QtDesktopDialogs>(this)),
      dialogs_(services_.dialogs ? *services_.dialogs : *ownDialogs_),
      app_(new SonivoApp(dialogs_, services_.mounts ? *services_.mounts : systemMountTable(),
          [audio = services_.audio] { return std::make_unique<AudioMediaControl>(audio); }, this)),
      desktop_(services_.desktop.value_or(DesktopSetup::forThisProgram(services_.registryFile))),
      framain_(new ScanProgressFrame)
{
    setObjectName(QStringLiteral("Form1"));
    initResources();
    setWindowIcon(QIcon(QStringLiteral(":/sonivo/sonivo.png")));

    auto* client = new QWidget(this);
    setCentralWidget(client);
    view_ = new CatalogueView(*app_, client);
    player_ = new PlayerPanel(app_->transport(), app_->catalogue(), client);
    framain_->setParent(client);
    framain_->hide();
    status_ = std::make_unique<StatusLine>(statusBar());
    files_ = new FileCommands(*app_, dialogs_, *status_, *framain_, this);
    help_ = new HelpCommands(dialogs_, this);
    commands_ = new Commands(this);

    buildMenus();
    buildToolbar();
    connectView();
    orderTabStops();
    ListDocument* document = &app_->document();
    connect(framain_, &ScanProgressFrame::cancelRequested, document, &ListDocument::stopScan);
    connect(document, &ListDocument::workStarted, this, [this](ListDocument::Work work) {
        if (work == ListDocument::Work::Scanning)
            setScanning(true);
    });
    connect(document, &ListDocument::workFinished, this, [this](ListDocument::Work work) {
        if (work == ListDocument::Work::Scanning)
            setScanning(false);
        if (std::exchange(closeAfterWork_, false))
            QTimer::singleShot(0, this, &QWidget::close);  // the close asked for during the scan or the read
    });

    resize(toPixels(kMinWindowWidth), toPixels(kMinWindowHeight));
    setWindowTitle(document->title());
}

Form1::~Form1()
{
    // The dialogs and the tag editor work on the application object, which as the
    // first child would go before them: they go first.
    for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (child->isWindow())
            delete child;
}

void Form1::orderTabStops()
{
    // From the catalogue (either mode) to the player's buttons, its slider and
    // the queue; Shift+Tab goes back the same way.
    std::vector<QWidget*> chain = {view_->reportView(), view_->listView()};
    for (int i = 0; i < 5; ++i)
        chain.push_back(player_->transportButton(i));
    chain.push_back(player_->slider());
    chain.push_back(player_->queueView());
    for (size_t i = 1; i < chain.size(); ++i)
        QWidget::setTabOrder(chain[i - 1], chain[i]);
}

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
    view_->applyInitialStyle();
    status_->showStart();
    buildSortMenu();

    app_->setReadId3v2(desktop_.isOn(DesktopOption::ReadId3v2));
    if (RegistryEntries(services_.registryFile).startMaximized())
        setWindowState(windowState() | Qt::WindowMaximized);
    applyEnablingRules();  // before the window shows, not at the timer's first tick
    if (commandLine.isEmpty())
        return;
    show();
    files_->loadAtStart(commandLine);
    applyEnablingRules();
}

void Form1::openFromOutside(const QString& path)
{
    if (isMinimized())
        showNormal();
    raise();
    activateWindow();
    if (path.isEmpty())
        return;
    files_->openFromOutside(path);
    applyEnablingRules();
}

void Form1::restorePlacement()
{
    if (!QFileInfo::exists(services_.settingsFile)) {
        // The first start: most of the screen, the frame counted once it is known.
        const QSize screen = this->screen() ? this->screen()->availableSize() : QSize(1920, 1080);
        restoredOuterSize_ = firstWindowSize(screen, QSize(toPixels(kMinWindowWidth), toPixels(kMinWindowHeight)));
        fitOuterSize();
        return;
    }
    const IniFile settings(services_.settingsFile);
    auto setting = [&settings](const char* key) { return settings.value(kSection, QString::fromLatin1(key)).value_or(QString()); };
    const int maximized = setting("Maximized").trimmed().toInt();
    if (maximized == 1) {
        setWindowState(windowState() | Qt::WindowMaximized);
        return;
    }
    if (maximized != 0)
        return;
    const QSize screen = this->screen() ? this->screen()->availableSize() : QSize(1920, 1080);
    // A missing, unreadable or impossible size keeps the design size.
    const std::optional<int> w = sizeSetting(setting("Width"), toTwips(screen.width()));
    const std::optional<int> h = sizeSetting(setting("Height"), toTwips(screen.height()));
    if (!w || !h)
        return;
    restoredOuterSize_ = QSize(std::min(toPixels(*w), screen.width()), std::min(toPixels(*h), screen.height()));
    fitOuterSize();
}

void Form1::fitOuterSize()
{
    // The window manager's frame is known only once the window is shown; until
    // then the stored outer size is taken for the window itself. The limits are
    // outer sizes too: the design's minimum and the screen.
    const QMargins frame = windowHandle() ? windowHandle()->frameMargins() : QMargins();
    const QSize border(frame.left() + frame.right(), frame.top() + frame.bottom());
    const QSize screen = this->screen() ? this->screen()->availableSize() : QSize(1920, 1080);
    const QSize minimum(toPixels(kMinWindowWidth), toPixels(kMinWindowHeight));
    setMinimumSize(minimum.boundedTo(screen) - border);
    setMaximumSize(screen - border);
    if (restoredOuterSize_)
        resize((*restoredOuterSize_ - border).expandedTo(QSize(1, 1)));
}

void Form1::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    // Once the frame is there, the restored size and the limits count it, so the
    // window does not grow by its frame at every start.
    QTimer::singleShot(200, this, [this] {
        if (isMaximized())
            restoredOuterSize_.reset();
        fitOuterSize();
        restoredOuterSize_.reset();
    });
}

void Form1::savePlacement()
{
    IniFile settings(services_.settingsFile);
    settings.setValue(kSection, QStringLiteral("Maximized"), isMaximized() ? QStringLiteral("1") : QStringLiteral("0"));
    settings.setValue(kSection, QStringLiteral("Width"), QString::number(toTwips(frameGeometry().width())));
    settings.setValue(kSection, QStringLiteral("Height"), QString::number(toTwips(frameGeometry().height())));
    if (!settings.save())
        dialogs_.warn(QStringLiteral("La posizione della finestra non è stata salvata in ") + settings.path() + QStringLiteral(": ")
            + settings.error() + QStringLiteral(". Il file delle impostazioni è rimasto com'era."));
}

void Form1::setScanning(bool scanning)
{
    const std::initializer_list<QWidget*> parts = {menuBar(), toolbar_, view_->widget(), player_->frame(), player_->queueView()};
    if (scanning)
        focusBeforeScan_ = QApplication::focusWidget();
    for (QWidget* w : parts)
        w->setEnabled(!scanning);
    // Disabling took the keyboard's focus away: it comes back where it was, else to the catalogue.
    if (!scanning)
        (focusBeforeScan_ ? focusBeforeScan_.data() : view_->widget()->currentWidget())->setFocus();
}

void Form1::closeEvent(QCloseEvent* event)
{
    ListDocument& document = app_->document();
    if (document.isScanning() || document.isLoading()) {
        // The scan stops after its current file, a read at once with the rows
        // as they were; the window closes when it has, with the usual question
        // about the changes.
        closeAfterWork_ = true;
        if (document.isScanning())
            document.stopScan();
        else
            document.stopLoad();
        event->ignore();
        return;
    }
    if (!document.confirmDiscard()) {
        event->ignore();
        return;
    }
    app_->shutdown();
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
    const int toolbar = client->y() - menuBar()->height();
    const int clientWidth = toTwips(client->width());
    const int clientHeight = toTwips(client->height() + statusBar()->height() + toolbar);
    const WindowLayout l = layoutFor(clientWidth + 120, clientHeight + 810, toTwips(toolbar + client->height()));
    auto place = [&](QWidget* w, const QRect& r) {
        w->setGeometry(toPixels(r.x()), toPixels(r.y()) - toolbar, toPixels(r.width()), toPixels(r.height()));
    };
    QRect view = l.catalogueView;
    view.moveTop(toTwips(toolbar));
    view.setHeight(l.catalogueView.bottom() - toTwips(toolbar));
    place(view_->widget(), view);
    place(player_->frame(), l.playerFrame);
    place(player_->queueView(), l.playQueue);
    status_->setWidths(toPixels(l.statusPanel[1]), toPixels(l.statusPanel[2]));
    // The scan's frame stays centred on the view.
    const QWidget* v = view_->widget();
    const QSize f = framain_->sizeHint().expandedTo(QSize(toPixels(4575), toPixels(2040)));
    framain_->setGeometry(v->x() + v->width() / 2 - f.width() / 2, v->y() + v->height() / 2 - f.height() / 2, f.width(), f.height());
}

QAction* Form1::action(const QString& name) const
{
    return findChild<QAction*>(name);
}

QToolButton* Form1::toolButton(const QString& key) const
{
    const auto found = buttons_.find(key);
    return found == buttons_.end() ? nullptr : found->second;
}

}  // namespace sonivo
