#pragma once
// Height texts: a text whose whole string (blanks around it aside) is one number "14", or two
// numbers with a comma between them "2.800,4.200", gives the height interval of the line ends
// at its start point. Digits are ASCII, with an optional leading '-' and an optional '.'
// followed by decimals; blanks (spaces, tabs, the full-width space) may stand around the comma.
#include <string_view>

#include "engine/ConversionOptions.h"

// Heights beyond this many metres, up or down, mark nothing.
inline constexpr double kMaxHeightMetres = 10000;

struct THeightReading {
    enum TKind { NotHeight, OutOfRange, Mark } Kind = NotHeight;
    // The interval in metres: one number h gives [min(0, h), max(0, h)], two give
    // [min(a, b), max(a, b)].
    double Low = 0, High = 0;
};

// Reads `text` (the drawing's bytes) with its numbers in `unit` (Metres unless Millimetres).
// Any text that is not of the form above is NotHeight: an ordinary text.
THeightReading ReadHeightText(std::string_view text, THeightUnit unit);
