#include "output/ColladaNumbers.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <string>

#include "util/FloatChars.h"

namespace {

char* FormatWithToChars(long double value, char* out)
{
#ifdef TESSARO_FLOAT_CHARS_FALLBACK
    // Only values of 2^63 and more come here (the integer paths take the rest).
    const int written = std::snprintf(out, kFixed9MaxChars, "%.9Lf", value);
    return out + std::clamp(written, 0, static_cast<int>(kFixed9MaxChars) - 1);
#else
    auto result = std::to_chars(out, out + kFixed9MaxChars, value, std::chars_format::fixed, 9);
    return result.ptr;
#endif
}

// The x87 80-bit format: 64-bit significand with an explicit integer bit, 15-bit biased
// exponent, sign. GCC on x86 (Linux and MinGW) uses it for long double; elsewhere every value
// goes to std::to_chars.
#if defined(__SIZEOF_INT128__) && defined(__LDBL_MANT_DIG__) && __LDBL_MANT_DIG__ == 64 && \
    defined(__LDBL_MAX_EXP__) && __LDBL_MAX_EXP__ == 16384
#define TESSARO_X87_LONG_DOUBLE 1
#endif

// IEEE binary128 (WebAssembly): its values are formatted as the x87 would hold them, rounded to
// a 64-bit significand, so that the browser's documents are the x86 programs' byte for byte.
#if defined(__SIZEOF_INT128__) && defined(__LDBL_MANT_DIG__) && __LDBL_MANT_DIG__ == 113 && \
    defined(__LDBL_MAX_EXP__) && __LDBL_MAX_EXP__ == 16384
#define TESSARO_QUAD_LONG_DOUBLE 1
#endif

#if defined(TESSARO_X87_LONG_DOUBLE) || defined(TESSARO_QUAD_LONG_DOUBLE)
#define TESSARO_INTEGER_FIXED9 1
#endif

#ifdef TESSARO_INTEGER_FIXED9
constexpr uint32_t kFractionScale = 1000000000;  // 10^9: nine decimals

constexpr char kDigitPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

// Eight decimal digits of v < 10^8, most significant first, as eight characters in one
// little-endian word: the halves, quarters and single digits are split in parallel lanes.
uint64_t EightDigits(uint32_t v)
{
    const uint64_t t = (v / 10000) | static_cast<uint64_t>(v % 10000) << 32;
    const uint64_t hundreds = ((t * 10486) >> 20) & 0x0000007F0000007FULL;  // t / 100 per lane
    const uint64_t u = hundreds | (t - hundreds * 100) << 16;
    const uint64_t tens = ((u * 103) >> 10) & 0x000F000F000F000FULL;  // u / 10 per lane
    return (tens | (u - tens * 10) << 8) + 0x3030303030303030ULL;
}

char* WriteInteger(uint64_t v, char* out)
{
    if (v < 1000) {
        // The three digits in one word, the leading zeros shifted out: no branch on the length.
        const uint32_t low = static_cast<uint32_t>(v % 100);
        const uint32_t word = static_cast<uint32_t>('0' + v / 100) |
                              static_cast<uint32_t>(static_cast<unsigned char>(kDigitPairs[2 * low])) << 8 |
                              static_cast<uint32_t>(static_cast<unsigned char>(kDigitPairs[2 * low + 1])) << 16;
        const int digits = 1 + (v >= 10) + (v >= 100);
        const uint32_t shifted = word >> (8 * (3 - digits));
        std::memcpy(out, &shifted, 4);  // one byte past the digits, which the caller overwrites
        return out + digits;
    }
    return std::to_chars(out, out + 20, v).ptr;
}

// The text of a sign, an integer part and nine decimals (fraction < 10^9).
char* WriteFixed9(bool negative, uint64_t integerPart, uint32_t fraction, char* out)
{
    *out = '-';
    char* p = WriteInteger(integerPart, out + negative);
    *p++ = '.';
    const uint32_t first = fraction / 100000000;
    *p = static_cast<char>('0' + first);
    const uint64_t rest = EightDigits(fraction - first * 100000000);
    std::memcpy(p + 1, &rest, 8);
    return p + 9;
}

// Exact conversion of the binary value significand / 2^shift, shift > 0: the value in units
// of 10^-9 is significand * 10^9 / 2^shift rounded half to even, which needs at most 94 bits,
// so no long division is involved.
char* FormatBinary(bool negative, uint64_t significand, int shift, char* out)
{
    if (shift >= 30) {
        // Below 2^34: the value in units fits in 64 bits, and one rounding serves the integer
        // part and the decimals alike. Half to even is adding half - 1 and the quotient's
        // lowest bit, then shifting; no branch on which side of one the value lies.
        if (shift > 94) return WriteFixed9(negative, 0, 0, out);  // below half a unit
        const unsigned __int128 scaled = static_cast<unsigned __int128>(significand) * kFractionScale;
        const unsigned __int128 half = static_cast<unsigned __int128>(1) << (shift - 1);
        const unsigned __int128 odd = (scaled >> shift) & 1;
        const uint64_t units = static_cast<uint64_t>((scaled + (half - 1) + odd) >> shift);
        const uint64_t integerPart = units / kFractionScale;
        return WriteFixed9(negative, integerPart, static_cast<uint32_t>(units - integerPart * kFractionScale), out);
    }
    // Larger values: the integer part is a shift, the decimals are rounded on their own.
    const uint64_t mask = (uint64_t{1} << shift) - 1, fraction = significand & mask;
    const uint64_t product = fraction * kFractionScale;  // below 2^60
    uint64_t quotient = product >> shift, integerPart = significand >> shift;
    const uint64_t remainder = product & mask, half = uint64_t{1} << (shift - 1);
    quotient += static_cast<uint64_t>(remainder > half) | (static_cast<uint64_t>(remainder == half) & quotient);
    if (quotient == kFractionScale) {
        quotient = 0;
        ++integerPart;
    }
    return WriteFixed9(negative, integerPart, static_cast<uint32_t>(quotient), out);
}

#ifdef TESSARO_X87_LONG_DOUBLE
// The x87 value from its bits: significand * 2^(biased exponent - 16383 - 63). Values of 2^63
// and more, and what the x87 would not take as a finite number, are left to the caller (false).
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
    if (biased == 0) significand = 0;  // subnormals are far below half a unit of 10^-9
    const int shift = (16383 + 63) - biased;
    if (shift <= 0) return false;  // 2^63 or more
    *end = FormatBinary(negative, significand, shift, out);
    return true;
}
#endif

