#pragma once
// File attributes as a short text. On Linux: "R" for a file its owner may not
// write, "H" for a name that begins with "."; "S" and "A" never occur; "Normal"
// when none applies.

#include <QString>
#include <optional>
#include <sys/types.h>

namespace sonivo {

class NativeFile;

// The attribute text of the file, or nothing when it cannot be looked at.
std::optional<QString> attributeText(const QString& path);
// The attribute text of a file with that mode and name (a path or a bare name).
QString attributeText(mode_t mode, const QString& name);
// Sets the attributes from a text: "R" removes every write permission, "r" keeps
// it as it is, no R at all gives the owner write permission back; "NORMAL" in any
// case clears R. "H", "S" and "A" change nothing. False when it could not be set.
bool setAttributeText(const QString& path, const QString& text);

// Gives the owner of an open file write permission for its lifetime, as opening
// it for writing needs, and puts the old permissions back afterwards: both on
// that very file, whatever name it has by then.
class WritableWhileInScope {
public:
    explicit WritableWhileInScope(NativeFile& file);
    ~WritableWhileInScope();
    WritableWhileInScope(const WritableWhileInScope&) = delete;
    WritableWhileInScope& operator=(const WritableWhileInScope&) = delete;

private:
    NativeFile& file_;
    std::optional<mode_t> restore_;
};

}  // namespace sonivo
