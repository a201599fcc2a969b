#pragma once
// File names on Linux are byte strings that need not be valid UTF-8. Sonivo keeps
// every name as a QString without losing a byte: valid UTF-8 decodes as usual and
// each byte of an invalid sequence becomes the lone surrogate U+DC00 + byte, which
// toNativePath turns back into that byte.

#include <QByteArray>
#include <QString>

namespace sonivo {

QString fromNativePath(const QByteArray& bytes);
QByteArray toNativePath(const QString& name);

}  // namespace sonivo
