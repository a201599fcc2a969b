#pragma once
// The media-control service that plays audio files: one text command in, a result
// code and a reply text out. The commands, keywords in any letter case:
//   open PATH type MPEGVideo alias A      PATH in double quotes when it has blanks
//   play A | play A from N | pause A | stop A | close A | seek A to N
//   set A time format milliseconds
//   status A mode | status A position | status A length | status A output
// N and the replies of position and length are milliseconds; the mode reply is
// "playing", "paused" or "stopped"; the output reply is "audio" (the sound server),
// "silent" (no sound server could be had: it plays on without sound) or "null"
// (silence was asked for). A status query for an alias that is not open
// answers an empty reply.
//
// The interface alone, in this header: the player uses it without linking the
// engine, which its user hands it (see Transport::MediaFactory).

#include <QString>

namespace sonivo {

enum MediaError : int {
    kMediaOk = 0,
    kMediaUnknownCommand,
    kMediaBadParameter,
    kMediaFileNotFound,
    kMediaFileUnreadable,
    kMediaCannotDecode,
    kMediaUnsupportedType,
    kMediaAliasInUse,
    kMediaNotOpen,
    kMediaOutOfRange,
};

struct MediaReply {
    int code = kMediaOk;
    QString text;
};

class MediaControl {
public:
    virtual ~MediaControl() = default;
    virtual MediaReply send(const QString& command) = 0;
    // The readable text of a result code.
    virtual QString errorText(int code) const { return mediaErrorText(code); }

    static QString mediaErrorText(int code)
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
};

}  // namespace sonivo
