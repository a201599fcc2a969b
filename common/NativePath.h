#pragma once
// File names on Linux are byte strings that need not be valid UTF-8. Sonivo keeps
// every name as a QString without losing a byte: valid UTF-8 decodes as usual and
// each byte of an invalid sequence becomes the lone surrogate U+DC00 + byte, which
// toNativePath turns back into that byte.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace sonivo {

QString fromNativePath(QByteArrayView bytes);
QByteArray toNativePath(const QString& name);
// The byte a character of a name stands for when it is an escaped byte, else -1.
int escapedByte(char16_t c);
// toNativePath, appended to out.
void appendNativePath(QByteArray& out, QStringView name);

}  // namespace sonivo
