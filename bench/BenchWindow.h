#pragma once
// What the window benchmarks share: the offscreen platform unless
// QT_QPA_PLATFORM says otherwise, and services whose settings and key/value
// files are temporary ones, so that a run never touches the user's own.

#include "mainwindow/Form1.h"

#include <QTemporaryDir>

inline void offscreenUnlessAsked()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

inline sonivo::FormServices servicesIn(const QTemporaryDir& dir)
{
    sonivo::FormServices services;
    services.settingsFile = dir.filePath(QStringLiteral("sonivo.ini"));
    services.registryFile = dir.filePath(QStringLiteral("registry.ini"));
    return services;
}
