#include "geometry/ScaledCosSin.h"

#include <array>
#include <bit>
#include <cfloat>
#include <cmath>
#include <cstdint>

namespace {

using Ext = long double;

// The shortcut is sized for the 64-bit significand of the x87 format, and its bound for the
// accuracy of the GNU C library's cosl and sinl, whose roundings it must reproduce. Anywhere
// else every value comes from the library.
#if defined(__GLIBC__) && LDBL_MANT_DIG == 64
constexpr bool kShortcut = true;
#else
constexpr bool kShortcut = false;
#endif

// pi/2 in three parts. The first two have at most 44 significant bits, so n times either is
// exact for |n| < 2^20; the third carries the next 64 bits. What is left is below 2^-155.
constexpr Ext kHalfPi1 = 0x6487ed5110bp-42L;
constexpr Ext kHalfPi2 = 0x4611a626331p-86L;
constexpr Ext kHalfPi3 = 0x45c06e0e68948127p-150L;
// Arguments at least this large (and non-finite ones) go to the library.
constexpr double kReductionLimit = 0x1p20;

constexpr Ext InverseFactorial(int k)
{
    Ext f = 1;  // k! is exact in long double up to k = 22 (its factors of two need no bits)
    for (int i = 2; i <= k; ++i) f *= i;
    return 1 / f;
}

// Taylor coefficients of sin (odd powers from 3 to 21) and cos (even powers from 2 to 20),
// as polynomials in z = r^2. On |r| <= pi/4 the first terms left out are below 2^-77 of the
// results.
constexpr int kTerms = 10;
constexpr std::array<Ext, kTerms> Coefficients(int firstPower)
{
    std::array<Ext, kTerms> c{};
    for (int i = 0; i < kTerms; ++i) c[i] = (i % 2 ? 1 : -1) * InverseFactorial(2 * i + firstPower);
    return c;
}
constexpr std::array<Ext, kTerms> kSinCoefficients = Coefficients(3);
constexpr std::array<Ext, kTerms> kCosCoefficients = Coefficients(2);

// c[0] + c[1] z + ... as its even and odd halves in w = z^2: the two short chains of
// dependent steps overlap, where one long chain would wait on every step.
Ext Polynomial(const std::array<Ext, kTerms>& c, Ext z, Ext w)
{
    Ext even = c[kTerms - 2], odd = c[kTerms - 1];
#pragma GCC unroll 8
    for (int i = kTerms - 4; i >= 0; i -= 2) {
        even = even * w + c[i];
        odd = odd * w + c[i + 1];
    }
    return even + z * odd;
}

struct TExtCosSin {
    Ext cos, sin;
};

// cos and sin of |r| <= pi/4 (a hair beyond is as good), both within about 2^-62 relative.
TExtCosSin CosSinNearZero(Ext r)
{
    const Ext z = r * r, w = z * z;
    return {1 + z * Polynomial(kCosCoefficients, z, w), r + r * z * Polynomial(kSinCoefficients, z, w)};
}

// cos t and sin t for |t| < kReductionLimit: t = n pi/2 + r with n the nearest integer, the
// first two products exact and r within 2^-64 relative plus 2^-131 absolute.
TExtCosSin CosSinReduced(double t)
{
    // n only picks the quadrant, so double precision does; it also spares a long double to
    // integer conversion, which on x87 switches the rounding mode twice.
    const double q = t * 0.63661977236758134;
    const int64_t n = static_cast<int64_t>(q + std::copysign(0.5, q));
    const Ext ext = static_cast<Ext>(n);
    const Ext r = ((t - ext * kHalfPi1) - ext * kHalfPi2) - ext * kHalfPi3;
    const TExtCosSin cs = CosSinNearZero(r);
    switch (n & 3) {
    case 0: return {cs.cos, cs.sin};
    case 1: return {-cs.sin, cs.cos};
    case 2: return {-cs.cos, -cs.sin};
    default: return {cs.sin, -cs.cos};
    }
}

// Stores in out what (double) of the library's product would be, when our product p (scale
// times our cosine or sine) decides it. Our cosine and sine are within about 2^-62 relative
// plus 2^-130 absolute of the true values, the library's within 2 ulp (2^-62 relative), and p
// adds one rounding: so the library's product lies inside p +- bound, bound = 2^-58 |p| +
// 2^-120 |scale|, with room to spare. Rounding to double (also through long double first) is
// monotonic: when both ends round to the same double, so does every product in between. A p
// near zero never passes (its ends differ in sign), nor does a non-finite one.
bool Certified(Ext p, Ext scale, double& out)
{
    if (!std::isfinite(p)) return false;
    const Ext bound = std::fabs(p) * 0x1p-58L + std::fabs(scale) * 0x1p-120L;
    const double lo = static_cast<double>(p - bound);
    const double hi = static_cast<double>(p + bound);
    if (std::bit_cast<uint64_t>(lo) != std::bit_cast<uint64_t>(hi) || bound == 0) return false;
    out = lo;
    return true;
}

}  // namespace

TScaledCosSin ScaledCosSin(Ext a, Ext b, double t)
{
    TScaledCosSin out;
    bool cosDone = false, sinDone = false;
    // Whole circles start at 0, where the sine's product would never pass the check; cosine
    // and sine of +-0 are exactly 1 and +-0 in any conforming library.
    if (kShortcut && t == 0) return {static_cast<double>(a * 1.0L), static_cast<double>(b * static_cast<Ext>(t))};
    if (kShortcut && std::fabs(t) < kReductionLimit) {
        const TExtCosSin cs = CosSinReduced(t);
        cosDone = Certified(a * cs.cos, a, out.cos);
        sinDone = Certified(b * cs.sin, b, out.sin);
    }
    if (!cosDone) out.cos = static_cast<double>(a * std::cos(static_cast<Ext>(t)));
    if (!sinDone) out.sin = static_cast<double>(b * std::sin(static_cast<Ext>(t)));
    return out;
}
