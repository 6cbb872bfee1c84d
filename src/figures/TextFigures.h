#pragma once
// A drawing's text as the outlines of its glyphs: line segments in the text's pen, marked as
// text in the figure store. Each character is laid out by LayOutText and its glyph stretched
// to its cell (half-width glyphs to half a cell); a character the font lacks is drawn as the
// box of its cell.
#include <string_view>

#include "figures/ConversionContext.h"
#include "figures/Pen.h"

// One text record, in drawing units: the start point (the bottom left of the first cell),
// character width, height and spacing, the baseline's angle in degrees, the Shift_JIS text
// and the name of its font (Shift_JIS).
struct TTextRecord {
    double X = 0, Y = 0;
    double SizeX = 0, SizeY = 0, Spacing = 0;
    double AngleDegrees = 0;
    std::string_view Text;
    std::string_view FontName;
};

// Draws the text, every coordinate multiplied by `scale`. With no font for it, draws nothing
// and counts the text in ctx.Texts.WithoutFont; counts characters drawn as boxes in
// ctx.Texts.MissingGlyphs.
void AddText(TConversionContext& ctx, TPen pen, double scale, const TTextRecord& text);
