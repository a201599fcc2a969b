#pragma once
// What a test of the main window starts from: a folder of its own for the
// settings and the key/value store, scripted dialogs, and a look at the
// dialogs its commands open.

#include "mainwindow/Form1.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/TempFiles.h"

#include <QApplication>
#include <functional>
#include <gtest/gtest.h>

namespace sonivo::test {

class WindowTest : public testing::Test {
protected:
    TempFiles files;
    ScriptedDialogs dialogs;

    FormServices services()
    {
        FormServices s;
        s.dialogs = &dialogs;
        s.settingsFile = files.path(QStringLiteral("config/sonivo.ini"));
        s.registryFile = files.path(QStringLiteral("config/registry.ini"));
        return s;
    }

    // Runs the command; act is given the window-modal dialog it opens, which is
    // closed afterwards if act left it open. The dialog's title, empty if none opened.
    static QString withModal(const std::function<void()>& run, const std::function<void(QWidget&)>& act = {})
    {
        run();
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal)
            return {};
        EXPECT_EQ(modal->windowModality(), Qt::WindowModal) << "the window waits, the rest of the desktop does not";
        const QString title = modal->windowTitle();
        if (act)
            act(*modal);
        if (modal->isVisible())
            modal->close();
        return title;
    }
};

}  // namespace sonivo::test
