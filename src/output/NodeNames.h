#pragma once
// The names of a glTF document's nodes. A layer group or layer the drawing leaves unnamed is
// shown by its position in hexadecimal, as the drawing's users know it; and no two nodes share
// a name, since importers rename the later of two equal names by rules of their own ("layer
// 0.001").
#include <cstdint>
#include <string>
#include <unordered_set>

// "0".."F": the position of layer group `group` (0..15).
std::string GroupPositionName(int32_t group);
// "G-L": the position of layer g * 16 + l (0..255), group and layer each one uppercase
// hexadecimal digit, as "2-A".
std::string LayerPositionName(int32_t layer);

// Hands out names no earlier claim was given: the wanted name when it is free, else the wanted
// name followed by the position in parentheses ("walls (2-5)"), else that followed by the first
// free number from 2 ("walls (2-5) 2"). An empty position goes straight to the number.
class TUniqueNames {
public:
    std::string Claim(const std::string& wanted, const std::string& position);

private:
    std::unordered_set<std::string> taken_;
};
