#pragma once
// Italian words for the system's file errors, so that a message of the program
// never mixes in the system's English ("No such file or directory").

#include <QString>

namespace sonivo {

// Failures that have no errno of their own.
constexpr int kNotRegularFile = -1;  // a pipe, a device or a folder where a file was expected
constexpr int kFileShrank = -2;      // the file ended before the bytes its length promised
constexpr int kFileLocked = -3;      // another program kept its lock on the file for longer than we wait
constexpr int kNoFileLocks = -4;     // the file system takes no locks (NFS without its lock service)

// The Italian text of an error number; the system's own text for numbers the
// program has no words for.
QString errorText(int errnum);
// "impossibile leggere il file (" and the text of the error ")": what a command
// says of a file it cannot read.
QString unreadableFileText(int errnum);
// The same for an error already put in the system's words, as QFile gives them;
// other texts come back unchanged.
QString errorText(const QString& systemText);

}  // namespace sonivo
