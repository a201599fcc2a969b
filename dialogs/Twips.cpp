#include "dialogs/Twips.h"

#include <algorithm>
#include <cmath>

namespace sonivo {

int twipsPerPixel(double logicalDpi)
{
    return logicalDpi > 0 ? std::max(1, int(std::lround(1440.0 / logicalDpi))) : 15;
}

}  // namespace sonivo
