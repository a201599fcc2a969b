#pragma once
// Writing and cutting off the ID3v1 tag of a file. Neither ever damages the audio:
// a write that fails leaves the file as it was. Both hold the advisory locks of
// lockWholeFile while they look at the file and change it, waiting a few seconds
// at most for another program's.

#include <QByteArray>
#include <QString>

namespace sonivo {

// Writes the 128-byte block over the file's tag, or appends it at the end the file
// has at that moment when it has none. A read-only file is made writable for the
// write and read-only again after. False when the file could not be written; its
// old content is then kept.
bool writeId3v1(const QString& path, const QByteArray& block);

enum class RemoveResult { Failed = -1, NoTag = 0, Removed = 1 };
// Cuts the tag off the file; Failed when the file is missing or cannot be written.
RemoveResult removeId3v1(const QString& path);

}  // namespace sonivo
