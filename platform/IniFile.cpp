#include "platform/IniFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace sonivo {
namespace {

constexpr qsizetype kMaxValueLength = 254;

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

}  // namespace

IniDocument IniDocument::load(const QString& path)
{
    IniDocument doc;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        doc.unreadable_ = file.exists();
        doc.error_ = file.errorString();
        return doc;
    }
    QString text = QString::fromUtf8(file.readAll());
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    doc.lines_ = text.split(QLatin1Char('\n'));
    if (!doc.lines_.isEmpty() && doc.lines_.last().isEmpty())
        doc.lines_.removeLast();
    return doc;
}

qsizetype IniDocument::sectionLine(const QString& section) const
{
    for (qsizetype i = 0; i < lines_.size(); ++i) {
        const std::optional<QString> name = sectionName(lines_[i]);
        if (name && sameName(*name, section))
            return i;
    }
    return -1;
}

qsizetype IniDocument::sectionEnd(qsizetype header) const
{
    qsizetype end = header + 1;
    while (end < lines_.size() && !sectionName(lines_[end]))
        ++end;
    return end;
}

std::optional<QString> IniDocument::value(const QString& section, const QString& key) const
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

void IniDocument::setValue(const QString& section, const QString& key, const QString& value)
{
    const QString line = key + QLatin1Char('=') + value;
    qsizetype header = sectionLine(section);
    if (header < 0) {
        lines_ << QLatin1Char('[') + section + QLatin1Char(']') << line;
        return;
    }
    const qsizetype end = sectionEnd(header);
    for (qsizetype i = header + 1; i < end; ++i) {
        const std::optional<QString> name = keyName(lines_[i]);
        if (name && sameName(*name, key)) {
            lines_[i] = line;
            return;
        }
    }
    // After the section's last non-blank line, so that a blank line before the
    // next section stays where it was.
    qsizetype at = end;
    while (at > header + 1 && lines_[at - 1].trimmed().isEmpty())
        --at;
    lines_.insert(at, line);
}

bool IniDocument::removeSection(const QString& section)
{
    const qsizetype header = sectionLine(section);
    if (header < 0)
        return false;
    lines_.remove(header, sectionEnd(header) - header);
    return true;
}

bool IniDocument::hasSection(const QString& section) const
{
    return sectionLine(section) >= 0;
}

QStringList IniDocument::sections() const
{
    QStringList names;
    for (const QString& line : lines_) {
        if (const std::optional<QString> name = sectionName(line))
            names << *name;
    }
    return names;
}

bool IniDocument::save(const QString& path)
{
    if (unreadable_)
        return false;  // its lines are not known: writing would lose them
    const QString folder = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(folder)) {
        error_ = QStringLiteral("impossibile creare la cartella ") + folder;
        return false;
    }
    QSaveFile file(path);
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly)) {
        error_ = file.errorString();
        return false;
    }
    for (const QString& line : lines_)
        file.write((line + QLatin1Char('\n')).toUtf8());
    if (!file.commit()) {
        error_ = file.errorString();
        return false;
    }
    error_.clear();
    return true;
}

QString cIniFile::Value() const
{
    const std::optional<QString> stored = IniDocument::load(Path).value(Section, Key);
    return stored ? stored->left(kMaxValueLength) : Default;
}

void cIniFile::setValue(const QString& text)
{
    QString clean = text;
    clean.remove(QChar(u'\0'));
    IniDocument doc = IniDocument::load(Path);
    doc.setValue(Section, Key, clean);
    LastReturnCode = doc.save(Path) ? 1 : 0;
    lastError_ = doc.error();
}

QString readSetting(const QString& file, const QString& section, const QString& key)
{
    cIniFile ini;
    ini.Path = file;
    ini.Section = section;
    ini.Key = key;
    return ini.Value();
}

bool writeSetting(const QString& file, const QString& section, const QString& key, const QString& value)
{
    cIniFile ini;
    ini.Path = file;
    ini.Section = section;
    ini.Key = key;
    ini.setValue(value);
    return ini.LastReturnCode == 1;
}

QString withoutTrailingSlash(const QString& folder)
{
    return folder.endsWith(QLatin1Char('/')) ? folder.left(folder.size() - 1) : folder;
}

}  // namespace sonivo
