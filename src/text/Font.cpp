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
    const double k = unitsToGlyph_;
    auto point = [&](double x, double y) { return TGlyphPoint{static_cast<float>(x * k), static_cast<float>((y - descent_) * k)}; };
    auto add = [&](TGlyphPoint p) {
        glyph.Points.push_back(p);
        ++glyph.Runs.back();
    };
    double x = 0, y = 0;
    for (int i = 0; i < count; ++i) {
        const stbtt_vertex& v = vertices[i];
        switch (v.type) {
        case STBTT_vmove:
            if (!glyph.Runs.empty() && glyph.Runs.back() < 2) {  // a move after a lone point
                glyph.Points.resize(glyph.Points.size() - glyph.Runs.back());
                glyph.Runs.pop_back();
            }
            glyph.Runs.push_back(0);
            add(point(v.x, v.y));
            break;
        case STBTT_vline:
            if (glyph.Runs.empty()) glyph.Runs.push_back(0);
            add(point(v.x, v.y));
            break;
        case STBTT_vcurve:
        case STBTT_vcubic: {
            if (glyph.Runs.empty()) glyph.Runs.push_back(0);
            const bool cubic = v.type == STBTT_vcubic;
            const double c1x = v.cx, c1y = v.cy, c2x = cubic ? v.cx1 : v.cx, c2y = cubic ? v.cy1 : v.cy;
            const double sweep = cubic ? Turn(x, y, c1x, c1y, c2x, c2y) + Turn(c1x, c1y, c2x, c2y, v.x, v.y)
                                       : Turn(x, y, c1x, c1y, v.x, v.y);
            const double chord = std::hypot(v.x - x, v.y - y) * k;
            const int n = rule.SegmentsFor(RadiusOf(chord, sweep), sweep);
            for (int s = 1; s <= n; ++s) {
                const double t = static_cast<double>(s) / n, u = 1 - t;
                if (cubic)
                    add(point(u * u * u * x + 3 * u * u * t * c1x + 3 * u * t * t * c2x + t * t * t * v.x,
                              u * u * u * y + 3 * u * u * t * c1y + 3 * u * t * t * c2y + t * t * t * v.y));
                else
                    add(point(u * u * x + 2 * u * t * c1x + t * t * v.x, u * u * y + 2 * u * t * c1y + t * t * v.y));
            }
            break;
        }
        default: break;
        }
        x = v.x;
        y = v.y;
    }
    stbtt_FreeShape(&info_->font, vertices);
    if (!glyph.Runs.empty() && glyph.Runs.back() < 2) {
        glyph.Points.resize(glyph.Points.size() - glyph.Runs.back());
        glyph.Runs.pop_back();
    }
    return glyph;
}
