#pragma once
// The folder scan's questions asked with the window's dialogs, and its progress
// shown in the scan frame and the status line. The window's events run at every
// progress call, at least ten times a second, so it repaints and its "Annulla"
// can be pressed; the rest of the window is disabled meanwhile. One object serves
// one scan: a "to all" answer holds for the rest of it.

#include "catalogue/FolderScan.h"

#include <optional>

namespace sonivo {

class DesktopDialogs;
class ScanProgressFrame;
class StatusLine;

class WindowScanDialogs final : public ScanDialogs {
public:
    WindowScanDialogs(DesktopDialogs& dialogs, ScanProgressFrame& frame, StatusLine& status)
        : dialogs_(dialogs), frame_(frame), status_(status)
    {
    }

    bool askUpdateFolder(const QString& folder) override;
    QString askCdName(const QString& volumeLabel) override;
    void scanCounted(qint64 total) override;
    void folderProgress(qint64 total, qint64 read) override;
    void fileProgress(qint64 total, qint64 read) override;

private:
    DesktopDialogs& dialogs_;
    ScanProgressFrame& frame_;
    StatusLine& status_;
    std::optional<bool> updateAll_;  // the answer "to all", once given
};

}  // namespace sonivo
