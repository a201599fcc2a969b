#pragma once
// "Informazioni su Sonivo": the program's icon, name, purpose and version, and a
// picture that opens the web site.

#include <QDialog>

namespace sonivo {

class DesktopDialogs;

class frmAbout final : public QDialog {
public:
    // version: "Sonivo - Versione 1.3.0".
    frmAbout(const QString& version, DesktopDialogs& dialogs, QWidget* parent = nullptr);
};

}  // namespace sonivo
