#include "util/Func_.h"

#include "util/FloatChars.h"
#include <charconv>
#include <cmath>
#include <limits>

namespace {

constexpr unsigned char kFullWidthSpace[2] = {0x81, 0x40};

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int HexValue(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::string_view SkipLeadingBlanks(std::string_view text)
{
    size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    return text.substr(i);
}

}  // namespace

bool IsLeadByte(unsigned char b)
{
    return (b >= 0x80 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFD);
}

bool StrToFlag(std::string_view text)
{
    std::string s = StripBlanks(text);
    for (size_t i = 0; i < s.size(); ++i) {
        unsigned char b = static_cast<unsigned char>(s[i]);
        if (IsLeadByte(b)) {
            ++i;  // keep the trail byte of a double-byte character as it is
        } else if (b >= 'a' && b <= 'z') {
            s[i] = static_cast<char>(b - 'a' + 'A');
        }
    }
    static const char* const kTrue[] = {
        "T", "TR", "TRU", "TRUE", "1", "ON",
        "\x82\x50",  // full-width one
        "\x81\x9B",  // circle mark
        "\x90\x5E",  // "true"
        "\x90\xB3",  // "correct"
    };
    for (const char* t : kTrue)
        if (s == t) return true;
    return false;
}

std::string FlagToStr(bool value) { return value ? "1" : "0"; }

int32_t StrToIntDef0(std::string_view text)
{
    std::string_view s = SkipLeadingBlanks(text);
    bool negative = false;
    if (!s.empty() && (s[0] == '+' || s[0] == '-')) {
        negative = s[0] == '-';
        s.remove_prefix(1);
    }
    int base = 10;
    if (!s.empty() && (s[0] == '$' || s[0] == 'x' || s[0] == 'X')) {
        base = 16;
        s.remove_prefix(1);
    } else if (s.size() >= 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
        base = 16;
        s.remove_prefix(2);
    }
    if (s.empty()) return 0;
    const int64_t limit = negative ? int64_t{1} << 31 : (int64_t{1} << 31) - 1;
    int64_t value = 0;
    for (char c : s) {
        int d = base == 16 ? HexValue(c) : (IsDigit(c) ? c - '0' : -1);
        if (d < 0) return 0;
        value = value * base + d;
        if (value > limit) return 0;
    }
    return static_cast<int32_t>(negative ? -value : value);
}

long double StrToFloatDef0(std::string_view text)
{
    std::string_view s = SkipLeadingBlanks(text);
    bool negative = false;
    if (!s.empty() && (s[0] == '+' || s[0] == '-')) {
        negative = s[0] == '-';
        s.remove_prefix(1);
    }
    // Check the shape ourselves: digits [. digits] [(E|e) [sign] digits], nothing else.
    size_t i = 0, mantissaDigits = 0;
    while (i < s.size() && IsDigit(s[i])) ++i, ++mantissaDigits;
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && IsDigit(s[i])) ++i, ++mantissaDigits;
    }
    if (mantissaDigits == 0) return 0;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
        size_t expDigits = 0;
        while (i < s.size() && IsDigit(s[i])) ++i, ++expDigits;
        if (expDigits == 0) return 0;
    }
    if (i != s.size()) return 0;
    long double value = 0;
    if (!ReadLongDouble(s, value) || !std::isfinite(value)) return 0;
    return negative ? -value : value;
}

float StrToSingleDef0(std::string_view text)
{
    long double v = StrToFloatDef0(text);
    if (std::fabs(v) > std::numeric_limits<float>::max()) return 0;
    return static_cast<float>(v);
}

std::string FloatToText(double value)
{
    if (std::isnan(value)) return "NAN";
    if (std::isinf(value)) return value > 0 ? "INF" : "-INF";
    if (value == 0) return "0";  // negative zero included: an edit box never shows "-0"
    char buf[64];
    std::string raw(buf, GeneralDoubleChars(buf, buf + sizeof buf, value, 15));
    // "1e-05" -> "1E-5", "1e+20" -> "1E20"
    size_t e = raw.find('e');
    if (e == std::string::npos) return raw;
    std::string mantissa = raw.substr(0, e);
    std::string exponent = raw.substr(e + 1);
    std::string sign;
    if (!exponent.empty() && (exponent[0] == '+' || exponent[0] == '-')) {
        if (exponent[0] == '-') sign = "-";
        exponent.erase(0, 1);
    }
    size_t nz = exponent.find_first_not_of('0');
    exponent = nz == std::string::npos ? "0" : exponent.substr(nz);
    return mantissa + "E" + sign + exponent;
}

std::string StripBlanks(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        unsigned char b = static_cast<unsigned char>(text[i]);
        if (IsLeadByte(b) && i + 1 < text.size()) {
            unsigned char t = static_cast<unsigned char>(text[i + 1]);
            if (!(b == kFullWidthSpace[0] && t == kFullWidthSpace[1])) {
                out += static_cast<char>(b);
                out += static_cast<char>(t);
            }
            ++i;
        } else if (IsLeadByte(b) || b > 0x20) {
            out += static_cast<char>(b);  // a lead byte in the last position is kept
        }
    }
    return out;
}

std::string StripControls(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        unsigned char b = static_cast<unsigned char>(text[i]);
        if (IsLeadByte(b)) {
            if (i + 1 < text.size()) {
                out += static_cast<char>(b);
                out += text[i + 1];
                ++i;
            }  // a lead byte in the last position is dropped
        } else if (b >= 0x20) {
            out += static_cast<char>(b);
        }
    }
    return out;
}
