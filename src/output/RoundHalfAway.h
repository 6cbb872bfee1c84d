#pragma once
// std::llround for long double without the library call, which costs more than the rest of
// welding a vertex: the nearest integer, halves away from zero, for |x| < 2^63.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <optional>

inline int64_t RoundHalfAway(long double x)
{
#if defined(__LDBL_MANT_DIG__) && __LDBL_MANT_DIG__ == 64
    // Adding 1.5 * 2^63 rounds to the nearest integer (ties to even) and leaves it in the low
    // bits of the 64-bit significand: no conversion instruction, whose change of the x87
    // rounding mode stalls the processor.
    if (x > -0x1p62L && x < 0x1p62L) {
        const long double shifted = x + 0x1.8p63L;
        uint64_t significand;
        std::memcpy(&significand, &shifted, sizeof significand);
        int64_t nearest = static_cast<int64_t>(significand - 0xC000000000000000ull);
        const long double fraction = x - static_cast<long double>(nearest);  // exact
        if (fraction == 0.5L && x > 0) ++nearest;
        else if (fraction == -0.5L && x < 0) --nearest;
        return nearest;
    }
#endif
    const int64_t whole = static_cast<int64_t>(x);  // toward zero
    const long double fraction = x - static_cast<long double>(whole);  // exact
    if (fraction >= 0.5L) return whole + 1;
    if (fraction <= -0.5L) return whole - 1;
    return whole;
}

// RoundHalfAway(long double(stored) * scale * 1e9L), worked out in double when that is certain
// to give the same integer; nothing when it is not (the value lies within its error bound of a
// half, is too large, or is not finite), and the caller takes the extended path. The double
// product is within 2^-51 of the extended one, relative; the bound kept is 2^-49, plus 2^-30
// for products too small for a normal double.
inline std::optional<int64_t> QuickRoundedNanometres(double stored, double scale)
{
    const double value = stored * scale * 1e9;
    const double magnitude = std::fabs(value);
    if (!(magnitude < 0x1p48)) return std::nullopt;
    const double nearest = (value + 0x1.8p52) - 0x1.8p52;  // to nearest for |value| < 2^51
    if (!(std::fabs(value - nearest) < 0.5 - (magnitude * 0x1p-49 + 0x1p-30))) return std::nullopt;
    return static_cast<int64_t>(nearest);
}
