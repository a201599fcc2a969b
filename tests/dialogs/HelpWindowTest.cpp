#include "dialogs/HelpWindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QHelpIndexWidget>
#include <QLineEdit>
#include <QTabWidget>
#include <QTextBrowser>
#include <QThread>

#include <gtest/gtest.h>

using namespace sonivo;

namespace {

const QString kCollection = QStringLiteral(SONIVO_HELP_COLLECTION);

// Runs events until the condition holds (the help engine reads its index in a thread).
template <typename Condition> bool eventually(Condition condition)
{
    QElapsedTimer timer;
    timer.start();
    while (!condition() && timer.elapsed() < 10000) {
        QApplication::processEvents();
        QThread::msleep(10);
    }
    return condition();
}

TEST(HelpWindow, TheSearchFindsAPageByKeyword)
{
    HelpWindow help(kCollection);
    help.showSearch();
    EXPECT_EQ(help.findChild<QTabWidget*>()->currentIndex(), 1) << "the keyword index, not the contents";
    auto* index = help.findChild<QHelpIndexWidget*>();
    ASSERT_TRUE(eventually([&] { return index->model() && index->model()->rowCount() > 20; }));
    help.searchLine()->setText(QStringLiteral("Sostituire"));
    ASSERT_TRUE(eventually([&] { return index->model()->rowCount() == 1; }));
    Q_EMIT help.searchLine()->returnPressed();
    EXPECT_TRUE(eventually([&] { return help.page().toString().endsWith(QStringLiteral("/pages/copia.html")); }))
        << help.page().toString().toStdString();
    EXPECT_TRUE(help.browser()->toPlainText().contains(QStringLiteral("Sì a tutti")));
    help.close();
}

TEST(HelpWindow, AMissingCollectionIsSaid)
{
    HelpWindow help(QStringLiteral("/nonexistent/sonivo.qhc"));
    help.showContents();
    EXPECT_TRUE(help.browser()->toPlainText().contains(QStringLiteral("La guida non è stata trovata"))) << help.browser()->toPlainText().toStdString();
    help.close();
}

}  // namespace
