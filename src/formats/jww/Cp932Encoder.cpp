#include "formats/jww/Cp932Encoder.h"

#include <algorithm>

#include "formats/jww/Cp932Table.h"

namespace {

bool IsHighSurrogate(char16_t u) { return u >= 0xD800 && u <= 0xDBFF; }
bool IsLowSurrogate(char16_t u) { return u >= 0xDC00 && u <= 0xDFFF; }

}  // namespace

std::string Utf16ToCp932(std::u16string_view text)
{
    std::string out;
    out.reserve(text.size() * 2);
    const TCp932Pair* first = kCp932Table;
    const TCp932Pair* last = kCp932Table + kCp932TableSize;
    for (size_t i = 0; i < text.size(); ++i) {
        char16_t u = text[i];
        if (u < 0x80) {
            out.push_back(static_cast<char>(u));
            continue;
        }
        if (IsHighSurrogate(u) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
            ++i;  // a character outside the basic plane has no CP932 code
            out.push_back('?');
            continue;
        }
        const TCp932Pair* hit =
            std::lower_bound(first, last, u, [](const TCp932Pair& p, char16_t v) { return p.unit < v; });
        if (hit == last || hit->unit != u) {
            out.push_back('?');
        } else if (hit->code < 0x100) {
            out.push_back(static_cast<char>(hit->code));
        } else {
            out.push_back(static_cast<char>(hit->code >> 8));
            out.push_back(static_cast<char>(hit->code & 0xFF));
        }
    }
    return out;
}
