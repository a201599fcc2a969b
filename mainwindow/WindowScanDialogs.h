#pragma once
// The folder scan's questions asked with the window's dialogs, and its progress
// shown in the scan frame, letting the window repaint once per folder.

#include "catalogue/FolderScan.h"

namespace sonivo {

class DesktopDialogs;
class ScanProgressFrame;

class WindowScanDialogs final : public ScanDialogs {
public:
    WindowScanDialogs(DesktopDialogs& dialogs, ScanProgressFrame& frame) : dialogs_(dialogs), frame_(frame) {}

    bool askUpdateFolder(const QString& folder) override;
    QString askCdName(const QString& volumeLabel) override;
    void scanCounted(qint64 total) override;
    void folderProgress(qint64 total, qint64 read) override;

private:
    DesktopDialogs& dialogs_;
    ScanProgressFrame& frame_;
};

}  // namespace sonivo
