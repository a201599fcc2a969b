#pragma once
// Writing and cutting off the ID3v1 tag of a file. Neither ever damages the audio:
// a write that fails leaves the file as it was. Both hold the advisory locks of
// lockWholeFile while they look at the file and change it, waiting a few seconds
// at most for another program's, and change only the file they were pointed at:
// when another program has put a new file in its place meanwhile, they fail.

#include <QByteArray>
#include <QString>

namespace sonivo {

// Writes the 128-byte block over the file's tag, or appends it at the end the file
// has at that moment when it has none. A read-only file is made writable for the
// write only, once the locks are free, and read-only again after. 0 when written,
// else why not: kFileLocked when another program kept its lock for longer than a
// tag write waits, ENOENT when the file is gone or another one is in its place,
// kNotRegularFile, or errno. The file's old content is then kept.
int writeId3v1(const QString& path, const QByteArray& block);

enum class RemoveResult { Failed = -1, NoTag = 0, Removed = 1 };
// Cuts the tag off the file; Failed when the file is missing or cannot be
// written, with error set as writeId3v1 returns it.
RemoveResult removeId3v1(const QString& path, int& error);

}  // namespace sonivo