#ifdef TESSARO_QUAD_LONG_DOUBLE
// The binary128 value from its bits, its 113-bit significand rounded half to even to the
// x87's 64 bits; then as FormatX87. The exponent's bias is the x87's.
bool FormatQuad(long double value, char* out, char** end)
{
    unsigned __int128 bits;
    std::memcpy(&bits, &value, sizeof bits);
    const bool negative = (bits >> 127) != 0;
    int biased = static_cast<int>(bits >> 112) & 0x7FFF;
    if (biased == 0x7FFF) return false;  // infinity or NaN, handled by the caller
    if (biased == 0) {  // zero or subnormal: far below half a unit of 10^-9
        *end = FormatBinary(negative, 0, 64, out);
        return true;
    }
    const unsigned __int128 full = (bits & ((static_cast<unsigned __int128>(1) << 112) - 1)) |
                                   static_cast<unsigned __int128>(1) << 112;
    constexpr int kDropped = 113 - 64;
    uint64_t significand = static_cast<uint64_t>(full >> kDropped);
    const unsigned __int128 rest = full & ((static_cast<unsigned __int128>(1) << kDropped) - 1);
    const unsigned __int128 half = static_cast<unsigned __int128>(1) << (kDropped - 1);
    if (rest > half || (rest == half && (significand & 1) != 0)) {
        if (++significand == 0) {  // carried out of 64 bits
            significand = uint64_t{1} << 63;
            ++biased;
        }
    }
    const int shift = (16383 + 63) - biased;
    if (shift <= 0) return false;  // 2^63 or more
    *end = FormatBinary(negative, significand, shift, out);
    return true;
}
#endif

// A normal double's sign, 53-bit significand (integer bit set) and exponent: value =
// significand * 2^exponent. False for zeros, subnormals, infinities and NaN.
bool SplitNormal(double value, bool& negative, uint64_t& significand, int& exponent)
{
    const uint64_t bits = std::bit_cast<uint64_t>(value);
    const int biased = static_cast<int>(bits >> 52 & 0x7FF);
    if (biased == 0 || biased == 0x7FF) return false;
    negative = (bits >> 63) != 0;
    significand = (bits & ((uint64_t{1} << 52) - 1)) | uint64_t{1} << 52;
    exponent = biased - 1075;
    return true;
}

// The x87 product of a normal or zero double and a normal one, without the x87: the exact
// product (105 or 106 bits) rounded to a 64-bit significand, ties to even, as its multiply
// rounds it. Handing a long double to a function goes through memory, and reading its bits
// right after the x87 stored them stalls the processor.
bool FormatProduct(double a, double b, char* out, char** end)
{
    bool negativeA = false, negativeB = false;
    uint64_t significandA = 0, significandB = 0;
    int exponentA = 0, exponentB = 0;
    if (!SplitNormal(b, negativeB, significandB, exponentB)) return false;
    if (a == 0) {  // every z coordinate: a zero of the product's sign
        const std::string_view zero = std::string_view("-0.000000000").substr(std::signbit(a) != negativeB ? 0 : 1);
        std::memcpy(out, zero.data(), zero.size());
        *end = out + zero.size();
        return true;
    }
    if (!SplitNormal(a, negativeA, significandA, exponentA)) return false;
    const unsigned __int128 product = static_cast<unsigned __int128>(significandA) * significandB;
    const int dropped = 41 + static_cast<int>(product >> 105);  // the bits below the 64 kept
    uint64_t significand = static_cast<uint64_t>(product >> dropped);
    // Half to even without a branch on the dropped bits: they and half - 1 and the kept
    // lowest bit carry into bit `dropped` exactly when the kept part is to be raised.
    const uint64_t rest = static_cast<uint64_t>(product) & ((uint64_t{1} << dropped) - 1);
    const uint64_t half = uint64_t{1} << (dropped - 1);
    significand += (rest + (half - 1) + (significand & 1)) >> dropped;
    int exponent = exponentA + exponentB + dropped;
    if (significand == 0) {
        significand = uint64_t{1} << 63;  // carried out of 64 bits
        ++exponent;
    }
    if (exponent >= 0) return false;  // 2^63 or more
    *end = FormatBinary(negativeA != negativeB, significand, -exponent, out);
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
#elif defined(TESSARO_QUAD_LONG_DOUBLE)
    char* end = nullptr;
    if (FormatQuad(value, out, &end)) return end;
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

char* FormatScaledFixed9(double stored, double scale, char* out)
{
#ifdef TESSARO_INTEGER_FIXED9
    char* end = nullptr;
    if (FormatProduct(stored, scale, out, &end)) return end;
#endif
    return FormatFixed9(static_cast<long double>(stored) * static_cast<long double>(scale), out);
}

std::string_view ColorChannelText(unsigned channel)
{
    static const std::array<std::string, 256> texts = MakeChannelTexts();
    return texts[channel & 0xFF];
}
