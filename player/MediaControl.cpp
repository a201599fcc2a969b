#include "player/MediaControl.h"

namespace sonivo {

QString MediaControl::mediaErrorText(int code)
{
    switch (code) {
    case kMediaOk: return QStringLiteral("Comando eseguito.");
    case kMediaUnknownCommand: return QStringLiteral("Comando non riconosciuto.");
    case kMediaBadParameter: return QStringLiteral("Parametro mancante o non valido.");
    case kMediaFileNotFound: return QStringLiteral("File non trovato.");
    case kMediaFileUnreadable: return QStringLiteral("Impossibile leggere il file.");
    case kMediaCannotDecode: return QStringLiteral("Il file non contiene audio MPEG riproducibile.");
    case kMediaUnsupportedType: return QStringLiteral("Tipo di dispositivo non supportato.");
    case kMediaAliasInUse: return QStringLiteral("Il nome del dispositivo è già in uso.");
    case kMediaNotOpen: return QStringLiteral("Nessun dispositivo aperto con questo nome.");
    case kMediaOutOfRange: return QStringLiteral("Posizione oltre la fine del brano.");
    }
    return QStringLiteral("Errore sconosciuto.");
}

}  // namespace sonivo
