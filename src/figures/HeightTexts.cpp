#include "figures/HeightTexts.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>

#include "util/FloatChars.h"

namespace {

constexpr std::string_view kFullWidthSpace = "\x81\x40";  // in the drawing's code page

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Drops blanks from the front of `text`.
void SkipBlanks(std::string_view& text)
{
    for (;;) {
        if (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
        else if (text.starts_with(kFullWidthSpace)) text.remove_prefix(kFullWidthSpace.size());
        else return;
    }
}

// One number at the front of `text` ("-12.5"), taken off it; nothing when none is there.
std::optional<double> TakeNumber(std::string_view& text)
{
    size_t i = text.starts_with('-') ? 1 : 0;
    const size_t digitsStart = i;
    while (i < text.size() && IsDigit(text[i])) ++i;
    if (i == digitsStart) return std::nullopt;
    if (i < text.size() && text[i] == '.') {
        const size_t decimals = ++i;
        while (i < text.size() && IsDigit(text[i])) ++i;
        if (i == decimals) return std::nullopt;
    }
    // The text is a plain decimal by now: one that does not read is beyond every height.
    long double value = 0;
    if (!ReadLongDouble(text.substr(0, i), value)) value = text.front() == '-' ? -HUGE_VAL : HUGE_VAL;
    text.remove_prefix(i);
    return static_cast<double>(value);
}

}  // namespace

THeightReading ReadHeightText(std::string_view text, THeightUnit unit)
{
    SkipBlanks(text);
    const std::optional<double> first = TakeNumber(text);
    if (!first) return {};
    double a = 0, b = *first;
    SkipBlanks(text);
    if (text.starts_with(',')) {
        text.remove_prefix(1);
        SkipBlanks(text);
        const std::optional<double> second = TakeNumber(text);
        if (!second) return {};
        a = *first;
        b = *second;
        SkipBlanks(text);
    }
    if (!text.empty()) return {};
    if (unit == THeightUnit::Millimetres) {
        a /= 1000;
        b /= 1000;
    }
    if (!(std::fabs(a) <= kMaxHeightMetres && std::fabs(b) <= kMaxHeightMetres)) return {THeightReading::OutOfRange};
    return {THeightReading::Mark, std::min(a, b), std::max(a, b)};
}
