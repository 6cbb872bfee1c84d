#pragma once
// Where the characters of a drawing's text go, as the drawing program places them: from the
// start point along the text's angle, each character sizeX wide and sizeY tall with `spacing`
// after every character but the last. A half-width character (one Shift_JIS byte) takes half
// the width and half the spacing. On the drawings we hold this puts the last character's end
// exactly on the record's end point.
#include <string_view>
#include <vector>

struct TTextCell {
    char32_t Char = 0;    // the character (U+FFFD for a code the table lacks)
    double Offset = 0;    // from the start point along the baseline
    double Width = 0;     // sizeX, or half of it
    bool HalfWidth = false;
};

// The cells of Shift_JIS `text`, in order; a lead byte left dangling at the end is dropped.
std::vector<TTextCell> LayOutText(std::string_view text, double sizeX, double spacing);
// The distance from the start point to the end of the last cell (0 for no cells).
double TextLength(const std::vector<TTextCell>& cells);
