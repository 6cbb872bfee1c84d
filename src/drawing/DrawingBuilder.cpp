#include "drawing/DrawingBuilder.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <string_view>
#include <utility>

#include "figures/Primitives.h"
#include "figures/SkipRules.h"
#include "text/FontFinder.h"

namespace drawing {

namespace {

// The Figures each point marker shape makes (plus, cross, square, diamond, circle and the
// filled ones); a circle is taken at its most.
constexpr size_t kMarkerFigures[] = {2, 2, 4, 4, 64, 2, 2, 64};

// The line weights DXF knows, hundredths of a millimetre.
constexpr int32_t kStandardWeights[] = {0,  5,  9,  13, 15, 18, 20,  25,  30,  35,  40,  50,
                                        53, 60, 70, 80, 90, 100, 106, 120, 140, 158, 200, 211};

}  // namespace

TDrawingBuilder::TDrawingBuilder(TConversionContext& ctx, double scale) : ctx_(ctx), d_(ctx.Drawing)
{
    d_ = TDrawing{};
    d_.scale = std::isfinite(scale) && scale > 0 ? scale : 1.0;
    for (int i = 0; i < jw::kLayerCount; ++i) {
        d_.layers[static_cast<size_t>(i)].hidden = ctx.Attributes.LayerHidden(i);
        d_.layers[static_cast<size_t>(i)].locked = ctx.Attributes.LayerState(i) == static_cast<int>(jw::TLayerState::Locked);
    }
    const TConversionOptions& o = ctx.Options;
    // Point display modes: a plus, a cross, a square, a cross in a square (no diamond), a
    // circle; the filled shapes as their outlines; no marker a dot.
    constexpr int32_t kModes[] = {2, 3, 65, 67, 33, 65, 67, 33};
    d_.pointMode = o.PointMarkerShape >= 0 && o.PointMarkerShape < 8 ? kModes[o.PointMarkerShape] : 0;
    d_.pointSize = o.PointMarkerSize * d_.scale;
}

uint32_t TDrawingBuilder::PenColor(int32_t pen) const
{
    const int entry = TgraAttribute::PenIndex(pen);
    return entry < 0 ? ctx_.Attributes.DefaultPenColor() : ctx_.Attributes.PenColor(entry);
}

TAttributes TDrawingBuilder::Attributes(int32_t layer, uint32_t color, int32_t lineType, int32_t width)
{
    TAttributes a;
    a.layer = layer;
    if (layer != TAttributes::kInheritLayer) UseLayer(layer);
    a.color = color & 0xFFFFFF;
    a.defaultPen = a.color == ctx_.Attributes.DefaultPenColor();
    a.lineType = LineType(lineType);
    a.lineWeight = StandardLineWeight(width);
    return a;
}

void TDrawingBuilder::UseLayer(int32_t layer)
{
    if (layer >= 0 && layer < jw::kLayerCount) d_.layers[static_cast<size_t>(layer)].used = true;
}

void TDrawingBuilder::SetLineTypes(std::unordered_map<int32_t, TDotPattern> patterns, std::string_view prefix)
{
    patterns_ = std::move(patterns);
    prefix_ = prefix;
}

int32_t TDrawingBuilder::LineType(int32_t number)
{
    const auto known = lineTypes_.find(number);
    if (known != lineTypes_.end()) return known->second;
    int32_t index = 0;
    const auto pattern = patterns_.find(number);
    if (pattern != patterns_.end()) {
        std::vector<double> dashes = DashesOf(pattern->second);
        if (!dashes.empty()) {
            const bool aux = number == skip_rules::kAuxiliaryLineType;
            std::string name = prefix_ + (aux ? "AUX" : std::to_string(number));
            std::string description = aux ? "Auxiliary line" : "Line type " + std::to_string(number);
            index = static_cast<int32_t>(d_.lineTypes.size());
            d_.lineTypes.push_back({std::move(name), std::move(description), std::move(dashes)});
        }
    }
    lineTypes_.emplace(number, index);
    return index;
}

int32_t TDrawingBuilder::Font(const std::string& utf8Name)
{
    if (utf8Name.empty()) return -1;
    const auto [at, added] = fonts_.emplace(utf8Name, static_cast<int32_t>(d_.fonts.size()));
    if (added) d_.fonts.push_back({utf8Name, WindowsFontFile(utf8Name)});
    return at->second;
}

std::string WindowsFontFile(const std::string& family)
{
    static constexpr std::pair<std::string_view, std::string_view> kFiles[] = {
        {"ＭＳ ゴシック", "msgothic.ttc"}, {"ＭＳ Ｐゴシック", "msgothic.ttc"}, {"MS UI Gothic", "msgothic.ttc"},
        {"ＭＳ 明朝", "msmincho.ttc"},     {"ＭＳ Ｐ明朝", "msmincho.ttc"},     {"メイリオ", "meiryo.ttc"},
        {"游ゴシック", "YuGothM.ttc"},     {"游明朝", "yumin.ttf"},
    };
    for (const auto& [name, file] : kFiles)
        if (name == family) return std::string(file);
    return IsMinchoFamily(family) ? "msmincho.ttc" : "msgothic.ttc";
}

void TDrawingBuilder::Spend(size_t figures)
{
    if (figures > ctx_.Store.FigureBudget - std::min(spent_, ctx_.Store.FigureBudget)) {
        spent_ = ctx_.Store.FigureBudget;
        throw TFigureBudgetExceeded();
    }
    spent_ += figures;
}

size_t TDrawingBuilder::ArcFigures(double radius, double sweep) const
{
    return static_cast<size_t>(ArcDivisionCount(ctx_.Options, radius, sweep));
}

size_t TDrawingBuilder::MarkerFigures() const
{
    const int32_t shape = ctx_.Options.PointMarkerShape;
    return shape >= 0 && shape < 8 ? kMarkerFigures[shape] : 0;
}

bool TDrawingBuilder::Fits(std::initializer_list<double> values) const
{
    const double limit = TFigureStore::CoordinateLimitFor(1.0);
    return std::all_of(values.begin(), values.end(), [limit](double v) { return std::fabs(v) <= limit; });
}

std::vector<double> DashesOf(const TDotPattern& pattern)
{
    const int32_t dots = std::clamp(pattern.dots, 1, 32);
    const uint32_t mask = dots == 32 ? 0xFFFFFFFFu : (1u << dots) - 1;
    const uint32_t bits = pattern.bits & mask;
    if (bits == 0 || bits == mask || !(pattern.dotLength > 0) || !std::isfinite(pattern.dotLength)) return {};
    auto bit = [&](int32_t i) { return ((bits >> (dots - 1 - ((i % dots + dots) % dots))) & 1u) != 0; };
    // Start at a dash that follows a gap, so the pattern begins with a dash.
    int32_t first = 0;
    while (!(bit(first) && !bit(first - 1))) ++first;
    std::vector<double> dashes;
    for (int32_t i = 0; i < dots;) {
        const bool on = bit(first + i);
        int32_t run = 0;
        while (i < dots && bit(first + i) == on) ++i, ++run;
        dashes.push_back((on ? 1 : -1) * run * pattern.dotLength);
    }
    return dashes;
}

int32_t StandardLineWeight(int32_t hundredths)
{
    if (hundredths <= 0) return -1;
    const auto nearest = std::min_element(std::begin(kStandardWeights), std::end(kStandardWeights),
                                          [hundredths](int32_t a, int32_t b) {
                                              return std::abs(a - hundredths) < std::abs(b - hundredths);
                                          });
    return *nearest;
}

}  // namespace drawing
