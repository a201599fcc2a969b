#include "platform/MimeAppsList.h"

#include "common/ErrorText.h"

#include <QFile>

namespace sonivo {
namespace {

const QByteArray kSection = QByteArrayLiteral("[Default Applications]");

bool isSectionHeader(const QByteArray& line)
{
    const QByteArray t = line.trimmed();
    return t.startsWith('[') && t.endsWith(']');
}

QByteArray keyOf(const QByteArray& line)
{
    const qsizetype eq = line.indexOf('=');
    return eq < 0 || line.trimmed().startsWith('#') ? QByteArray() : line.left(eq).trimmed();
}

QList<QByteArray> applicationsOf(const QByteArray& line)
{
    QList<QByteArray> ids;
    for (const QByteArray& id : line.mid(line.indexOf('=') + 1).split(';')) {
        if (!id.trimmed().isEmpty())
            ids << id.trimmed();
    }
    return ids;
}

QByteArray entry(const QByteArray& mimeType, const QList<QByteArray>& ids)
{
    return mimeType + '=' + ids.join(';') + ';';
}

}  // namespace

MimeAppsList MimeAppsList::load(const QString& path)
{
    MimeAppsList list;
    QFile file(path);
    if (!file.exists())
        return list;
    QByteArray bytes;
    if (file.open(QIODevice::ReadOnly))
        bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        list.unreadable_ = true;
        list.error_ = errorText(file.errorString());
        return list;
    }
    if (!bytes.isEmpty())
        list.lines_ = bytes.split('\n');
    return list;
}

qsizetype MimeAppsList::lastSectionLine() const
{
    for (qsizetype i = lines_.size() - 1; i >= 0; --i) {
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

QList<qsizetype> MimeAppsList::entryLines(const QByteArray& mimeType) const
{
    QList<qsizetype> found;
    bool inSection = false;
    for (qsizetype i = 0; i < lines_.size(); ++i) {
        if (isSectionHeader(lines_[i]))
            inSection = lines_[i].trimmed() == kSection;
        else if (inSection && keyOf(lines_[i]) == mimeType)
            found << i;
    }
    return found;
}

QString MimeAppsList::defaultApplication(const QString& mimeType) const
{
    const QList<qsizetype> entries = entryLines(mimeType.toUtf8());
    return entries.isEmpty() ? QString() : QString::fromUtf8(applicationsOf(lines_[entries.last()]).value(0));
}

void MimeAppsList::setDefaultApplication(const QString& mimeType, const QString& desktopId)
{
    const QByteArray type = mimeType.toUtf8();
    const QByteArray id = desktopId.toUtf8();
    if (const QList<qsizetype> entries = entryLines(type); !entries.isEmpty()) {
        QList<QByteArray> ids = applicationsOf(lines_[entries.last()]);
        ids.removeAll(id);
        ids.prepend(id);
        lines_[entries.last()] = entry(type, ids);
        return;
    }
    const qsizetype header = lastSectionLine();
    if (header < 0) {
        // A new section at the end; an empty last piece is the file's final LF.
        if (!lines_.isEmpty() && lines_.last().isEmpty())
            lines_.removeLast();
        lines_ << kSection << entry(type, {id}) << QByteArray();
        return;
    }
    // After the section's last non-blank line, so a blank line before the next
    // section stays where it was.
    qsizetype at = sectionEnd(header);
    while (at > header + 1 && lines_[at - 1].trimmed().isEmpty())
        --at;
    lines_.insert(at, entry(type, {id}));
}

void MimeAppsList::removeApplication(const QString& mimeType, const QString& desktopId)
{
    const QByteArray type = mimeType.toUtf8();
    const QByteArray id = desktopId.toUtf8();
    const QList<qsizetype> entries = entryLines(type);
    // From the last, so that the lines before each one keep their numbers.
    for (auto line = entries.crbegin(); line != entries.crend(); ++line) {
        QList<QByteArray> ids = applicationsOf(lines_[*line]);
        if (!ids.contains(id))
            continue;
        ids.removeAll(id);
        if (!ids.isEmpty()) {
            lines_[*line] = entry(type, ids);
            continue;
        }
        lines_.removeAt(*line);
        qsizetype header = *line - 1;
        while (!isSectionHeader(lines_[header]))
            --header;
        removeSectionIfBlank(header);
    }
    if (lines_ == QList<QByteArray>{QByteArray()})
        lines_.clear();  // the file was empty before
}

void MimeAppsList::removeSectionIfBlank(qsizetype header)
{
    const qsizetype end = sectionEnd(header);
    for (qsizetype i = header + 1; i < end; ++i) {
        if (!lines_[i].trimmed().isEmpty())
            return;  // other entries or comments
    }
    // The blank lines stay, so the spacing before the next section is kept.
    lines_.removeAt(header);
}

bool MimeAppsList::isBlank() const
{
    for (const QByteArray& line : lines_) {
        if (!line.trimmed().isEmpty())
            return false;
    }
    return true;
}

QByteArray MimeAppsList::text() const
{
    return lines_.join('\n');
}

}  // namespace sonivo
