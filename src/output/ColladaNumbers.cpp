#include "output/ColladaNumbers.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>

namespace {

char* FormatWithToChars(long double value, char* out)
{
    auto result = std::to_chars(out, out + kFixed9MaxChars, value, std::chars_format::fixed, 9);
    return result.ptr;
}

// The x87 80-bit format: 64-bit significand with an explicit integer bit, 15-bit biased
// exponent, sign. GCC on x86 (Linux and MinGW) uses it for long double; elsewhere every value
// goes to std::to_chars.
#if defined(__SIZEOF_INT128__) && defined(__LDBL_MANT_DIG__) && __LDBL_MANT_DIG__ == 64 && \
    defined(__LDBL_MAX_EXP__) && __LDBL_MAX_EXP__ == 16384
#define TESSARO_X87_LONG_DOUBLE 1
#endif

#ifdef TESSARO_X87_LONG_DOUBLE
constexpr uint32_t kFractionScale = 1000000000;  // 10^9: nine decimals

constexpr char kDigitPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

// fraction < 10^9, written with its leading zeros.
char* WriteNineDigits(uint32_t fraction, char* out)
{
    for (int i = 7; i >= 1; i -= 2) {
        const uint32_t pair = fraction % 100;
        fraction /= 100;
        out[i] = kDigitPairs[2 * pair];
        out[i + 1] = kDigitPairs[2 * pair + 1];
    }
    out[0] = static_cast<char>('0' + fraction);
    return out + 9;
}

// Exact conversion of the binary value: value = significand * 2^exponent. The integer part is
// a shift; the nine decimals are fraction * 10^9 / 2^k rounded half to even, which needs at
// most 94 bits, so no long division is involved. Values of 2^63 and more go to std::to_chars.
bool FormatX87(long double value, char* out, char** end)
{
    unsigned char bytes[sizeof(long double)];
    std::memcpy(bytes, &value, sizeof value);
    uint64_t significand;
    uint16_t signAndExponent;
    std::memcpy(&significand, bytes, 8);
    std::memcpy(&signAndExponent, bytes + 8, 2);
    const bool negative = (signAndExponent & 0x8000) != 0;
    const int biased = signAndExponent & 0x7FFF;
    if (biased == 0x7FFF) return false;  // infinity or NaN, handled by the caller
    // An unnormal (no integer bit) is no valid number to the x87: the caller's comparisons decide.
    if (biased != 0 && (significand >> 63) == 0) return false;

    uint64_t integerPart = 0;
    uint32_t fraction = 0;
    if (biased != 0 && significand != 0) {  // subnormals are far below half a unit of 10^-9
        const int shift = (16383 + 63) - biased;  // value = significand / 2^shift
        if (shift <= 0) return false;             // 2^63 or more
        if (shift < 95) {
            unsigned __int128 fractionBits = significand;
            if (shift < 64) {
                integerPart = significand >> shift;
                fractionBits = significand & ((uint64_t{1} << shift) - 1);
            }
            const unsigned __int128 scaled = fractionBits * kFractionScale;
            const unsigned __int128 one = static_cast<unsigned __int128>(1) << shift;
            uint64_t quotient = static_cast<uint64_t>(scaled >> shift);
            const unsigned __int128 remainder = scaled & (one - 1);
            const unsigned __int128 half = one >> 1;
            if (remainder > half || (remainder == half && (quotient & 1) != 0)) ++quotient;
            if (quotient == kFractionScale) {
                quotient = 0;
                ++integerPart;
            }
            fraction = static_cast<uint32_t>(quotient);
        }
    }
    char* p = out;
    if (negative) *p++ = '-';
    p = std::to_chars(p, p + 20, integerPart).ptr;
    *p++ = '.';
    *end = WriteNineDigits(fraction, p);
    return true;
}

#endif

std::array<std::string, 256> MakeChannelTexts()
{
    std::array<std::string, 256> texts;
    for (unsigned c = 0; c < 256; ++c) {
        // The quotient is a 64-bit float; only the scaling to thousandths is extended. This is
        // why 153 gives 0.599: 153 / 255 as a double lies just below 0.6.
        const double quotient = static_cast<double>(c) / 255.0;
        const long double thousandths = std::trunc(static_cast<long double>(quotient) * 1000.0L);
        const unsigned k = static_cast<unsigned>(thousandths);
        char text[8] = {'0'};
        std::size_t length = 1;
        if (k >= 1000) {
            text[0] = '1';
        } else if (k > 0) {
            const char digits[3] = {static_cast<char>('0' + k / 100), static_cast<char>('0' + k / 10 % 10),
                                    static_cast<char>('0' + k % 10)};
            std::size_t kept = 3;
            while (digits[kept - 1] == '0') --kept;  // no trailing zeros
            text[length++] = '.';
            for (std::size_t i = 0; i < kept; ++i) text[length++] = digits[i];
        }
        texts[c].assign(text, length);
    }
    return texts;
}

}  // namespace

char* FormatFixed9(long double value, char* out)
{
#ifdef TESSARO_X87_LONG_DOUBLE
    // Every finite value is read from its bits first: comparing the value itself on the x87
    // costs more than the whole conversion. What this cannot take goes the general way.
    char* end = nullptr;
    if (FormatX87(value, out, &end)) return end;
#endif
    if (std::isnan(value)) {
        std::memcpy(out, "NaN", 3);
        return out + 3;
    }
    if (std::isinf(value)) {
        const char* text = value > 0 ? "INF" : "-INF";
        const std::size_t length = std::strlen(text);
        std::memcpy(out, text, length);
        return out + length;
    }
    if (value == 0 && !std::signbit(value)) {  // every z coordinate: worth its own path
        std::memcpy(out, "0.000000000", 11);
        return out + 11;
    }
    return FormatWithToChars(value, out);
}

std::string_view ColorChannelText(unsigned channel)
{
    static const std::array<std::string, 256> texts = MakeChannelTexts();
    return texts[channel & 0xFF];
}
