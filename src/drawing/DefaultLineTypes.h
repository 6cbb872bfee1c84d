#pragma once
// The line types of a drawing that has no table of its own (figure files, the older
// formats): the dot patterns of a new drawing's line types 2..9.
#include <cstdint>
#include <unordered_map>

#include "drawing/DrawingBuilder.h"

namespace drawing {

// The paper length of one dot of a line type's print pitch and of a pen's print width: what
// a drawing's usual tables (pitch 10, widths 1..8) print as (dashes of a few millimetres,
// widths of 0.05 to 0.35 mm).
inline constexpr double kPaperMmPerDot = 0.04;

inline std::unordered_map<int32_t, TDotPattern> DefaultLineTypes()
{
    // Dotted lines 1..3, chain lines 1..2, double chain lines 1..2, the auxiliary line; each
    // dot ten print dots, as a new drawing has them.
    constexpr double dot = 10 * kPaperMmPerDot;
    return {
        {2, {0x99999999u, 4, dot}},  {3, {0xC3C3C3C3u, 8, dot}},  {4, {0xE7E7E7E7u, 8, dot}},
        {5, {0xF99FF99Fu, 16, dot}}, {6, {0xFFF99FFFu, 32, dot}}, {7, {0xF24FF24Fu, 16, dot}},
        {8, {0xFFF24FFFu, 32, dot}}, {9, {0x22222222u, 4, dot}},
    };
}

}  // namespace drawing
