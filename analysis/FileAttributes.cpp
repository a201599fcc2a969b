#include "analysis/FileAttributes.h"

#include "platform/NativeFile.h"

#include <sys/stat.h>

namespace sonivo {
namespace {

constexpr mode_t kAllWrite = S_IWUSR | S_IWGRP | S_IWOTH;

bool isReadOnly(mode_t mode)
{
    return !(mode & S_IWUSR);
}

bool isHiddenName(const QString& path)
{
    return path.mid(path.lastIndexOf(QLatin1Char('/')) + 1).startsWith(QLatin1Char('.'));
}

}  // namespace

std::optional<QString> attributeText(const QString& path)
{
    const std::optional<mode_t> mode = fileMode(path);
    if (!mode)
        return std::nullopt;
    return attributeText(*mode, path);
}

QString attributeText(mode_t mode, const QString& name)
{
    QString text;
    if (isReadOnly(mode))
        text += QLatin1Char('R');
    if (isHiddenName(name))
        text += QLatin1Char('H');
    return text.isEmpty() ? QStringLiteral("Normal") : text;
}

bool setAttributeText(const QString& path, const QString& text)
{
    const std::optional<mode_t> mode = fileMode(path);
    if (!mode)
        return false;
    bool readOnly = false;
    if (text.toUpper() != QLatin1String("NORMAL")) {
        if (text.contains(QLatin1Char('R')))
            readOnly = true;
        else if (text.contains(QLatin1Char('r')))
            readOnly = isReadOnly(*mode);
    }
    if (readOnly == isReadOnly(*mode))
        return true;
    return setFileMode(path, readOnly ? (*mode & ~kAllWrite) : (*mode | S_IWUSR));
}

WritableWhileInScope::WritableWhileInScope(NativeFile& file) : file_(file)
{
    const std::optional<mode_t> mode = file.mode();
    if (mode && isReadOnly(*mode) && file.setMode(*mode | S_IWUSR))
        restore_ = *mode;
}

WritableWhileInScope::~WritableWhileInScope()
{
    if (restore_)
        file_.setMode(*restore_);
}

}  // namespace sonivo
