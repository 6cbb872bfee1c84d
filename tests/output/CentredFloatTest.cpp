#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <random>

#include "output/CentredFloat.h"

// The double path gives the long double arithmetic's float, bit for bit: on random
// coordinates and centres at the coordinate factors' scales, on coordinates whose result lies
// on or next to a half-way point between two floats, on coordinates at or next to the centre
// (results near zero, of either sign), and on zeros, huge and non-finite values.
TEST(CentredFloat, AgreesWithTheLongDoubleArithmetic)
{
    std::mt19937_64 random(13);
    std::uniform_real_distribution<double> exponent(-6, 9);
    const auto draw = [&] { return ((random() & 1) ? -1 : 1) * std::pow(10.0, exponent(random)); };
    for (long double scale : {1e-3L, 1e-2L, 0.001L * 25.4L, 0.001L / 3}) {
        for (int i = 0; i < 20000; ++i) {
            const long double centre = i % 4 == 0 ? 0.0L : static_cast<long double>(draw()) * scale;
            const TCentredFloat relative(scale, centre);
            const double atCentre = static_cast<double>(centre / scale);
            const auto result = static_cast<float>(draw() * 1e-3);
            const long double halfway = (result + static_cast<long double>(std::nextafter(result, INFINITY))) / 2;
            const double atHalfway = static_cast<double>((halfway + centre) / scale);
            for (double stored : {draw(), atHalfway, std::nextafter(atHalfway, 0.0), std::nextafter(atHalfway, 1e300),
                                  atCentre, std::nextafter(atCentre, 0.0), std::nextafter(atCentre, 1e300), 0.0, -0.0,
                                  1e300, -3e38 / static_cast<double>(scale), double(NAN), double(INFINITY)}) {
                ASSERT_EQ(std::bit_cast<uint32_t>(relative(stored)), std::bit_cast<uint32_t>(relative.Extended(stored)))
                    << stored << " * " << static_cast<double>(scale) << " - " << static_cast<double>(centre);
            }
        }
    }
}
