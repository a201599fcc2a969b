#include "common/ErrorText.h"

#include <cerrno>
#include <cstring>

namespace sonivo {
namespace {

struct Words {
    int errnum;
    const char* text;
};

constexpr Words kWords[] = {
    {kNotRegularFile, "non è un file regolare"},
    {kFileShrank, "il file si è accorciato durante la lettura"},
    {kFileLocked, "il file è in uso da un altro programma, che lo tiene bloccato"},
    {kNoFileLocks, "il file system non permette di bloccare il file"},
    {EPERM, "operazione non permessa"},
    {ENOENT, "file o cartella inesistente"},
    {EIO, "errore di lettura o scrittura sul dispositivo"},
    {EACCES, "permesso negato"},
    {EBUSY, "dispositivo o risorsa occupata"},
    {EEXIST, "il file esiste già"},
    {EXDEV, "collegamento tra dispositivi diversi non permesso"},
    {ENOTDIR, "non è una cartella"},
    {EISDIR, "è una cartella"},
    {EINVAL, "argomento non valido"},
    {EMFILE, "troppi file aperti"},
    {ETXTBSY, "file in uso"},
    {EFBIG, "il file supera la dimensione consentita"},
    {ENOSPC, "il disco è pieno"},
    {EROFS, "file system in sola lettura"},
    {ENAMETOOLONG, "nome del file troppo lungo"},
    {ENOTEMPTY, "la cartella non è vuota"},
    {ELOOP, "troppi collegamenti simbolici"},
    {EDQUOT, "il disco è pieno"},
    {ENODEV, "dispositivo inesistente"},
    {ENXIO, "dispositivo o indirizzo inesistente"},
};

}  // namespace

QString errorText(int errnum)
{
    for (const Words& w : kWords) {
        if (w.errnum == errnum)
            return QString::fromUtf8(w.text);
    }
    return QString::fromLocal8Bit(std::strerror(errnum));
}

QString unreadableFileText(int errnum)
{
    return QStringLiteral("impossibile leggere il file (") + errorText(errnum) + QLatin1Char(')');
}

QString errorText(const QString& systemText)
{
    for (const Words& w : kWords) {
        if (w.errnum < 0)
            continue;  // the program's own failures have no system text
        if (systemText.compare(QString::fromLocal8Bit(std::strerror(w.errnum)), Qt::CaseInsensitive) == 0
            || systemText.compare(qt_error_string(w.errnum), Qt::CaseInsensitive) == 0)
            return QString::fromUtf8(w.text);
    }
    return systemText;
}

}  // namespace sonivo
