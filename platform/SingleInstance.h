#pragma once
// One running program per user: a lock file in a folder only the user can
// enter, held for the life of this object. A lock left by a program that died
// is taken over; a lock file, a socket or a folder that another user made is
// never used, so no one else can take the lists this user opens.

#include <QString>
#include <memory>

class QLockFile;

namespace sonivo {

class SingleInstance {
public:
    // The lock in the user's private folder (see privateFolder).
    SingleInstance();
    // The lock at lockFile, in a folder already found private.
    explicit SingleInstance(const QString& lockFile);
    ~SingleInstance();
    // False when another instance holds the lock, or there is none to use.
    bool isFirst() const { return first_; }
    // Why there is no lock to use: no private folder, or a lock file that is not
    // the user's. "" when there is one.
    const QString& error() const { return error_; }
    // The lock's folder; the hand-off socket lies beside the lock.
    const QString& folder() const { return folder_; }

    // runtimeDir ($XDG_RUNTIME_DIR) when it is a folder of the user's that no
    // one else may enter, else <tempDir>/sonivo-<uid>, made with mode 0700 when
    // missing. That one is refused when it is a link, another user's, or open to
    // others: "" then, and why in *error.
    static QString privateFolder(const QString& runtimeDir, const QString& tempDir, QString* error);

private:
    void take(const QString& lockFile);

    std::unique_ptr<QLockFile> lock_;
    QString folder_;
    QString error_;
    bool first_ = false;
};

// Why the lock or the socket at path must not be used: it is another user's, or
// no file of the kind given. "" when it is fit, or missing.
enum class FileKind { Regular, Socket };
QString unfitFile(const QString& path, FileKind kind);

}  // namespace sonivo
