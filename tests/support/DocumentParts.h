#pragma once
// A list document as a test without a window needs it: a folder of its own,
// scripted dialogs and the machine's drives.

#include "catalogue/ListDocument.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/TempFiles.h"

namespace sonivo::test {

struct DocumentParts {
    TempFiles files;
    ScriptedDialogs dialogs;
    DriveInfo drives{systemMountTable()};
    ListDocument doc{dialogs, drives};
};

}  // namespace sonivo::test
