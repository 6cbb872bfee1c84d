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

// Where long double is IEEE binary128 (WebAssembly), its arithmetic is done in software and
// the library's cosl and sinl cost microseconds. There the products are certified as above
// from a double-double cosine and sine (about 106 bits, in hardware doubles): a product whose
// every candidate value rounds to one double is that double, whichever library or precision
// made it, so the x87 programs get the same coordinates.
#if LDBL_MANT_DIG == 113
constexpr bool kDoubleDoubleShortcut = true;
#else
constexpr bool kDoubleDoubleShortcut = false;
#endif

struct TDD {
    double hi, lo;  // value hi + lo, |lo| <= half an ulp of hi
};

TDD TwoSum(double a, double b)
{
    const double s = a + b, bb = s - a;
    return {s, (a - (s - bb)) + (b - bb)};
}

TDD FastTwoSum(double a, double b)  // |a| >= |b|
{
    const double s = a + b;
    return {s, b - (s - a)};
}

// a * b exactly as hi + lo, by Dekker's splitting (WebAssembly has no fused multiply-add).
TDD TwoProduct(double a, double b)
{
    const auto split = [](double x) {
        const double c = 134217729.0 * x;  // 2^27 + 1
        const double high = c - (c - x);
        return TDD{high, x - high};
    };
    const double p = a * b;
    const TDD x = split(a), y = split(b);
    return {p, ((x.hi * y.hi - p) + x.hi * y.lo + x.lo * y.hi) + x.lo * y.lo};
}

TDD Add(TDD a, TDD b)
{
    const TDD s = TwoSum(a.hi, b.hi), t = TwoSum(a.lo, b.lo);
    const TDD u = FastTwoSum(s.hi, s.lo + t.hi);
    return FastTwoSum(u.hi, u.lo + t.lo);
}

TDD Multiply(TDD a, TDD b)
{
    const TDD p = TwoProduct(a.hi, b.hi);
    return FastTwoSum(p.hi, p.lo + (a.hi * b.lo + a.lo * b.hi));
}

TDD Negate(TDD a) { return {-a.hi, -a.lo}; }

// pi/2 in five parts of at most 33 significant bits: n times each is exact for |n| < 2^20.
// What is left is below 2^-174.
constexpr double kHalfPiParts[5] = {0x1921fb544p-32, 0x10b4611a6p-66, 0x13198a2e0p-101, 0x1b839a252p-136,
                                    0x127044533p-174};

// 1/k! as double-doubles, for the terms kept in double-double.
constexpr TDD kInverse6 = {0x1.5555555555555p-3, 0x1.5555555555555p-57};
constexpr TDD kInverse24 = {0x1.5555555555555p-5, 0x1.5555555555555p-59};
constexpr TDD kInverse120 = {0x1.1111111111111p-7, 0x1.1111111111111p-63};
constexpr TDD kInverse720 = {0x1.6c16c16c16c17p-10, -0x1.f49f49f49f49fp-65};
constexpr TDD kInverse5040 = {0x1.a01a01a01a01ap-13, 0x1.a01a01a01a01ap-73};

// The tail of a series in z, first term coefficient c[0] z^4, in plain double: on |z| <= 0.62
// it is below 2^-17, so its roundings stay below 2^-69.
double Tail(const double (&c)[7], double z)
{
    double sum = c[6];
    for (int i = 5; i >= 0; --i) sum = sum * z + c[i];
    return sum * (z * z) * (z * z);
}
constexpr double kCosTail[7] = {1.0 / 40320, -1.0 / 3628800, 1.0 / 479001600, -1.0 / 87178291200.0,
                                1.0 / 20922789888000.0, -1.0 / 6402373705728000.0, 1.0 / 2432902008176640000.0};
constexpr double kSinTail[7] = {1.0 / 362880, -1.0 / 39916800, 1.0 / 6227020800.0, -1.0 / 1307674368000.0,
                                1.0 / 355687428096000.0, -1.0 / 121645100408832000.0,
                                1.0 / 51090942171709440000.0};

struct TDDCosSin {
    TDD cos, sin;
};

// cos t and sin t for |t| < kReductionLimit, to about 2^-100 relative (the reduction's sums are
// exact or rounded relative to their result, pi/2 is carried to 2^-174).
TDDCosSin DoubleDoubleCosSin(double t)
{
    const double q = t * 0.63661977236758134;
    const double n = static_cast<double>(static_cast<int64_t>(q + std::copysign(0.5, q)));
    TDD r = TwoSum(t, -n * kHalfPiParts[0]);
    for (int i = 1; i < 5; ++i) r = Add(r, {-n * kHalfPiParts[i], 0});
    const TDD z = Multiply(r, r);
    // cos r = 1 - z/2 + z^2/24 - z^3/720 + tail; sin r = r (1 - z/6 + z^2/120 - z^3/5040 + tail).
    TDD c = Add(Multiply(Negate(kInverse720), z), kInverse24);
    c = Add(Multiply(c, z), {-0.5, 0});
    c = Add(Add(Multiply(c, z), {1, 0}), {Tail(kCosTail, z.hi), 0});
    TDD s = Add(Multiply(Negate(kInverse5040), z), kInverse120);
    s = Add(Multiply(s, z), Negate(kInverse6));
    s = Multiply(r, Add(Add(Multiply(s, z), {1, 0}), {Tail(kSinTail, z.hi), 0}));
    switch (static_cast<int64_t>(n) & 3) {
    case 0: return {c, s};
    case 1: return {Negate(s), c};
    case 2: return {Negate(c), Negate(s)};
    default: return {s, Negate(c)};
    }
}

// As Certified, for the double-double product of scale (a long double) and a cosine or sine.
// The bound is Certified's: 2^-58 |p| for ours and the library's relative errors, 2^-120 |scale|
// for the absolute ones; both ends are rounded to double from hi + (lo -+ bound), one rounding each.
bool CertifiedDD(Ext scale, TDD value, double& out)
{
    const double high = static_cast<double>(scale);
    const TDD s{high, static_cast<double>(scale - static_cast<Ext>(high))};
    const TDD p = Multiply(s, value);
    if (!std::isfinite(p.hi) || !std::isfinite(s.hi)) return false;
    const double bound = std::fabs(p.hi) * 0x1p-58 + std::fabs(s.hi) * 0x1p-120;
    const double lo = p.hi + (p.lo - bound), hi = p.hi + (p.lo + bound);
    if (std::bit_cast<uint64_t>(lo) != std::bit_cast<uint64_t>(hi) || bound == 0) return false;
    out = lo;
    return true;
}

}  // namespace

TScaledCosSin ScaledCosSin(Ext a, Ext b, double t)
{
    TScaledCosSin out;
    bool cosDone = false, sinDone = false;
    if (kDoubleDoubleShortcut && t == 0) return {static_cast<double>(a * 1.0L), static_cast<double>(b * static_cast<Ext>(t))};
    if (kDoubleDoubleShortcut && std::fabs(t) < kReductionLimit) {
        const TDDCosSin cs = DoubleDoubleCosSin(t);
        cosDone = CertifiedDD(a, cs.cos, out.cos);
        sinDone = CertifiedDD(b, cs.sin, out.sin);
    }
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
