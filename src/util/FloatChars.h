#pragma once
// Floating-point number texts as std::to_chars and std::from_chars give them, also where the
// standard library lacks their floating-point overloads: Debian's emscripten 3.1.6 (libc++ 13)
// for the browser build. Elsewhere each function is the standard call.
#include <charconv>
#include <string_view>

#if defined(__EMSCRIPTEN__) && defined(_LIBCPP_VERSION) && _LIBCPP_VERSION < 14000
#define TESSARO_FLOAT_CHARS_FALLBACK 1
#endif

#ifdef TESSARO_FLOAT_CHARS_FALLBACK
// std::to_chars(first, last, value): the shortest text that reads back as value, fixed or
// scientific, whichever is shorter (fixed on a tie). Finite values; last - first >= 32.
char* ShortestDoubleChars(char* first, char* last, double value);
// std::to_chars(first, last, value, std::chars_format::general, precision), as printf's "%.*g".
char* GeneralDoubleChars(char* first, char* last, double value, int precision);
// std::from_chars(text, value, std::chars_format::general) for a text already known to be a
// plain decimal number (sign, digits, point, exponent): false when it is out of range.
bool ReadLongDouble(std::string_view text, long double& value);
#else
inline char* ShortestDoubleChars(char* first, char* last, double value)
{
    return std::to_chars(first, last, value).ptr;
}
inline char* GeneralDoubleChars(char* first, char* last, double value, int precision)
{
    return std::to_chars(first, last, value, std::chars_format::general, precision).ptr;
}
inline bool ReadLongDouble(std::string_view text, long double& value)
{
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::general);
    return ec == std::errc() && end == text.data() + text.size();
}
#endif
