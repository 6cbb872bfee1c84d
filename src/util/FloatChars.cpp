#include "util/FloatChars.h"

#ifdef TESSARO_FLOAT_CHARS_FALLBACK
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

// The decimal digits (no leading zero) and exponent of `value` to `digits` significant digits,
// correctly rounded: value ~ d.ddd x 10^exponent. printf's "%.*e" of the C library is exact.
struct TDecimal {
    std::string Digits;
    int Exponent = 0;
};

TDecimal Rounded(double value, int digits)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.*e", digits - 1, std::fabs(value));
    TDecimal decimal;
    const char* e = std::strchr(text, 'e');
    for (const char* p = text; p != e; ++p)
        if (*p != '.') decimal.Digits.push_back(*p);
    decimal.Exponent = std::atoi(e + 1);
    return decimal;
}

double ValueOf(const TDecimal& decimal)
{
    const std::string text = decimal.Digits + "e" + std::to_string(decimal.Exponent - static_cast<int>(decimal.Digits.size()) + 1);
    return std::strtod(text.c_str(), nullptr);
}

// The decimal one unit in the last digit away (step +1 or -1); empty when it would lose a digit.
TDecimal Neighbour(TDecimal decimal, int step)
{
    std::string& d = decimal.Digits;
    int i = static_cast<int>(d.size()) - 1;
    if (step > 0) {
        while (i >= 0 && d[static_cast<size_t>(i)] == '9') d[static_cast<size_t>(i--)] = '0';
        if (i < 0) {
            d.insert(d.begin(), '1');
            d.pop_back();
            ++decimal.Exponent;
        } else {
            ++d[static_cast<size_t>(i)];
        }
    } else {
        while (i >= 0 && d[static_cast<size_t>(i)] == '0') d[static_cast<size_t>(i--)] = '9';
        if (i < 0) return {};
        if (--d[static_cast<size_t>(i)] == '0' && i == 0) {
            if (d.size() == 1) return {};
            d.erase(d.begin());
            d.push_back('9');
            --decimal.Exponent;
        }
    }
    return decimal;
}

// The fewest digits that read back as value, the nearest such decimal when there are several.
// The correctly rounded decimal is the nearest of its length; where the rounding interval is
// uneven (at a power of two) a neighbour of it may read back when it does not.
TDecimal Shortest(double value)
{
    const double magnitude = std::fabs(value);
    for (int digits = 1; digits < 17; ++digits) {
        const TDecimal nearest = Rounded(magnitude, digits);
        if (ValueOf(nearest) == magnitude) return nearest;
        for (int step : {1, -1}) {
            TDecimal other = Neighbour(nearest, step);
            if (!other.Digits.empty() && ValueOf(other) == magnitude) return other;
        }
    }
    return Rounded(magnitude, 17);
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
