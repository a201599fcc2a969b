#pragma once

#include "analysis/clsMP3.h"

#include <QString>

namespace sonivo::test {

// The file at path read as the scan reads it; a read that fails is a test failure.
clsMP3 analysed(const QString& path);

} // namespace sonivo::test
