#pragma once
// A home folder as a desktop user has it, for the desktop integration: the
// configuration and data folders and a desktop, in a folder of the test's own;
// the caches are never refreshed for real.

#include "platform/DesktopIntegration.h"
#include "tests/support/TempFiles.h"

#include <QDir>

namespace sonivo::test {

struct DesktopHome {
    explicit DesktopHome(const QString& program = QStringLiteral("/usr/bin/sonivo"))
    {
        for (const char* folder : {"home/.config/sonivo", "home/.local/share/applications", "home/Desktop"})
            QDir().mkpath(files.path(QString::fromLatin1(folder)));
        setup.folders = {home(), home() + QStringLiteral("/.config"), home() + QStringLiteral("/.local/share"), home() + QStringLiteral("/Desktop")};
        setup.program = program;
        setup.icon = QStringLiteral("sonivo");
        setup.registryFile = home() + QStringLiteral("/.config/sonivo/registry.ini");
        setup.runTool = [](const QString&, const QStringList&) {};
    }
    QString home() const { return files.path(QStringLiteral("home")); }

    TempFiles files;
    DesktopSetup setup;
};

}  // namespace sonivo::test
