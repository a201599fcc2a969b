#pragma once
// Whether this user may change a song's file, as the operating system says (its
// permissions for the user, a read-only mount, an immutable file), not only by
// the owner's write bit.

#include <QString>

namespace sonivo {

// The file exists and may be written.
bool isFileWritable(const QString& path);

}  // namespace sonivo
