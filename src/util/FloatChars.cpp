#include "util/FloatChars.h"

#ifdef TESSARO_FLOAT_CHARS_FALLBACK
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include <emscripten.h>

namespace {

// A decimal: its digits (no leading zero) and the exponent of the first, d.ddd x 10^exponent.
struct TDecimal {
    std::string Digits;
    int Exponent = 0;
};

// JavaScript's Number to String gives the fewest digits that read back as the value, the
// nearest such when there are several: what std::to_chars gives. Its text ("123.5", "0.0015",
// "1.5e-7", "1e+21") becomes digits without leading or trailing zeros and the exponent of the
// first. (The C library's printf and strtod work in long double, which is software here.)
EM_JS(int, TessaroShortestDigits, (double value, char* digits), {
    var text = String(Math.abs(value));
    var at = text.indexOf("e");
    var exponent = at >= 0 ? parseInt(text.slice(at + 1), 10) : 0;
    if (at >= 0) text = text.slice(0, at);
    var point = text.indexOf(".");
    var whole = point >= 0 ? text.slice(0, point) : text;
    var all = whole + (point >= 0 ? text.slice(point + 1) : "");
    var lead = 0;
    while (lead < all.length - 1 && all[lead] === "0") lead++;
    var kept = all.slice(lead).replace(/0+$/, "") || "0";
    for (var i = 0; i < kept.length; i++) HEAPU8[digits + i] = kept.charCodeAt(i);
    HEAPU8[digits + kept.length] = 0;
    return exponent + whole.length - 1 - lead;
});

TDecimal Shortest(double value)
{
    char digits[32];
    TDecimal decimal;
    decimal.Exponent = TessaroShortestDigits(value, digits);
    decimal.Digits = digits;
    return decimal;
}

char* Put(char* out, std::string_view text)
{
    std::memcpy(out, text.data(), text.size());
    return out + text.size();
}

}  // namespace

char* ShortestDoubleChars(char* first, char* /*last*/, double value)
{
    char* out = first;
    if (std::signbit(value)) *out++ = '-';
    if (value == 0) {
        *out++ = '0';
        return out;
    }
    TDecimal decimal = Shortest(value);
    while (decimal.Digits.size() > 1 && decimal.Digits.back() == '0') decimal.Digits.pop_back();
    const int n = static_cast<int>(decimal.Digits.size()), e = decimal.Exponent;
    const int fixedLength = e >= 0 ? std::max(n, e + 1) + (n > e + 1 ? 1 : 0) : 2 + (-e - 1) + n;
    const int exponentDigits = std::max(2, static_cast<int>(std::to_string(std::abs(e)).size()));
    const int scientificLength = n + (n > 1 ? 1 : 0) + 2 + exponentDigits;
    if (fixedLength <= scientificLength) {
        if (e >= 0) {
            for (int i = 0; i <= e; ++i) *out++ = i < n ? decimal.Digits[static_cast<size_t>(i)] : '0';
            if (n > e + 1) {
                *out++ = '.';
                out = Put(out, std::string_view(decimal.Digits).substr(static_cast<size_t>(e + 1)));
            }
        } else {
            out = Put(out, "0.");
            for (int i = 0; i < -e - 1; ++i) *out++ = '0';
            out = Put(out, decimal.Digits);
        }
        return out;
    }
    *out++ = decimal.Digits[0];
    if (n > 1) {
        *out++ = '.';
        out = Put(out, std::string_view(decimal.Digits).substr(1));
    }
    char exponent[16];
    std::snprintf(exponent, sizeof exponent, "e%c%02d", e < 0 ? '-' : '+', std::abs(e));
    return Put(out, exponent);
}

char* GeneralDoubleChars(char* first, char* last, double value, int precision)
{
    const int written = std::snprintf(first, static_cast<size_t>(last - first), "%.*g", precision, value);
    return first + std::clamp(written, 0, static_cast<int>(last - first));
}

bool ReadLongDouble(std::string_view text, long double& value)
{
    const std::string copy(text);
    char* end = nullptr;
    errno = 0;
    const long double read = std::strtold(copy.c_str(), &end);
    if (end != copy.c_str() + copy.size()) return false;
    if (errno == ERANGE) return false;  // as std::from_chars: out of range either way
    value = read;
    return true;
}

#endif
