#include "output/NodeNames.h"

namespace {

char HexDigit(int32_t value) { return "0123456789ABCDEF"[value & 15]; }

}  // namespace

std::string GroupPositionName(int32_t group) { return std::string(1, HexDigit(group)); }

std::string LayerPositionName(int32_t layer) { return {HexDigit(layer / 16), '-', HexDigit(layer % 16)}; }

std::string TUniqueNames::Claim(const std::string& wanted, const std::string& position)
{
    std::string name = wanted;
    if (taken_.count(name) != 0 && !position.empty()) name += " (" + position + ")";
    const std::string numbered = name;
    for (int n = 2; taken_.count(name) != 0; ++n) name = numbered + " " + std::to_string(n);
    taken_.insert(name);
    return name;
}
