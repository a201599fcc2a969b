#include "catalogue/StoredText.h"

#include "common/Utf8Write.h"

namespace sonivo {

void appendStored(std::string& out, QStringView text)
{
    const qsizetype n = text.size();
    const size_t from = out.size();
    out.resize(from + size_t(n) * 3);  // never more than three bytes a code unit
    char* w = out.data() + from;
    const char16_t* u = text.utf16();
    for (qsizetype i = 0; i < n; ++i) {
        const char32_t c = u[i];
        // A pair of halves is one character; a lone half is kept as it is.
        if (QChar::isHighSurrogate(c) && i + 1 < n && QChar::isLowSurrogate(u[i + 1]))
            w = writeUtf8(w, QChar::surrogateToUcs4(char16_t(c), u[++i]));
        else
            w = writeUtf8(w, c);
    }
    out.resize(size_t(w - out.data()));
}

std::string toStored(QStringView text)
{
    std::string stored;
    appendStored(stored, text);
    return stored;
}

void appendDecoded(QString& out, QByteArrayView stored)
{
    const qsizetype from = out.size();
    out.resize(from + stored.size());  // never more code units than bytes
    char16_t* w = reinterpret_cast<char16_t*>(out.data()) + from;
    const auto* p = reinterpret_cast<const uchar*>(stored.data());
    const auto* end = p + stored.size();
    while (p < end) {
        const char32_t code = takeStoredChar(p, end);
        if (QChar::requiresSurrogates(code)) {
            *w++ = QChar::highSurrogate(code);
            *w++ = QChar::lowSurrogate(code);
        } else {
            *w++ = char16_t(code);
        }
    }
    out.truncate(w - reinterpret_cast<const char16_t*>(out.constData()));
}

QString decodeStored(QByteArrayView stored)
{
    QString text;
    appendDecoded(text, stored);
    return text;
}

void appendLowered(QString& out, QByteArrayView stored)
{
    const qsizetype from = out.size();
    out.resize(from + 2 * stored.size());
    char16_t* w = writeMapped(reinterpret_cast<char16_t*>(out.data()) + from, stored, [](char32_t code, char16_t* at) {
        if (code == 0x130) {  // the one character that becomes two: i and a dot above
            *at++ = u'i';
            *at++ = u'\u0307';
            return at;
        }
        return writeChar(at, QChar::toLower(code));
    });
    out.truncate(w - reinterpret_cast<const char16_t*>(out.constData()));
}

}  // namespace sonivo
