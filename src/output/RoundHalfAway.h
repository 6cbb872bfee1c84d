#pragma once
// std::llround for long double without the library call, which costs more than the rest of
// welding a vertex: the nearest integer, halves away from zero, for |x| < 2^63.
#include <cstdint>
#include <cstring>

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
