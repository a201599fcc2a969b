#include "tests/support/ExecLine.h"

#include "tests/support/TempFiles.h"

namespace sonivo::test {

QString execValue(const QString& desktopFile)
{
    for (const QString& line : QString::fromUtf8(TempFiles::read(desktopFile)).split(QLatin1Char('\n'))) {
        if (line.startsWith(QLatin1String("Exec=")))
            return line.mid(5);
    }
    return {};
}

QStringList execCommand(const QString& execValue, const QString& file)
{
    // First the string escapes: \s \n \t \r \\.
    QString value;
    for (qsizetype i = 0; i < execValue.size(); ++i) {
        if (execValue[i] != u'\\' || i + 1 == execValue.size()) {
            value += execValue[i];
            continue;
        }
        const QChar next = execValue[++i];
        value += next == u's' ? QChar(u' ') : next == u'n' ? QChar(u'\n') : next == u't' ? QChar(u'\t') : next == u'r' ? QChar(u'\r') : next;
    }
    // Then the arguments: blanks apart, "..." quoted with \" \` \$ \\ inside; field codes.
    QStringList command;
    QString argument;
    bool inArgument = false;
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value[i];
        if (c == u'"') {
            inArgument = true;
            for (++i; i < value.size() && value[i] != u'"'; ++i) {
                if (value[i] == u'\\' && i + 1 < value.size() && QStringView(u"\"`$\\").contains(value[i + 1]))
                    ++i;
                argument += value[i];
            }
            if (i == value.size())
                return {};  // no closing quote
        } else if (c == u' ') {
            if (inArgument)
                command << argument;
            argument.clear();
            inArgument = false;
        } else if (c == u'%' && i + 1 < value.size()) {
            const QChar code = value[++i];
            if (code == u'%')
                argument += c;
            else if (code == u'f')
                argument += file;
            inArgument = true;
        } else {
            argument += c;
            inArgument = true;
        }
    }
    if (inArgument)
        command << argument;
    return command;
}

}  // namespace sonivo::test
