#include "text/Font.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#define STBTT_STATIC
#define STB_TRUETYPE_IMPLEMENTATION
#include <stb_truetype.h>

namespace {

// A curve never gets more segments than this, whatever the rule: a glyph stays a few
// hundred segments.
constexpr int kMaxCurveSegments = 64;

// The turn between the directions a -> b and b -> c, in radians (0..pi).
double Turn(double ax, double ay, double bx, double by, double cx, double cy)
{
    const double ux = bx - ax, uy = by - ay, vx = cx - bx, vy = cy - by;
    return std::fabs(std::atan2(ux * vy - uy * vx, ux * vx + uy * vy));
}

// The radius of the circle that turns through `sweep` over a chord of `chord`.
double RadiusOf(double chord, double sweep)
{
    const double half = std::sin(sweep / 2);
    return half > 1e-9 ? chord / (2 * half) : chord;
}

}  // namespace

struct TFont::TInfo {
    stbtt_fontinfo font;
};

int TCurveRule::SegmentsFor(double radius, double sweep) const
{
    double n;
    switch (Kind) {
    case PerAngle: n = sweep / Value; break;
    case PerLength: n = sweep * radius / Value; break;
    case PerTurn:
    default: n = Value * sweep / (2 * std::numbers::pi); break;
    }
    if (!(n >= 1)) return 1;  // NaN too
    return n >= kMaxCurveSegments ? kMaxCurveSegments : static_cast<int>(std::ceil(n));
}

std::unique_ptr<TFont> TFont::Load(std::shared_ptr<const std::vector<unsigned char>> bytes, int index)
{
    if (!bytes || bytes->size() < 12) return nullptr;
    const unsigned char* data = bytes->data();
    const int fonts = stbtt_GetNumberOfFonts(data);
    if (index < 0 || fonts <= index) return nullptr;
    const int offset = stbtt_GetFontOffsetForIndex(data, index);
    if (offset < 0 || static_cast<size_t>(offset) >= bytes->size()) return nullptr;
    std::unique_ptr<TFont> font(new TFont);
    font->info_ = std::make_unique<TInfo>();
    if (!stbtt_InitFont(&font->info_->font, data, offset)) return nullptr;
    int ascent = 0, descent = 0, gap = 0;
    stbtt_GetFontVMetrics(&font->info_->font, &ascent, &descent, &gap);
    if (ascent <= descent) return nullptr;
    font->unitsToGlyph_ = 1.0 / (ascent - descent);
    font->descent_ = descent;
    font->emWidth_ = font->unitsToGlyph_ / stbtt_ScaleForMappingEmToPixels(&font->info_->font, 1);
    font->bytes_ = std::move(bytes);
    return font;
}

TFont::~TFont() = default;

const TGlyph* TFont::Glyph(char32_t c, const TCurveRule& rule)
{
    const auto key = std::make_pair(rule, c);
    if (const auto hit = glyphs_.find(key); hit != glyphs_.end()) return &hit->second;
    auto [index, fresh] = indices_.try_emplace(c, 0);
    if (fresh) index->second = stbtt_FindGlyphIndex(&info_->font, static_cast<int>(c));
    if (index->second == 0) return nullptr;
    return &glyphs_.emplace(key, Flatten(index->second, rule)).first->second;
}

namespace {

// Builds a glyph's polylines from the font's outline commands, in glyph space.
class TOutline {
public:
    TOutline(TGlyph& glyph, double unitsToGlyph, double descent) : glyph_(glyph), k_(unitsToGlyph), descent_(descent) {}

    void Move(double x, double y)
    {
        DropLoneRun();
        glyph_.Runs.push_back(0);
        Add(x, y);
    }

    void Line(double x, double y)
    {
        if (glyph_.Runs.empty()) glyph_.Runs.push_back(0);
        Add(x, y);
    }

    // A quadratic (c1 == c2) or cubic curve from (x0, y0) to (x, y), in the rule's number of
    // segments for its turn and size.
    void Curve(double x0, double y0, double c1x, double c1y, double c2x, double c2y, double x, double y, bool cubic,
               const TCurveRule& rule)
    {
        if (glyph_.Runs.empty()) glyph_.Runs.push_back(0);
        const double sweep = cubic ? Turn(x0, y0, c1x, c1y, c2x, c2y) + Turn(c1x, c1y, c2x, c2y, x, y)
                                   : Turn(x0, y0, c1x, c1y, x, y);
        const double chord = std::hypot(x - x0, y - y0) * k_;
        const int n = rule.SegmentsFor(RadiusOf(chord, sweep), sweep);
        for (int s = 1; s <= n; ++s) {
            const double t = static_cast<double>(s) / n, u = 1 - t;
            if (cubic)
                Add(u * u * u * x0 + 3 * u * u * t * c1x + 3 * u * t * t * c2x + t * t * t * x,
                    u * u * u * y0 + 3 * u * u * t * c1y + 3 * u * t * t * c2y + t * t * t * y);
            else
                Add(u * u * x0 + 2 * u * t * c1x + t * t * x, u * u * y0 + 2 * u * t * c1y + t * t * y);
        }
    }

    // A polyline of a single point draws nothing: it goes.
    void DropLoneRun()
    {
        if (glyph_.Runs.empty() || glyph_.Runs.back() >= 2) return;
        glyph_.Points.resize(glyph_.Points.size() - glyph_.Runs.back());
        glyph_.Runs.pop_back();
    }

private:
    void Add(double x, double y)
    {
        glyph_.Points.push_back({static_cast<float>(x * k_), static_cast<float>((y - descent_) * k_)});
        ++glyph_.Runs.back();
    }

    TGlyph& glyph_;
    double k_, descent_;
};

}  // namespace

// The glyph's contours as polylines in glyph space: straight parts as they are, quadratic
// and cubic curves in the rule's number of segments for their turn and size.
TGlyph TFont::Flatten(int glyphIndex, const TCurveRule& rule) const
{
    TGlyph glyph;
    int advance = 0, bearing = 0;
    stbtt_GetGlyphHMetrics(&info_->font, glyphIndex, &advance, &bearing);
    glyph.Advance = static_cast<float>(advance * unitsToGlyph_);
    stbtt_vertex* vertices = nullptr;
    const int count = stbtt_GetGlyphShape(&info_->font, glyphIndex, &vertices);
    TOutline outline(glyph, unitsToGlyph_, descent_);
    double x = 0, y = 0;
    for (int i = 0; i < count; ++i) {
        const stbtt_vertex& v = vertices[i];
        switch (v.type) {
        case STBTT_vmove: outline.Move(v.x, v.y); break;
        case STBTT_vline: outline.Line(v.x, v.y); break;
        case STBTT_vcurve: outline.Curve(x, y, v.cx, v.cy, v.cx, v.cy, v.x, v.y, false, rule); break;
        case STBTT_vcubic: outline.Curve(x, y, v.cx, v.cy, v.cx1, v.cy1, v.x, v.y, true, rule); break;
        default: break;
        }
        x = v.x;
        y = v.y;
    }
    stbtt_FreeShape(&info_->font, vertices);
    outline.DropLoneRun();
    return glyph;
}
