#include "platform/MimeAppsList.h"

#include "common/ErrorText.h"

#include <QFile>

namespace sonivo {
namespace {

const QString kSection = QStringLiteral("[Default Applications]");

bool isSectionHeader(const QString& line)
{
    const QString t = line.trimmed();
    return t.startsWith(QLatin1Char('[')) && t.endsWith(QLatin1Char(']'));
}

QString keyOf(const QString& line)
{
    const qsizetype eq = line.indexOf(QLatin1Char('='));
    return eq < 0 || line.trimmed().startsWith(QLatin1Char('#')) ? QString() : line.left(eq).trimmed();
}

QStringList applicationsOf(const QString& line)
{
    QStringList ids = line.mid(line.indexOf(QLatin1Char('=')) + 1).trimmed().split(QLatin1Char(';'), Qt::SkipEmptyParts);
    for (QString& id : ids)
        id = id.trimmed();
    return ids;
}

QString entry(const QString& mimeType, const QStringList& ids)
{
    return mimeType + QLatin1Char('=') + ids.join(QLatin1Char(';')) + QLatin1Char(';');
}

}  // namespace

MimeAppsList MimeAppsList::load(const QString& path)
{
    MimeAppsList list;
    QFile file(path);
    if (!file.exists())
        return list;
    if (!file.open(QIODevice::ReadOnly)) {
        list.unreadable_ = true;
        list.error_ = errorText(file.errorString());
        return list;
    }
    const QString text = QString::fromUtf8(file.readAll());
    if (!text.isEmpty())
        list.lines_ = text.split(QLatin1Char('\n'));
    return list;
}

qsizetype MimeAppsList::sectionLine() const
{
    for (qsizetype i = 0; i < lines_.size(); ++i) {
        if (lines_[i].trimmed() == kSection)
            return i;
    }
    return -1;
}

qsizetype MimeAppsList::sectionEnd(qsizetype header) const
{
    qsizetype end = header + 1;
    while (end < lines_.size() && !isSectionHeader(lines_[end]))
        ++end;
    return end;
}

qsizetype MimeAppsList::entryLine(const QString& mimeType) const
{
    const qsizetype header = sectionLine();
    if (header < 0)
        return -1;
    const qsizetype end = sectionEnd(header);
    for (qsizetype i = header + 1; i < end; ++i) {
        if (keyOf(lines_[i]) == mimeType)
            return i;
    }
    return -1;
}

QString MimeAppsList::defaultApplication(const QString& mimeType) const
{
    const qsizetype line = entryLine(mimeType);
    return line < 0 ? QString() : applicationsOf(lines_[line]).value(0);
}

void MimeAppsList::setDefaultApplication(const QString& mimeType, const QString& desktopId)
{
    const qsizetype line = entryLine(mimeType);
    if (line >= 0) {
        QStringList ids = applicationsOf(lines_[line]);
        ids.removeAll(desktopId);
        ids.prepend(desktopId);
        lines_[line] = entry(mimeType, ids);
        return;
    }
    const qsizetype header = sectionLine();
    if (header < 0) {
        // A new section at the end; an empty last piece is the file's final LF.
        if (!lines_.isEmpty() && lines_.last().isEmpty())
            lines_.removeLast();
        lines_ << kSection << entry(mimeType, {desktopId}) << QString();
        return;
    }
    // After the section's last non-blank line, so a blank line before the next
    // section stays where it was.
    qsizetype at = sectionEnd(header);
    while (at > header + 1 && lines_[at - 1].trimmed().isEmpty())
        --at;
    lines_.insert(at, entry(mimeType, {desktopId}));
}

void MimeAppsList::removeApplication(const QString& mimeType, const QString& desktopId)
{
    const qsizetype line = entryLine(mimeType);
    if (line < 0)
        return;
    QStringList ids = applicationsOf(lines_[line]);
    if (!ids.contains(desktopId))
        return;
    ids.removeAll(desktopId);
    if (!ids.isEmpty()) {
        lines_[line] = entry(mimeType, ids);
        return;
    }
    lines_.removeAt(line);
    const qsizetype header = sectionLine();
    const qsizetype end = sectionEnd(header);
    for (qsizetype i = header + 1; i < end; ++i) {
        if (!lines_[i].trimmed().isEmpty())
            return;  // other entries or comments
    }
    // Only blank lines between the header and the next section: they stay, so
    // the spacing before the next section is kept.
    lines_.removeAt(header);
    if (lines_ == QStringList{QString()})
        lines_.clear();  // the file was empty before
}

bool MimeAppsList::isBlank() const
{
    for (const QString& line : lines_) {
        if (!line.trimmed().isEmpty())
            return false;
    }
    return true;
}

QByteArray MimeAppsList::text() const
{
    return lines_.join(QLatin1Char('\n')).toUtf8();
}

}  // namespace sonivo
