#include "formats/jww/Cp932Decoder.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "formats/jww/Cp932Table.h"

namespace {

constexpr char32_t kReplacement = 0xFFFD;

// The table turned round: sorted by code, built once.
const std::vector<TCp932Pair>& ByCode()
{
    static const std::vector<TCp932Pair> table = [] {
        std::vector<TCp932Pair> pairs(kCp932Table, kCp932Table + kCp932TableSize);
        std::stable_sort(pairs.begin(), pairs.end(),
                         [](const TCp932Pair& a, const TCp932Pair& b) { return a.code < b.code; });
        return pairs;
    }();
    return table;
}

char32_t Lookup(uint16_t code)
{
    const std::vector<TCp932Pair>& table = ByCode();
    const auto hit = std::lower_bound(table.begin(), table.end(), code,
                                      [](const TCp932Pair& p, uint16_t c) { return p.code < c; });
    return hit != table.end() && hit->code == code ? hit->unit : kReplacement;
}

bool IsLeadByte(uint8_t b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

void AppendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {  // the table holds basic-plane characters only
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

}  // namespace

std::string Cp932ToUtf8(std::string_view text)
{
    std::string out;
    out.reserve(text.size() * 3 / 2);
    for (size_t i = 0; i < text.size(); ++i) {
        const uint8_t b = static_cast<uint8_t>(text[i]);
        if (b < 0x80) {
            out.push_back(static_cast<char>(b));
        } else if (IsLeadByte(b) && i + 1 < text.size()) {
            AppendUtf8(out, Lookup(static_cast<uint16_t>(b << 8 | static_cast<uint8_t>(text[++i]))));
        } else {
            AppendUtf8(out, IsLeadByte(b) ? kReplacement : Lookup(b));
        }
    }
    return out;
}

char32_t Cp932CodeToChar(uint16_t code) { return code < 0x80 ? char32_t{code} : Lookup(code); }
