#include "platform/IniFile.h"

#include "common/ErrorText.h"
#include "platform/ReplacingFile.h"

#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace sonivo {
namespace {

// The section name of a "[name]" line, or nothing for any other line.
std::optional<QString> sectionName(const QString& line)
{
    const QString t = line.trimmed();
    if (t.size() < 2 || !t.startsWith(QLatin1Char('[')) || !t.endsWith(QLatin1Char(']')))
        return std::nullopt;
    return t.mid(1, t.size() - 2).trimmed();
}

// The key of a "key=value" line, or nothing.
std::optional<QString> keyName(const QString& line)
{
    const qsizetype eq = line.indexOf(QLatin1Char('='));
    if (eq < 0 || sectionName(line))
        return std::nullopt;
    return line.left(eq).trimmed();
}

bool sameName(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

bool hasLineBreak(const QString& text)
{
    return text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r'));
}

// Names and values that read back as they were written.
bool keepable(const QString& section, const QString& key, const QString& value)
{
    return !section.contains(QLatin1Char('[')) && !section.contains(QLatin1Char(']')) && !hasLineBreak(section) && !key.trimmed().isEmpty()
        && !key.contains(QLatin1Char('=')) && !hasLineBreak(key) && !hasLineBreak(value);
}

}  // namespace

IniFile::IniFile(QString path) : path_(std::move(path))
{
    QFile file(path_);
    if (QFileInfo(path_).isDir() || !file.open(QIODevice::ReadOnly)) {
        unreadable_ = QFileInfo::exists(path_);
        error_ = unreadable_ ? QStringLiteral("impossibile leggere ") + path_ : QString();
        return;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        unreadable_ = true;
        error_ = file.errorString();
        return;
    }
    QString text = QString::fromUtf8(bytes);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    lines_ = text.split(QLatin1Char('\n'));
    if (!lines_.isEmpty() && lines_.last().isEmpty())
        lines_.removeLast();
}

QString IniFile::defaultPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QStringLiteral("/sonivo/sonivo.ini");
}

qsizetype IniFile::sectionLine(const QString& section) const
{
    for (qsizetype i = 0; i < lines_.size(); ++i) {
        const std::optional<QString> name = sectionName(lines_[i]);
        if (name && sameName(*name, section))
            return i;
    }
    return -1;
}

qsizetype IniFile::sectionEnd(qsizetype header) const
{
    qsizetype end = header + 1;
    while (end < lines_.size() && !sectionName(lines_[end]))
        ++end;
    return end;
}

std::optional<QString> IniFile::value(const QString& section, const QString& key) const
{
    const qsizetype header = sectionLine(section);
    if (header < 0)
        return std::nullopt;
    const qsizetype end = sectionEnd(header);
    for (qsizetype i = header + 1; i < end; ++i) {
        const std::optional<QString> name = keyName(lines_[i]);
        if (name && sameName(*name, key))
            return lines_[i].mid(lines_[i].indexOf(QLatin1Char('=')) + 1).trimmed();
    }
    return std::nullopt;
}

bool IniFile::setValue(const QString& section, const QString& key, const QString& value)
{
    QString clean = value;
    clean.remove(QChar(u'\0'));
    if (!keepable(section, key, clean))
        return false;
    if (this->value(section, key) == clean.trimmed())
        return true;
    changed_ = true;
    const QString line = key + QLatin1Char('=') + clean;
    qsizetype header = sectionLine(section);
    if (header < 0) {
        lines_ << QLatin1Char('[') + section + QLatin1Char(']') << line;
        return true;
    }
    const qsizetype end = sectionEnd(header);
    for (qsizetype i = header + 1; i < end; ++i) {
        const std::optional<QString> name = keyName(lines_[i]);
        if (name && sameName(*name, key)) {
            lines_[i] = line;
            return true;
        }
    }
    // After the section's last non-blank line, so that a blank line before the
    // next section stays where it was.
    qsizetype at = end;
    while (at > header + 1 && lines_[at - 1].trimmed().isEmpty())
        --at;
    lines_.insert(at, line);
    return true;
}

bool IniFile::removeSection(const QString& section)
{
    const qsizetype header = sectionLine(section);
    if (header < 0)
        return false;
    lines_.remove(header, sectionEnd(header) - header);
    changed_ = true;
    return true;
}

bool IniFile::hasSection(const QString& section) const
{
    return sectionLine(section) >= 0;
}

QStringList IniFile::sections() const
{
    QStringList names;
    for (const QString& line : lines_) {
        if (const std::optional<QString> name = sectionName(line))
            names << *name;
    }
    return names;
}

bool IniFile::save()
{
    if (!changed_)
        return true;
    if (unreadable_) {
        error_ = QStringLiteral("impossibile leggere ") + path_;
        return false;  // its lines are not known: writing would lose them
    }
    QByteArray bytes;
    for (const QString& line : lines_)
        bytes += (line + QLatin1Char('\n')).toUtf8();
    ReplacingFile file;
    if (!file.open(path_) || !file.write(bytes) || !file.commit()) {
        error_ = errorText(file.error());
        return false;
    }
    error_.clear();
    changed_ = false;
    return true;
}

}  // namespace sonivo
