#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>

#include "geometry/ScaledCosSin.h"

namespace {

using Ext = long double;
using Rng = std::mt19937_64;

const double kInf = std::numeric_limits<double>::infinity();
const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kHalfPi = 1.57079632679489661923;

// A double of either sign whose magnitude is spread evenly over powers of two in [2^lo, 2^hi).
double LogUniform(Rng& rng, int lo, int hi)
{
    const double x = std::ldexp(std::uniform_real_distribution<double>(1, 2)(rng),
                                std::uniform_int_distribution<int>(lo, hi - 1)(rng));
    return rng() & 1 ? -x : x;
}

// A near multiple of pi/2 (or pi/4), up to |k| < 2^21 multiples, moved by up to 2^8 ulps.
double NearMultiple(Rng& rng, double unit)
{
    const double k = static_cast<double>(static_cast<int64_t>(rng() % (1u << 22)) - (1 << 21));
    double t = k * unit;
    for (int64_t steps = static_cast<int64_t>(rng() % 512) - 256; steps != 0; steps += steps > 0 ? -1 : 1)
        t = std::nextafter(t, steps > 0 ? kInf : -kInf);
    return t;
}

double Special(Rng& rng)
{
    static const double values[] = {0.0, -0.0, kInf, -kInf, kNaN, 0x1p20, -0x1p20, std::nextafter(0x1p20, 0.0),
                                    std::nextafter(-0x1p20, 0.0), 5e-324, -5e-324, 0x1p-1022, kHalfPi, 1e300};
    return values[rng() % std::size(values)];
}

// A radius or flatness: mostly ordinary, sometimes zero, subnormal, huge or no number.
double Scale(Rng& rng)
{
    switch (rng() % 16) {
    case 0: return Special(rng);
    case 1: return LogUniform(rng, -1074, -1022);
    case 2: return LogUniform(rng, 900, 1024);
    default: return LogUniform(rng, -30, 30);
    }
}

uint64_t Bits(double x) { return std::bit_cast<uint64_t>(x); }

// Every value must match the plain long double expression bit for bit, whether or not the
// shortcut certified it: arguments inside and beyond the reduction limit, near the zeros of
// sine and cosine, tiny, subnormal and special.
TEST(ScaledCosSinTest, MatchesTheLongDoubleLibraryBitForBit)
{
    using Draw = double (*)(Rng&);
    const struct {
        const char* name;
        Draw draw;
    } ranges[] = {
        {"one turn", [](Rng& r) { return std::uniform_real_distribution<double>(-7, 7)(r); }},
        {"a few dozen turns", [](Rng& r) { return std::uniform_real_distribution<double>(-200, 200)(r); }},
        {"near k pi/2", [](Rng& r) { return NearMultiple(r, kHalfPi); }},
        {"near k pi/4", [](Rng& r) { return NearMultiple(r, kHalfPi / 2); }},
        {"around the limit", [](Rng& r) { return LogUniform(r, 17, 23); }},
        {"huge", [](Rng& r) { return LogUniform(r, 23, 1024); }},
        {"tiny and subnormal", [](Rng& r) { return LogUniform(r, -1074, -10); }},
        {"special", Special},
    };
    Rng rng(20240611);
    for (const auto& range : ranges) {
        int mismatches = 0;
        for (int i = 0; i < 250000; ++i) {
            const double t = range.draw(rng), radius = Scale(rng), flatness = Scale(rng);
            const Ext a = radius, b = a * flatness;
            const TScaledCosSin got = ScaledCosSin(a, b, t);
            const double u = static_cast<double>(a * std::cos(static_cast<Ext>(t)));
            const double v = static_cast<double>(b * std::sin(static_cast<Ext>(t)));
            if ((Bits(got.cos) != Bits(u) || Bits(got.sin) != Bits(v)) && ++mismatches <= 3)
                ADD_FAILURE() << range.name << ": t=" << std::hexfloat << t << " radius=" << radius
                              << " flatness=" << flatness << " got " << got.cos << ", " << got.sin << " want " << u
                              << ", " << v;
        }
        EXPECT_EQ(mismatches, 0) << range.name;
    }
}

}  // namespace
