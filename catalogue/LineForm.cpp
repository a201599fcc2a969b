#include "catalogue/LineForm.h"

#include "common/Utf8Sequence.h"

#include <array>
#include <bit>
#include <cstring>

namespace sonivo {
namespace {

constexpr char kEscape = 0x01;
constexpr char16_t kByteEscapeBase = 0xDC00;  // how a name keeps a byte that is not UTF-8

bool isByteEscape(char16_t c)
{
    return c >= kByteEscapeBase + 0x80 && c <= kByteEscapeBase + 0xFF;
}

// The letter that stands after the escape character for a byte a line cannot
// hold as it is, or 0: a list file never holds NUL bytes, ";" ends a field and
// CR and LF end the line.
constexpr char escapeLetter(char c)
{
    switch (c) {
    case ';': return 's';
    case '\r': return 'r';
    case '\n': return 'n';
    case '\0': return '0';
    case kEscape: return '1';
    default: return 0;
    }
}

// The byte an escape letter stands for, or -1.
int escapedChar(char letter)
{
    switch (letter) {
    case 's': return ';';
    case 'r': return '\r';
    case 'n': return '\n';
    case '0': return '\0';
    case '1': return kEscape;
    default: return -1;
    }
}

// The bytes not copied as they stand: those with an escape letter, and the
// first byte of a stored UTF-16 half.
constexpr std::array<bool, 256> kNeedsCare = [] {
    std::array<bool, 256> care{};
    for (int c = 0; c < 256; ++c)
        care[size_t(c)] = escapeLetter(char(c)) != 0 || c == 0xED;
    return care;
}();

// Writes the stored text at out with its escapes; returns the end of what it
// wrote, at most twice the text's length.
char* writeEscaped(char* out, QByteArrayView text)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    const char* p = text.data();
    const char* end = p + text.size();
    while (p < end) {
        const char* plain = p;
        while (plain < end && !kNeedsCare[uchar(*plain)])
            ++plain;
        std::memcpy(out, p, size_t(plain - p));
        out += plain - p;
        p = plain;
        if (p == end)
            break;
        if (const char letter = escapeLetter(*p)) {
            *out++ = kEscape;
            *out++ = letter;
            ++p;
        } else if (const char16_t half = end - p >= 3 ? storedHalf(p) : 0) {
            if (isByteEscape(half)) {
                const int byte = half - kByteEscapeBase;
                *out++ = kEscape;
                *out++ = 'x';
                *out++ = kHex[byte >> 4];
                *out++ = kHex[byte & 0xF];
            } else {
                *out++ = '?';  // as UTF-8 writes a lone half
            }
            p += 3;
        } else {
            *out++ = *p++;  // a character that is no half
        }
    }
    return out;
}

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

void appendUnescaped(std::string& text, QByteArrayView field)
{
    const char* p = field.data();
    const char* end = p + field.size();
    while (p < end) {
        const char* escape = static_cast<const char*>(std::memchr(p, kEscape, size_t(end - p)));
        if (!escape) {
            text.append(p, size_t(end - p));
            return;
        }
        text.append(p, size_t(escape - p));
        p = escape;
        const char code = p + 1 < end ? p[1] : 0;
        const int high = code == 'x' && p + 3 < end ? hexDigit(p[2]) : -1;
        const int low = high >= 0 ? hexDigit(p[3]) : -1;
        const int byte = high * 16 + low;
        if (const int c = escapedChar(code); c >= 0) {
            text += char(c);
            p += 2;
        } else if (low >= 0 && byte >= 0x80) {
            const char16_t half = char16_t(kByteEscapeBase + byte);
            appendStored(text, QStringView(&half, 1));
            p += 4;
        } else {  // not an escape this program writes: kept as it stands
            text += kEscape;
            p += 1;
        }
    }
}

constexpr quint64 kEachByte = 0x0101010101010101u;
constexpr quint64 kHighBits = 0x8080808080808080u;

// The eight bytes at p, the first in the lowest bits.
quint64 wordAt(const uchar* p)
{
    quint64 w;
    std::memcpy(&w, p, sizeof w);
    if constexpr (std::endian::native == std::endian::big)
        w = __builtin_bswap64(w);
    return w;
}

// The high bit of each byte of w that is zero, and no other bit.
quint64 zeroBytes(quint64 w)
{
    return ~(((w & ~kHighBits) + ~kHighBits) | w) & kHighBits;
}

// The high bit of each byte of w that is b.
quint64 bytesEqual(quint64 w, uchar b)
{
    return zeroBytes(w ^ (kEachByte * b));
}

// The marks of the bytes from `from` on (0 to 8) of a word's.
quint64 marksFrom(quint64 marks, ptrdiff_t from)
{
    return from >= 8 ? 0 : from <= 0 ? marks : marks & (~quint64(0) << (8 * from));
}

}  // namespace

