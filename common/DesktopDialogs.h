#pragma once
// Every dialog and question the program shows goes through this interface: the
// window uses the Qt dialogs, tests a script that never blocks.

#include "common/WorkProgress.h"

#include <QString>
#include <memory>
#include <optional>

namespace sonivo {

// A file dialog's one filter: "File lista Sonivo" with the pattern "*.svl".
struct FileFilter {
    QString description;
    QString pattern;
    QString defaultExtension;  // given to a typed name without one ("svl")
};

class DesktopDialogs {
public:
    enum class Answer { Yes, No, Cancel, YesToAll, NoToAll };

    virtual ~DesktopDialogs() = default;
    // The chosen existing file, or "" when cancelled.
    virtual QString openFile(const QString& title, const FileFilter& filter, const QString& folder) = 0;
    // The chosen file to write (replacing it confirmed by the dialog), or "".
    virtual QString saveFile(const QString& title, const FileFilter& filter, const QString& folder) = 0;
    // The chosen folder, ending with "/", or "" when cancelled.
    virtual QString chooseFolder(const QString& title, const QString& folder) = 0;
    // A question with Yes, No and Cancel.
    virtual Answer askYesNoCancel(const QString& text) = 0;
    // A question asked once for each of many things: Yes, No, Yes to all, No to all.
    virtual Answer askYesNoToAll(const QString& text) = 0;
    // A line of text, or nothing when cancelled.
    virtual std::optional<QString> inputText(const QString& prompt, const QString& title, const QString& text) = 0;
    // A notice (information icon), a problem (warning icon) and a failure to
    // write a file (critical icon), each with OK.
    virtual void inform(const QString& text) = 0;
    virtual void warn(const QString& text) = 0;
    virtual void critical(const QString& text) = 0;
    // Hands a file to the desktop's default application for it; false when that failed.
    virtual bool openWithDesktop(const QString& file) = 0;
    // A file to write, offered first under the name given ("Lista mp3"); "" when cancelled.
    virtual QString saveFileNamed(const QString& title, const FileFilter& filter, const QString& folder, const QString& name) = 0;
    // Prints the text on the default printer, as a job of the name given, its
    // progress shown with "Annulla". Cancelled: the job was withdrawn whole;
    // CancelledPartlySent: the printer took the pages made before "Annulla",
    // as a printer that cannot withdraw a job does.
    enum class PrintOutcome { Printed, NoPrinter, Failed, Cancelled, CancelledPartlySent };
    virtual PrintOutcome printText(const QString& jobName, const QString& text) = 0;
    // The progress of long work, shown with the text and "Annulla" while the
    // object returned lives.
    virtual std::unique_ptr<WorkProgress> showProgress(const QString& text) = 0;
    // Opens a web address in the desktop's browser; false when that failed.
    virtual bool openAddress(const QString& url) = 0;
};

// Hands the file to the desktop; when that fails, says which file could not be opened.
void openWithDesktopOrWarn(DesktopDialogs& dialogs, const QString& file);

}  // namespace sonivo
