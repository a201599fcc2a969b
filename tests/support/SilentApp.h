#pragma once
// The program without a window, as its tests need it: a folder of its own,
// scripted dialogs, and the player on the silent output with a clock the test moves.

#include "application/SonivoApp.h"
#include "tests/support/MediaFixtures.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/TempFiles.h"

#include <gtest/gtest.h>

namespace sonivo::test {

class SilentApp : public ::testing::Test {
protected:
    TempFiles files;
    ScriptedDialogs dialogs;
    std::shared_ptr<ManualClock> clock = std::make_shared<ManualClock>();
    SonivoApp app{dialogs, systemMountTable(),
        [this] { return std::make_unique<AudioMediaControl>(AudioOptions{AudioOptions::Output::Null, clock}); }};
    Catalogue& catalogue = app.catalogue();
    Transport& transport = app.transport();
};

}  // namespace sonivo::test