std::optional<std::array<qsizetype, kColumnCount>> plainFieldEnds(QByteArrayView line)
{
    // Eight bytes at a time: an escape or a NUL ends the search at once (no
    // character beyond ASCII holds one, nor a separator); the separators are
    // noted, and each character beyond ASCII is checked from its first byte.
    std::array<qsizetype, kColumnCount> ends;
    size_t found = 0;
    const auto* begin = reinterpret_cast<const uchar*>(line.data());
    const auto* end = begin + line.size();
    const uchar* next = begin;  // the first byte of a character not yet checked
    const auto separator = [&](const uchar* at) {
        if (found == kColumnCount - 1)
            return false;  // a 23rd field
        ends[found++] = at - begin;
        return true;
    };
    const auto character = [&](const uchar* lead) {
        char32_t code;
        const int length = utf8SequenceLength(lead, end, &code);
        next = lead + length;
        return length > 0;
    };
    const uchar* p = begin;
    for (; end - p >= 8; p += 8) {
        const quint64 w = wordAt(p);
        if (bytesEqual(w, uchar(kEscape)) | zeroBytes(w))
            return std::nullopt;
        for (quint64 marks = bytesEqual(w, ';'); marks != 0; marks &= marks - 1) {
            if (!separator(p + std::countr_zero(marks) / 8))
                return std::nullopt;
        }
        for (quint64 marks = marksFrom(w & kHighBits, next - p); marks != 0; marks = marksFrom(marks, next - p)) {
            if (!character(p + std::countr_zero(marks) / 8))
                return std::nullopt;
        }
    }
    for (; p < end; ++p) {
        if (*p == 0 || *p == uchar(kEscape))
            return std::nullopt;
        if ((*p == ';' && !separator(p)) || (*p >= 0x80 && p >= next && !character(p)))
            return std::nullopt;
    }
    if (found != kColumnCount - 1)
        return std::nullopt;
    ends.back() = line.size();
    return ends;
}

void appendLine(QByteArray& out, const SongRecord& record)
{
    // Written in place into room for the longest line the texts can give.
    const std::array<QByteArrayView, kColumnCount> texts = record.storedColumns();
    qsizetype room = kColumnCount - 1;
    for (const QByteArrayView text : texts)
        room += 2 * text.size();
    const qsizetype start = out.size();
    out.resize(start + room);
    char* const begin = out.data();
    char* w = begin + start;
    for (size_t c = 0; c < texts.size(); ++c) {
        if (c > 0)
            *w++ = ';';
        w = writeEscaped(w, texts[c]);
    }
    out.truncate(w - begin);
}

QString toLine(const SongRecord& record)
{
    QByteArray line;
    appendLine(line, record);
    return decodeStored(line);  // a leading U+FEFF is the text's own
}

SongRecord fromStoredLine(QByteArrayView line, SongRecordBuilder& builder, bool* exactly22)
{
    qsizetype start = 0;
    int fields = 0;
    for (; fields < kColumnCount && start <= line.size(); ++fields) {
        qsizetype end = line.indexOf(';', start);
        if (end < 0)
            end = line.size();
        appendUnescaped(builder.stored(), line.sliced(start, end - start));
        builder.endColumn();
        start = end + 1;
    }
    if (exactly22)
        *exactly22 = fields == kColumnCount && start == line.size() + 1;
    return builder.take();
}

SongRecord fromLine(QStringView line)
{
    std::string stored;
    appendStored(stored, line);
    SongRecordBuilder builder;
    return fromStoredLine(QByteArrayView(stored.data(), qsizetype(stored.size())), builder);
}

}  // namespace sonivo
