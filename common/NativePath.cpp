#include "common/NativePath.h"

#include "common/Utf8Write.h"

namespace sonivo {
namespace {

constexpr char16_t kEscapeBase = 0xDC00;

// Length of the valid UTF-8 sequence at s[i], or 0 when the bytes there are not one.
int validSequenceLength(const unsigned char* s, qsizetype i, qsizetype n, char32_t* out)
{
    const unsigned char b0 = s[i];
    int len;
    char32_t cp;
    char32_t min;
    if (b0 < 0x80) {
        *out = b0;
        return 1;
    } else if ((b0 & 0xE0) == 0xC0) {
        len = 2;
        cp = b0 & 0x1F;
        min = 0x80;
    } else if ((b0 & 0xF0) == 0xE0) {
        len = 3;
        cp = b0 & 0x0F;
        min = 0x800;
    } else if ((b0 & 0xF8) == 0xF0) {
        len = 4;
        cp = b0 & 0x07;
        min = 0x10000;
    } else {
        return 0;
    }
    if (i + len > n)
        return 0;
    for (int k = 1; k < len; ++k) {
        const unsigned char b = s[i + k];
        if ((b & 0xC0) != 0x80)
            return 0;
        cp = (cp << 6) | (b & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return 0;
    *out = cp;
    return len;
}

}  // namespace

QString fromNativePath(QByteArrayView bytes)
{
    // Written in place: a name never has more UTF-16 units than bytes.
    const auto* s = reinterpret_cast<const unsigned char*>(bytes.data());
    const qsizetype n = bytes.size();
    QString out(n, Qt::Uninitialized);
    char16_t* const begin = reinterpret_cast<char16_t*>(out.data());
    char16_t* w = begin;
    for (qsizetype i = 0; i < n;) {
        char32_t cp;
        const int len = validSequenceLength(s, i, n, &cp);
        if (len == 0) {
            *w++ = char16_t(kEscapeBase + s[i]);
            ++i;
            continue;
        }
        if (cp < 0x10000) {
            *w++ = char16_t(cp);
        } else {
            *w++ = QChar::highSurrogate(cp);
            *w++ = QChar::lowSurrogate(cp);
        }
        i += len;
    }
    out.truncate(w - begin);
    return out;
}

int escapedByte(char16_t c)
{
    return c >= kEscapeBase + 0x80 && c <= kEscapeBase + 0xFF ? c - kEscapeBase : -1;
}

QByteArray toNativePath(const QString& name)
{
    QByteArray out;
    appendNativePath(out, name);
    return out;
}

void appendNativePath(QByteArray& out, QStringView name)
{
    // Written in place into room for three bytes a unit, the most one takes.
    const qsizetype n = name.size();
    const qsizetype start = out.size();
    out.resize(start + 3 * n);
    char* const begin = out.data();
    char* w = begin + start;
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = name.at(i).unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < n && QChar::isLowSurrogate(name.at(i + 1).unicode())) {
            w = writeUtf8(w, QChar::surrogateToUcs4(c, name.at(i + 1).unicode()));
            ++i;
        } else if (const int byte = escapedByte(c); byte >= 0) {
            *w++ = char(byte);
        } else if (QChar::isSurrogate(c)) {
            *w++ = '?';  // a lone surrogate no byte stands for
        } else {
            w = writeUtf8(w, c);
        }
    }
    out.truncate(w - begin);
}

}  // namespace sonivo
