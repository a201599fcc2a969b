#pragma once
// "Copia &files nella cartella...": asks for the folder, copies the files with a
// progress dialog titled "Copia " and the folder, and says at the end which
// files were not copied and why.

#include <QStringList>

class QWidget;

namespace sonivo {

class DesktopDialogs;

void copyFilesToFolder(QWidget* owner, DesktopDialogs& dialogs, const QStringList& files);

}  // namespace sonivo
