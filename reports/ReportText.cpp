#include "reports/ReportText.h"

#include "catalogue/StoredText.h"
#include "common/NativePath.h"
#include "common/Windows1252.h"

#include <algorithm>
#include <charconv>
#include <cstring>

namespace sonivo {
namespace {

// A stored text holds a lone UTF-16 half only as a three-byte sequence that
// begins with 0xED; one without that byte is plain UTF-8.
bool isPlainUtf8(QByteArrayView stored)
{
    return !stored.contains('\xED');
}

// The text, the bytes of a name that are not UTF-8 as their Windows-1252 characters.
QString shownText(QByteArrayView stored)
{
    QString text = decodeStored(stored);
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (const int byte = escapedByte(text.at(i).unicode()); byte >= 0) {
            const char c = char(byte);
            text[i] = decodeWindows1252(&c, 1).at(0);
        }
    }
    return text;
}

bool isLineBreak(char32_t c)
{
    return (c >= '\n' && c <= '\r') || c == 0x85 || c == 0x2028 || c == 0x2029;
}

// A first byte of a line break's UTF-8: the ASCII controls, C2 for NEL and E2
// for the two separators.
bool mayStartLineBreak(uchar b)
{
    return (b >= '\n' && b <= '\r') || b == 0xC2 || b == 0xE2;
}

// The most bytes one byte of a stored text, or one UTF-16 unit, becomes in a
// page: "&#65533;" for a byte no text holds.
constexpr qsizetype kMostHtmlBytes = 8;

// One character of a page's text at w; w moved past it.
void putHtmlChar(char*& w, char32_t c)
{
    const auto put = [&w](QByteArrayView text) {
        std::memcpy(w, text.data(), size_t(text.size()));
        w += text.size();
    };
    if (c == '&') {
        put("&amp;");
    } else if (c == '<') {
        put("&lt;");
    } else if (c == '>') {
        put("&gt;");
    } else if (c >= 0x20 && c < 0x7F) {
        *w++ = char(c);
    } else {
        put("&#");
        w = std::to_chars(w, w + 7, quint32(c)).ptr;
        *w++ = ';';
    }
}

// Makes room at the end of out for at most units × kMostHtmlBytes bytes, which
// writeHtml fills; then cuts out to what was written.
template <typename Write> void appendHtml(QByteArray& out, qsizetype units, Write writeHtml)
{
    const qsizetype at = out.size();
    out.resize(at + units * kMostHtmlBytes);
    char* const begin = out.data();
    char* w = begin + at;
    writeHtml(w);
    out.resize(w - begin);
}

}  // namespace

QByteArrayView withoutExtension(QByteArrayView stored)
{
    qsizetype end = stored.size();
    for (int k = 0; k < 4 && end > 0; ++k) {
        --end;
        while (end > 0 && (uchar(stored.at(end)) & 0xC0) == 0x80)
            --end;  // back to the first byte of the character
    }
    return stored.first(end);
}

void appendShownUtf8(QByteArray& out, QByteArrayView stored)
{
    if (isPlainUtf8(stored))
        out.append(stored);
    else
        out += shownText(stored).toUtf8();
}

void blankLineBreaks(QByteArray& out, qsizetype from)
{
    char* const data = out.data();
    const auto* first = reinterpret_cast<const uchar*>(data);
    const uchar* end = first + out.size();
    const uchar* p = std::find_if(first + from, end, mayStartLineBreak);
    if (p == end)
        return;  // the common case: nothing to change
    // A blank is never longer than the break it stands for: the text is rewritten in place.
    char* w = data + (p - first);
    while (p < end) {
        const uchar* at = p;
        const char32_t c = takeStoredChar(p, end);
        if (!isLineBreak(c)) {
            std::memmove(w, at, size_t(p - at));
            w += p - at;
            continue;
        }
        *w++ = ' ';
        if (c == '\r' && p < end && *p == '\n')
            ++p;
    }
    out.truncate(w - data);
}

void appendShownHtml(QByteArray& out, QByteArrayView stored)
{
    if (!isPlainUtf8(stored)) {
        appendHtmlText(out, shownText(stored));
        return;
    }
    appendHtml(out, stored.size(), [&](char*& w) {
        const auto* p = reinterpret_cast<const uchar*>(stored.data());
        const uchar* end = p + stored.size();
        while (p < end) {
            if (*p >= 0x20 && *p < 0x7F && *p != '&' && *p != '<' && *p != '>')
                *w++ = char(*p++);  // the common case, printable ASCII
            else
                putHtmlChar(w, takeStoredChar(p, end));
        }
    });
}

void appendNativeBytes(QByteArray& out, QByteArrayView stored)
{
    if (isPlainUtf8(stored))
        out.append(stored);
    else
        appendNativePath(out, decodeStored(stored));
}

void appendHtmlText(QByteArray& out, QStringView text)
{
    appendHtml(out, text.size(), [&](char*& w) {
        const qsizetype n = text.size();
        for (qsizetype i = 0; i < n; ++i) {
            const char16_t c = text.at(i).unicode();
            char32_t code = c;
            if (QChar::isHighSurrogate(c) && i + 1 < n && text.at(i + 1).isLowSurrogate())
                code = QChar::surrogateToUcs4(c, text.at(++i).unicode());
            else if (QChar::isSurrogate(c))
                code = QChar::ReplacementCharacter;
            putHtmlChar(w, code);
        }
    });
}

}  // namespace sonivo
