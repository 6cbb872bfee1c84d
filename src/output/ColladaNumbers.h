#pragma once
// Number texts of the COLLADA document: fixed-point values with nine decimals and the
// three-decimal colour channels.
#include <cstddef>
#include <string_view>

// Room FormatFixed9 may need: every integer digit of the largest long double, sign, point and
// nine decimals.
constexpr std::size_t kFixed9MaxChars = 4960;

// Writes value in fixed-point form with exactly nine decimals, as printf's "%.9Lf" does
// (rounding the exact binary value half to even, "-" for every negative value, negative zero
// and values that round to zero included). Non-finite values give "NaN", "INF" or "-INF", the
// forms an XML double accepts. out must have room for kFixed9MaxChars characters; returns the
// end of the text.
char* FormatFixed9(long double value, char* out);

// FormatFixed9 of static_cast<long double>(stored) * scale: the same text, worked out with
// integers where it can be, which is faster.
char* FormatScaledFixed9(double stored, double scale, char* out);

// A colour channel 0..255 as c / 255 cut (not rounded) to three decimals, shortest form:
// 0 -> "0", 128 -> "0.501", 153 -> "0.599", 255 -> "1".
std::string_view ColorChannelText(unsigned channel);
