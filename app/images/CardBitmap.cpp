#include "app/images/CardBitmap.h"

#include <cmath>

int truncatedDpi(double dpi)
{
    if (!std::isfinite(dpi) || dpi <= 0 || dpi > 1e6)
        return 0;
    return int(std::round(dpi * 1000) / 1000);
}
