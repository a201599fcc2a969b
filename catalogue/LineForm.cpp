#include "catalogue/LineForm.h"

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
char escapeLetter(char c)
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

void appendEscape(QByteArray& line, char letter)
{
    line += kEscape;
    line += letter;
}

void appendEscaped(QByteArray& line, QByteArrayView text)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    const char* p = text.data();
    const char* end = p + text.size();
    while (p < end) {
        if (const char letter = escapeLetter(*p)) {
            appendEscape(line, letter);
            ++p;
        } else if (const char16_t half = end - p >= 3 ? storedHalf(p) : 0) {
            if (isByteEscape(half)) {
                const int byte = half - kByteEscapeBase;
                appendEscape(line, 'x');
                line += kHex[byte >> 4];
                line += kHex[byte & 0xF];
            } else {
                line += QString(QChar(half)).toUtf8();  // as UTF-8 writes a lone half
            }
            p += 3;
        } else {
            const char* plain = p + 1;
            while (plain < end && !escapeLetter(*plain) && *plain != '\xED')
                ++plain;
            line.append(p, plain - p);
            p = plain;
        }
    }
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

}  // namespace

void appendLine(QByteArray& out, const SongRecord& record)
{
    for (int c = 0; c < kColumnCount; ++c) {
        if (c > 0)
            out += ';';
        appendEscaped(out, record.stored(c));
    }
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
