#include "common/NativePath.h"

#include "common/Utf8Sequence.h"
#include "common/Utf8Write.h"

namespace sonivo {
namespace {

constexpr char16_t kEscapeBase = 0xDC00;

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
        const int len = utf8SequenceLength(s + i, s + n, &cp);
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
