#pragma once
// The steps of reading the machine's mounts that need no system call, kept apart
// so that they can be tested on their own, and the lossless path resolution that
// the drive identification and the system mount table share.

#include "platform/MountTable.h"

#include <QByteArray>
#include <QString>
#include <optional>

namespace sonivo {

// Undoes the octal escapes ("\040" for a space, "\134" for a backslash) the kernel
// writes in the fields of /proc/self/mountinfo.
QByteArray decodeOctalEscapes(const QByteArray& field);
// The mount one line of /proc/self/mountinfo describes, or nothing for a malformed line.
std::optional<MountEntry> parseMountInfoLine(const QByteArray& line);
// The text a /dev/disk/by-label or by-uuid link name stands for: udev writes each
// byte it does not keep as "\xHH" ("My\x20Disc").
QString decodeUdevName(const QString& name);
// The 32-bit serial of a volume UUID: the FAT / exFAT volume ID ("1A2B-3C4D"), the
// low 32 bits of an NTFS serial (16 hex digits), else the first 32 bits of the
// SHA-1 of the text, so that the same volume always gets the same serial.
quint32 serialFromUuid(const QString& uuid);
// True for the file systems of optical discs.
bool isDiscFileSystem(const QString& fsType);
// The absolute path with every link resolved, or nothing when it does not exist.
// Works on the bytes of the name, so names that are not UTF-8 resolve too.
std::optional<QString> canonicalPath(const QString& path);

}  // namespace sonivo
