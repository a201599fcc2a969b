#include "dialogs/HelpWindow.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QHelpContentModel>
#include <QHelpContentWidget>
#include <QHelpEngine>
#include <QHelpIndexWidget>
#include <QHelpLink>
#include <QLabel>
#include <QLineEdit>
#include <QSplitter>
#include <QTabWidget>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace sonivo {
namespace {

const QUrl kFirstPage(QStringLiteral("qthelp://org.sonivo.guida/guida/pages/index.html"));

// Shows pages and their pictures from the help file.
class HelpBrowser final : public QTextBrowser {
public:
    HelpBrowser(QHelpEngine& engine, QWidget* parent) : QTextBrowser(parent), engine_(engine) {}

    QVariant loadResource(int type, const QUrl& url) override
    {
        if (url.scheme() == QLatin1String("qthelp"))
            return engine_.fileData(url);
        return QTextBrowser::loadResource(type, url);
    }

private:
    QHelpEngine& engine_;
};

}  // namespace

HelpWindow::HelpWindow(const QString& collection, QWidget* parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("helpWindow"));
    setWindowTitle(QStringLiteral("Guida di Sonivo"));
    resize(900, 600);
    engine_ = new QHelpEngine(collection, this);
    engine_->setReadOnly(true);
    ready_ = QFileInfo::exists(collection) && engine_->setupData();

    tabs_ = new QTabWidget(this);
    QHelpContentWidget* contents = engine_->contentWidget();
    contents->setAccessibleName(QStringLiteral("Sommario"));
    tabs_->addTab(contents, QStringLiteral("&Sommario"));

    auto* indexPage = new QWidget(this);
    auto* indexLayout = new QVBoxLayout(indexPage);
    auto* label = new QLabel(QStringLiteral("&Cerca la parola:"), indexPage);
    search_ = new QLineEdit(indexPage);
    search_->setObjectName(QStringLiteral("helpSearchLine"));
    label->setBuddy(search_);
    QHelpIndexWidget* index = engine_->indexWidget();
    index->setAccessibleName(QStringLiteral("Indice"));
    indexLayout->addWidget(label);
    indexLayout->addWidget(search_);
    indexLayout->addWidget(index);
    indexPage->setFocusProxy(search_);  // the tab, once chosen, takes the typing
    tabs_->addTab(indexPage, QStringLiteral("&Indice"));

    browser_ = new HelpBrowser(*engine_, this);
    browser_->setObjectName(QStringLiteral("helpPage"));
    browser_->setAccessibleName(QStringLiteral("Pagina della guida"));

    auto* splitter = new QSplitter(this);
    splitter->addWidget(tabs_);
    splitter->addWidget(browser_);
    splitter->setStretchFactor(1, 3);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(splitter);

    connect(contents, &QHelpContentWidget::linkActivated, this, &HelpWindow::open);
    connect(engine_->contentModel(), &QHelpContentModel::contentsCreated, contents, &QTreeView::expandAll);
    connect(index, &QHelpIndexWidget::documentActivated, this, [this](const QHelpLink& link) { open(link.url); });
    connect(search_, &QLineEdit::textChanged, index, [index](const QString& text) { index->filterIndices(text); });
    connect(search_, &QLineEdit::returnPressed, index, &QHelpIndexWidget::activateCurrentItem);

    if (ready_)
        open(kFirstPage);
    else
        browser_->setHtml(QStringLiteral("<p>La guida non è stata trovata: %1</p>").arg(collection.toHtmlEscaped()));
}

HelpWindow::~HelpWindow() = default;

QString HelpWindow::installedCollection()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/../share/sonivo/help/sonivo.qhc");
}

void HelpWindow::showContents()
{
    tabs_->setCurrentIndex(0);
    open(kFirstPage);
    show();
    raise();
    activateWindow();
}

void HelpWindow::showSearch()
{
    tabs_->setCurrentIndex(1);
    show();
    raise();
    activateWindow();
    search_->setFocus();
    search_->selectAll();
}

QUrl HelpWindow::page() const
{
    return browser_->source();
}

void HelpWindow::open(const QUrl& url)
{
    if (ready_)
        browser_->setSource(url);
}

}  // namespace sonivo
