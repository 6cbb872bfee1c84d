#include "figures/TextFigures.h"

#include <algorithm>
#include <cmath>

#include "figures/PrimitivesEmit.h"
#include "formats/jww/Cp932Decoder.h"
#include "text/TextLayout.h"
#include "util/DrawingFacts.h"

namespace {

using primitives::TOutPoint;

// Glyph curves flattened as the options flatten arcs, in glyph units: a glyph is `height`
// drawing units tall.
TCurveRule CurveRuleFor(const TConversionOptions& o, double height)
{
    switch (o.ArcMode) {
    case TArcMode::ByAngle: return {TCurveRule::PerAngle, o.ArcAngleRadians()};
    case TArcMode::ByLength: return {TCurveRule::PerLength, o.ArcLength / height};
    case TArcMode::ByCount: break;
    }
    return {TCurveRule::PerTurn, static_cast<double>(o.ArcDivisions)};
}

bool IsBlank(char32_t c) { return c == U' ' || c == U'\u3000'; }

// Points of the text's frame: u along the baseline from the start point, v up from it.
class TTextFrame {
public:
    TTextFrame(const TTextRecord& t, double scale)
        : x_(t.X), y_(t.Y), cos_(std::cos(t.AngleDegrees / 180 * jw::kPi)),
          sin_(std::sin(t.AngleDegrees / 180 * jw::kPi)), scale_(scale)
    {
    }
    TOutPoint At(double u, double v) const
    {
        return {(x_ + u * cos_ - v * sin_) * scale_, (y_ + u * sin_ + v * cos_) * scale_};
    }

private:
    double x_, y_, cos_, sin_, scale_;
};

void EmitTextLine(TFigureStore& store, TPen pen, const TOutPoint& a, const TOutPoint& b)
{
    if (!primitives::Drawable(store, a) || !primitives::Drawable(store, b)) return;
    store.AddTextLine(pen.layer, pen.color, a.x, a.y, b.x, b.y);
}

void AddBox(TFigureStore& store, TPen pen, const TTextFrame& frame, const TTextCell& cell, double height)
{
    const double u0 = cell.Offset, u1 = cell.Offset + cell.Width;
    const TOutPoint corners[] = {frame.At(u0, 0), frame.At(u1, 0), frame.At(u1, height), frame.At(u0, height)};
    for (int i = 0; i < 4; ++i) EmitTextLine(store, pen, corners[i], corners[(i + 1) % 4]);
}

// The glyph stretched to its cell: a full-width glyph's em to the cell's width, its height to
// the text's height; a glyph wider than its cell is narrowed to it, a narrower one centred.
void AddGlyph(TFigureStore& store, TPen pen, const TTextFrame& frame, const TTextCell& cell, double height,
              const TGlyph& glyph, double nominalWidth)
{
    const double sx = cell.Width / std::max<double>(nominalWidth, glyph.Advance);
    const double u0 = cell.Offset + (cell.Width - glyph.Advance * sx) / 2;
    size_t first = 0;
    for (const uint32_t run : glyph.Runs) {
        TOutPoint previous{};
        for (size_t k = 0; k < run; ++k) {
            const TGlyphPoint& p = glyph.Points[first + k];
            const TOutPoint point = frame.At(u0 + p.x * sx, p.y * height);
            if (k > 0) EmitTextLine(store, pen, previous, point);
            previous = point;
        }
        first += run;
    }
}

}  // namespace

void AddText(TConversionContext& ctx, TPen pen, double scale, const TTextRecord& text)
{
    if (text.Text.empty()) return;
    TFont* font = ctx.Fonts.For(Cp932ToUtf8(text.FontName));
    if (!font) {
        ++ctx.Texts.WithoutFont;
        return;
    }
    ++ctx.Texts.Drawn;
    const TTextFrame frame(text, scale);
    const TCurveRule rule = CurveRuleFor(ctx.Options, text.SizeY);
    for (const TTextCell& cell : LayOutText(text.Text, text.SizeX, text.Spacing)) {
        if (IsBlank(cell.Char)) continue;
        if (const TGlyph* glyph = font->Glyph(cell.Char, rule)) {
            AddGlyph(ctx.Store, pen, frame, cell, text.SizeY, *glyph, font->EmWidth() * (cell.HalfWidth ? 0.5 : 1));
        } else {
            ++ctx.Texts.MissingGlyphs;
            AddBox(ctx.Store, pen, frame, cell, text.SizeY);
        }
    }
}
