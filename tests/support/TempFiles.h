#pragma once
// A temporary folder for one test, with helpers to write and read its files.

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include <sys/resource.h>

namespace sonivo::test {

class TempFiles {
public:
    TempFiles();
    // Removes the folder with everything in it, whatever the names' bytes.
    ~TempFiles();
    TempFiles(const TempFiles&) = delete;
    TempFiles& operator=(const TempFiles&) = delete;
    // Full path of a name in the folder.
    QString path(const QString& name) const;
    // Writes the bytes to the name and returns its full path.
    QString write(const QString& name, const QByteArray& bytes) const;
    static QByteArray read(const QString& fullPath);

private:
    QTemporaryDir dir_;
};

// Makes every write to the process's files beyond maxSize bytes fail while it lives.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t maxSize);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit old_{};
    void (*oldHandler_)(int) = nullptr;
};

// True when the process may write files whatever their permissions say (root).
bool ignoresPermissions();

}  // namespace sonivo::test
