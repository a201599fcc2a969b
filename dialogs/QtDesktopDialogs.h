#pragma once
// The dialogs of the desktop: QFileDialog, QMessageBox and QInputDialog, titled
// "Sonivo" where the program gives no title of its own; printing on the default
// printer; QProgressDialog for long work.

#include "common/DesktopDialogs.h"

class QWidget;

namespace sonivo {

class QtDesktopDialogs final : public DesktopDialogs {
public:
    explicit QtDesktopDialogs(QWidget* owner) : owner_(owner) {}

    QString openFile(const QString& title, const FileFilter& filter, const QString& folder) override;
    QString saveFile(const QString& title, const FileFilter& filter, const QString& folder) override;
    QString chooseFolder(const QString& title, const QString& folder) override;
    Answer askYesNoCancel(const QString& text) override;
    Answer askYesNoToAll(const QString& text) override;
    std::optional<QString> inputText(const QString& prompt, const QString& title, const QString& text) override;
    void inform(const QString& text) override;
    void warn(const QString& text) override;
    void critical(const QString& text) override;
    bool openWithDesktop(const QString& file) override;
    QString saveFileNamed(const QString& title, const FileFilter& filter, const QString& folder, const QString& name) override;
    PrintOutcome printText(const QString& jobName, const QString& text) override;
    std::unique_ptr<WorkProgress> showProgress(const QString& text) override;
    bool openAddress(const QString& url) override;

private:
    QWidget* parentWindow() const;

    QWidget* owner_;
};

}  // namespace sonivo
