#pragma once
// "Sonivo - Opzioni": the list-file association, the launchers on the desktop
// and in the applications menu, and the start-maximized option. Each box acts
// when the user clicks it and shows, at every opening and after every click,
// the state found on disk. Opening writes again, for this program, what a
// ticked box stands for where it differs, and removes nothing.

#include "platform/DesktopIntegration.h"

#include <QDialog>
#include <functional>
#include <map>

class QCheckBox;

namespace sonivo {

class DesktopDialogs;

class frmOption final : public QDialog {
public:
    // openHelp shows the help's contents (the help picture's click).
    frmOption(DesktopIntegration& desktop, DesktopDialogs& dialogs, std::function<void()> openHelp, QWidget* parent = nullptr);

    QCheckBox* box(DesktopOption option) const { return boxes_.at(option); }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void showState();
    void clicked(DesktopOption option, bool on);

    DesktopIntegration& desktop_;
    DesktopDialogs& dialogs_;
    std::map<DesktopOption, QCheckBox*> boxes_;
};

}  // namespace sonivo
