#pragma once
// "Copia &files nella cartella...": asks for the folder (the chooser starting in
// startFolder), copies the files with a progress dialog titled "Copia " and the
// folder, and says at the end how many went there and which were not copied and
// why. Returns the folder chosen, "" when none was.

#include <QStringList>

class QWidget;

namespace sonivo {

class DesktopDialogs;

QString copyFilesToFolder(QWidget* owner, DesktopDialogs& dialogs, const QStringList& files, const QString& startFolder);

}  // namespace sonivo
