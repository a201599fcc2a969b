#pragma once
// One running program per user: a lock file in the user's runtime folder
// ($XDG_RUNTIME_DIR), held for the life of this object. A lock left by a program
// that died is taken over.

#include <QString>
#include <memory>

class QLockFile;

namespace sonivo {

class SingleInstance {
public:
    explicit SingleInstance(const QString& lockFile = defaultLockFile());
    ~SingleInstance();
    // False when another instance holds the lock.
    bool isFirst() const { return first_; }
    static QString defaultLockFile();

private:
    std::unique_ptr<QLockFile> lock_;
    bool first_ = false;
};

}  // namespace sonivo
