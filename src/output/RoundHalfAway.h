#pragma once
// std::llround for long double without the library call, which costs more than the rest of
// welding a vertex: the nearest integer, halves away from zero, for |x| < 2^63.
#include <cstdint>

inline int64_t RoundHalfAway(long double x)
{
    const int64_t whole = static_cast<int64_t>(x);  // toward zero
    const long double fraction = x - static_cast<long double>(whole);  // exact
    if (fraction >= 0.5L) return whole + 1;
    if (fraction <= -0.5L) return whole - 1;
    return whole;
}
