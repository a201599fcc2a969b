#include "catalogue/LineForm.h"

namespace sonivo {
namespace {

constexpr QChar kEscape(0x0001);
constexpr char16_t kByteEscapeBase = 0xDC00;  // how a name keeps a byte that is not UTF-8

bool isByteEscape(char16_t c)
{
    return c >= kByteEscapeBase + 0x80 && c <= kByteEscapeBase + 0xFF;
}

void appendEscaped(QString& line, QStringView text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        // A character beyond U+FFFF is two halves; the second may look like a byte escape.
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            line += c;
            line += text[++i];
            continue;
        }
        switch (c.unicode()) {
        case u';':
            line += kEscape;
            line += QLatin1Char('s');
            break;
        case u'\r':
            line += kEscape;
            line += QLatin1Char('r');
            break;
        case u'\n':
            line += kEscape;
            line += QLatin1Char('n');
            break;
        case 0x0001:
            line += kEscape;
            line += QLatin1Char('1');
            break;
        default:
            if (isByteEscape(c.unicode())) {
                line += kEscape;
                line += QLatin1Char('x');
                line += QString::number(c.unicode() - kByteEscapeBase, 16).toUpper();
            } else {
                line += c;
            }
        }
    }
}

void appendUnescaped(QString& text, QStringView field)
{
    if (!field.contains(kEscape)) {
        text += field;
        return;
    }
    for (qsizetype i = 0; i < field.size(); ++i) {
        const QChar c = field[i];
        if (c != kEscape || i + 1 >= field.size()) {
            text += c;
            continue;
        }
        const char16_t code = field[i + 1].unicode();
        bool ok = false;
        const int byte = code == u'x' ? field.mid(i + 2, 2).toInt(&ok, 16) : 0;
        if (code == u's')
            text += QLatin1Char(';');
        else if (code == u'r')
            text += QLatin1Char('\r');
        else if (code == u'n')
            text += QLatin1Char('\n');
        else if (code == u'1')
            text += kEscape;
        else if (ok && byte >= 0x80 && i + 3 < field.size()) {
            text += QChar(char16_t(kByteEscapeBase + byte));
            i += 2;
        } else {
            text += c;
            continue;
        }  // not an escape this program writes: kept as it stands
        ++i;
    }
}

}  // namespace

QString toLine(const SongRecord& record)
{
    qsizetype length = kColumnCount;  // the separators, and room for a few escapes
    for (int c = 0; c < kColumnCount; ++c)
        length += record.column(c).size();
    QString line;
    line.reserve(length);
    for (int c = 0; c < kColumnCount; ++c) {
        if (c > 0)
            line += QLatin1Char(';');
        appendEscaped(line, record.column(c));
    }
    return line;
}

SongRecord fromLine(QStringView line)
{
    SongRecordBuilder record(line.size());
    qsizetype start = 0;
    for (int c = 0; c < kColumnCount && start <= line.size(); ++c) {
        qsizetype end = line.indexOf(QLatin1Char(';'), start);
        if (end < 0)
            end = line.size();
        appendUnescaped(record.text(), line.mid(start, end - start));
        record.endColumn();
        start = end + 1;
    }
    return record.take();
}

}  // namespace sonivo
