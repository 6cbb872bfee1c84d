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

// Whenever the double path answers, it answers what the extended path does: on random
// coordinates at the coordinate factors' scales, and on coordinates whose product lands on a
// half nanometre or next to one. Most random coordinates must take the double path.
TEST(RoundHalfAway, QuickNanometresAgreeWithTheExtendedPath)
{
    std::mt19937_64 random(12);
    std::uniform_real_distribution<double> exponent(-12, 8);
    size_t answered = 0;  // random coordinates the double path answered
    for (double scale : {1e-3, 1e-2, 1e-1, 1.0, 0.1 / 3, 2.54e-2}) {
        for (int i = 0; i < 100000; ++i) {
            const double stored = ((random() & 1) ? -1 : 1) * std::pow(10.0, exponent(random));
            const double half = (std::trunc(stored * scale * 1e9) + 0.5) / (scale * 1e9);
            for (double x : {stored, half, std::nextafter(half, 0.0), std::nextafter(half, 2 * half)}) {
                const std::optional<int64_t> quick = QuickRoundedNanometres(x, scale);
                if (!quick) continue;
                answered += x == stored;
                ASSERT_EQ(*quick, RoundHalfAway(static_cast<long double>(x) * scale * 1e9L)) << x << " * " << scale;
            }
        }
    }
    EXPECT_GT(answered, 6 * 100000 * 3 / 4);
    for (double odd : {double(NAN), double(INFINITY), 1e300, -1e300})
        EXPECT_FALSE(QuickRoundedNanometres(odd, 1.0).has_value()) << odd;
}
