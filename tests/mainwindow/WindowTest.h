#pragma once
// What a test of the main window starts from: a folder of its own for the
// settings and the key/value store, and scripted dialogs.

#include "mainwindow/Form1.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/TempFiles.h"

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
};

}  // namespace sonivo::test
