#include "output/LinearColor.h"

#include <cmath>

double SrgbToLinear(unsigned channel)
{
    const double c = (channel > 255 ? 255 : channel) / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}
