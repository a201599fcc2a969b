#pragma once
// A temporary folder for one test, with helpers to write and read its files.

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include <sys/resource.h>
#include <sys/types.h>

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

// A file's permission bits (07777), 0 when it cannot be looked at.
mode_t permissionsOf(const QString& path);

// True when the process may write files whatever their permissions say (root).
bool ignoresPermissions();

// Makes this thread obey file permissions while it lives, also as root (it gives
// up the capabilities that override them), so that a file can be made unreadable.
class PermissionsEnforced {
public:
    PermissionsEnforced();
    ~PermissionsEnforced();
    PermissionsEnforced(const PermissionsEnforced&) = delete;
    PermissionsEnforced& operator=(const PermissionsEnforced&) = delete;

private:
    quint32 saved_ = 0;  // the effective capabilities it changed
};

// For a child process, before it starts the program: file permissions hold for
// it too when the parent is root.
void dropPermissionOverrides();

}  // namespace sonivo::test
