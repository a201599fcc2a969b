#include "dialogs/QtDesktopDialogs.h"

#include <QApplication>
#include <QDialog>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using namespace sonivo;

namespace {

// The window a message box was raised over, once it is closed.
QWidget* boxParent(QtDesktopDialogs& dialogs)
{
    QWidget* parent = nullptr;
    QTimer::singleShot(0, [&] {
        if (auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            parent = box->parentWidget();
            box->reject();
        }
    });
    dialogs.inform(QStringLiteral("Fatto."));
    return parent;
}

void activate(QWidget& window)
{
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
}

}  // namespace

TEST(QtDesktopDialogsTest, ABoxReturnsToTheProgramsWindowItWasRaisedFrom)
{
    QWidget main;
    QtDesktopDialogs dialogs(&main);
    activate(main);
    EXPECT_EQ(boxParent(dialogs), &main);

    QWidget editor(&main, Qt::Window);  // as the tag editor is
    activate(editor);
    EXPECT_EQ(boxParent(dialogs), &editor) << "closing the box brings back the editor, not the main window";

    QWidget stranger;  // a window that is not the program's main window's
    activate(stranger);
    EXPECT_EQ(boxParent(dialogs), &main);
}
