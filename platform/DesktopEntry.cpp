#include "platform/DesktopEntry.h"

namespace sonivo {
namespace {

bool isReserved(QChar c)
{
    return QStringView(u" \t\"'\\><~|&;$*?#()`").contains(c);
}

// The string-value escapes of the desktop entry format.
QString escapedValue(const QString& text)
{
    QString out = text;
    out.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    return out;
}

}  // namespace

QString execArgument(const QString& argument)
{
    QString quoted;
    bool needsQuotes = argument.isEmpty();
    for (const QChar c : argument) {
        if (c.category() == QChar::Other_Control)
            return {};
        needsQuotes = needsQuotes || isReserved(c);
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
            quoted += QLatin1Char('\\');
        quoted += c;
    }
    if (needsQuotes)
        quoted = QLatin1Char('"') + quoted + QLatin1Char('"');
    quoted.replace(QLatin1Char('%'), QStringLiteral("%%"));
    return escapedValue(quoted);
}

QByteArray desktopEntryText(const DesktopEntry& entry)
{
    const QString program = execArgument(entry.program);
    if (program.isEmpty() || entry.icon.contains(QLatin1Char('\n')))
        return {};
    QString text = QStringLiteral(
        "[Desktop Entry]\n"
        "Type=Application\n"
        "Name=Sonivo\n"
        "GenericName=Catalogo MP3\n"
        "Comment=Programma per la gestione dei file MP3\n");
    text += QStringLiteral("Exec=") + program + (entry.opensFiles ? QStringLiteral(" %f\n") : QStringLiteral("\n"));
    text += QStringLiteral("Icon=") + escapedValue(entry.icon) + QLatin1Char('\n');
    text += QStringLiteral("Terminal=false\nCategories=AudioVideo;Audio;Player;\n");
    if (entry.opensFiles)
        text += QStringLiteral("MimeType=") + QLatin1String(kListMimeType) + QStringLiteral(";\n");
    if (entry.hidden)
        text += QStringLiteral("NoDisplay=true\n");
    return text.toUtf8();
}

}  // namespace sonivo
