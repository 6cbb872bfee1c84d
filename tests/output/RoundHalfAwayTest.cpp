#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "output/RoundHalfAway.h"

// The same integer as std::llround on random magnitudes across the whole range, on exact
// halves and on the neighbours of halves.
TEST(RoundHalfAway, AgreesWithLlroundEverywhereBelowNineE18)
{
#ifdef _WIN32
    // The MinGW runtime's llround rounds some values just below a half up (0.5 - 2^-54 gives
    // 1), so glibc's is the reference; the function itself is plain arithmetic, the same on both.
    GTEST_SKIP() << "the reference llround is glibc's";
#endif
    std::mt19937_64 random(11);
    std::uniform_real_distribution<double> exponent(-3, 18.9);
    for (int i = 0; i < 200000; ++i) {
        const long double magnitude = std::pow(10.0L, static_cast<long double>(exponent(random)));
        const long double base = (random() & 1) ? -magnitude : magnitude;
        const long double half = std::trunc(base) + 0.5L;
        for (long double x : {base, half, -half, std::nextafter(half, 0.0L), std::nextafter(half, 2 * half)}) {
            if (std::fabs(x) >= 9e18L) continue;
            ASSERT_EQ(RoundHalfAway(x), std::llround(x)) << static_cast<double>(x);
        }
    }
}
