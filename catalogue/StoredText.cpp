#include "catalogue/StoredText.h"

namespace sonivo {

void appendStored(std::string& out, QStringView text)
{
    const qsizetype n = text.size();
    const char16_t* u = text.utf16();
    for (qsizetype i = 0; i < n; ++i) {
        const char32_t c = u[i];
        if (c < 0x80) {
            out += char(c);
        } else if (c < 0x800) {
            out += char(0xC0 | c >> 6);
            out += char(0x80 | (c & 0x3F));
        } else if (QChar::isHighSurrogate(c) && i + 1 < n && QChar::isLowSurrogate(u[i + 1])) {
            const char32_t code = QChar::surrogateToUcs4(char16_t(c), u[++i]);
            out += char(0xF0 | code >> 18);
            out += char(0x80 | (code >> 12 & 0x3F));
            out += char(0x80 | (code >> 6 & 0x3F));
            out += char(0x80 | (code & 0x3F));
        } else {  // the rest of the first plane, lone halves included
            out += char(0xE0 | c >> 12);
            out += char(0x80 | (c >> 6 & 0x3F));
            out += char(0x80 | (c & 0x3F));
        }
    }
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
    const auto* p = reinterpret_cast<const unsigned char*>(stored.data());
    const auto* end = p + stored.size();
    while (p < end) {
        const unsigned char b = *p;
        const qsizetype left = end - p;
        if (b < 0x80) {
            *w++ = b;
            p += 1;
        } else if (b >= 0xF0 && left >= 4) {
            const char32_t code = char32_t(b & 0x07) << 18 | char32_t(p[1] & 0x3F) << 12 | char32_t(p[2] & 0x3F) << 6 | (p[3] & 0x3F);
            *w++ = QChar::highSurrogate(code);
            *w++ = QChar::lowSurrogate(code);
            p += 4;
        } else if (b >= 0xE0 && left >= 3) {
            *w++ = char16_t((b & 0x0F) << 12 | (p[1] & 0x3F) << 6 | (p[2] & 0x3F));
            p += 3;
        } else if (b >= 0xC0 && left >= 2) {
            *w++ = char16_t((b & 0x1F) << 6 | (p[1] & 0x3F));
            p += 2;
        } else {  // not written by appendStored; shown, never read past the end
            *w++ = QChar::ReplacementCharacter;
            p += 1;
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

}  // namespace sonivo
