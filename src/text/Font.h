#pragma once
// One TrueType or OpenType font, read with stb_truetype, and its glyphs' outlines flattened
// into polylines once and kept for every text after.
//
// Glyph space: y runs from the font's descent (0) to its ascent (1), so a glyph fills a text
// cell's height; x is in the same unit from the glyph's origin, and Advance is the glyph's
// own advance width in it.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <map>
#include <unordered_map>
#include <utility>
#include <vector>

struct TGlyphPoint {
    float x = 0, y = 0;
};

struct TGlyph {
    std::vector<TGlyphPoint> Points;  // the polylines one after another
    std::vector<uint32_t> Runs;       // the number of points of each polyline
    float Advance = 0;
};

// How finely curves are flattened, as for arcs: a whole turn in a fixed number of segments,
// a segment per angle (radians), or a segment per length (glyph units). A curve gets the
// share of a circle's segments that its turn is of a whole one, and at least one.
struct TCurveRule {
    enum EKind { PerTurn, PerAngle, PerLength } Kind = PerTurn;
    double Value = 12;

    int SegmentsFor(double radius, double sweep) const;
    auto operator<=>(const TCurveRule&) const = default;
};

class TFont {
public:
    // The font at `index` of a font file or collection held in `bytes`; nullptr when the bytes
    // are no font stb_truetype can read. Font files come from the system or the user, and
    // stb_truetype trusts them: a hostile font file is not a supported input.
    static std::unique_ptr<TFont> Load(std::shared_ptr<const std::vector<unsigned char>> bytes, int index);
    ~TFont();

    // The glyph of `c` with its curves flattened by `rule`, kept for the next call with the
    // same character and rule; nullptr when the font has no glyph for it. Throws
    // std::bad_alloc.
    const TGlyph* Glyph(char32_t c, const TCurveRule& rule);
    // The width of a full-width character in glyph units (the font's em).
    double EmWidth() const { return emWidth_; }

private:
    TFont() = default;
    TGlyph Flatten(int glyphIndex, const TCurveRule& rule) const;

    struct TInfo;
    std::unique_ptr<TInfo> info_;
    std::shared_ptr<const std::vector<unsigned char>> bytes_;
    double unitsToGlyph_ = 1, descent_ = 0, emWidth_ = 1;
    std::map<std::pair<TCurveRule, char32_t>, TGlyph> glyphs_;
    std::unordered_map<char32_t, int> indices_;  // 0: the font has no glyph
};
