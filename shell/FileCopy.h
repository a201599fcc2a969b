#pragma once
// One file's bytes copied into a new file: the kernel's copy_file_range where
// the file systems allow it, else reads and writes of 1 MiB. Progress is told
// after each piece.

#include <QByteArray>
#include <functional>

namespace sonivo {

// The bytes copied so far of this file.
using CopiedBytes = std::function<void(qint64 done)>;

// Copies from one open file to another, from their starts; 0 or the errno of
// the failure (kFileShrank when the source ended before `size` bytes).
int copyBytes(int from, int to, qint64 size, const CopiedBytes& copied);

}  // namespace sonivo
