#include "figures/Heights.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <tuple>

#include "figures/ConversionContext.h"
#include "figures/HeightTexts.h"
#include "output/NodeNames.h"

namespace {

// Store units per metre: the store holds millimetres at the drawing's size.
constexpr double kStoreUnitsPerMetre = 1000;
// Cells beyond this (in drawing units) would overflow their number: such points mark nothing.
constexpr double kLargestCellCoordinate = 1e14;

size_t Mix(uint64_t h, uint64_t v) { return static_cast<size_t>((h ^ v) * 0x9E3779B97F4A7C15ull + (h >> 29)); }

bool SameLetters(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return (x >= 'a' && x <= 'z' ? x - 32 : x) == (y >= 'a' && y <= 'z' ? y - 32 : y);
           });
}

}  // namespace

size_t THeights::TCellHash::operator()(const TCell& c) const
{
    return Mix(Mix(static_cast<uint64_t>(c.Layer), static_cast<uint64_t>(c.X)), static_cast<uint64_t>(c.Y));
}

size_t THeights::TCapKeyHash::operator()(const TCapKey& k) const
{
    return Mix(Mix(static_cast<uint64_t>(k.Layer), std::bit_cast<uint64_t>(k.Height)), k.Top);
}

void THeights::Begin(const TConversionOptions& options, const TDrawingNames& names)
{
    *this = THeights{};
    unit_ = options.Heights;
    readsTexts_ = options.Heights != THeightUnit::Off;
    for (const TLayerHeight& given : options.Extrude) {
        for (int32_t layer = 0; layer < 256; ++layer) {
            if (SameLetters(given.Layer, LayerPositionName(layer)) || (!names.Layers[layer].empty() && given.Layer == names.Layers[layer])) {
                raised_[static_cast<size_t>(layer)] = given.Metres;
                anyRaised_ = true;
            }
        }
    }
}

// Cells of `size` centred on its multiples, so that round coordinates lie in their middle.
std::optional<THeights::TCell> THeights::CellOf(int32_t layer, double x, double y, double size)
{
    if (!(std::fabs(x) <= kLargestCellCoordinate && std::fabs(y) <= kLargestCellCoordinate)) return std::nullopt;
    return TCell{layer, static_cast<int64_t>(std::floor(x / size + 0.5)), static_cast<int64_t>(std::floor(y / size + 0.5))};
}

bool THeights::IsMark(std::string_view text) const
{
    return readsTexts_ && ReadHeightText(text, unit_).Kind == THeightReading::Mark;
}

bool THeights::AddMark(int32_t layer, double x, double y, std::string_view text)
{
    if (!readsTexts_) return false;
    const THeightReading reading = ReadHeightText(text, unit_);
    if (reading.Kind == THeightReading::OutOfRange) ++OutOfRange;
    if (reading.Kind != THeightReading::Mark) return false;
    if (const std::optional<TCell> cell = CellOf(layer, x, y, 2 * kMarkTolerance))
        marks_[*cell] = {x, y, reading.Low, reading.High, {nextCorner_++, false}};
    return true;
}

// The nearest mark within the tolerance of (x, y) on the layer.
THeights::TMark* THeights::MarkAt(int32_t layer, double x, double y)
{
    constexpr double kCell = 2 * kMarkTolerance;
    const std::optional<TCell> at = CellOf(layer, x, y, kCell);
    if (marks_.empty() || !at) return nullptr;
    // The side of its cell the point lies on: the neighbour there is the only other cell a
    // mark within the tolerance can be in.
    const int64_t sideX = x / kCell + 0.5 - static_cast<double>(at->X) < 0.5 ? -1 : 1;
    const int64_t sideY = y / kCell + 0.5 - static_cast<double>(at->Y) < 0.5 ? -1 : 1;
    TMark* best = nullptr;
    double bestDistance = 0;
    for (const int64_t dx : {int64_t{0}, sideX})
        for (const int64_t dy : {int64_t{0}, sideY}) {
            const auto hit = marks_.find({layer, at->X + dx, at->Y + dy});
            if (hit == marks_.end()) continue;
            TMark& m = hit->second;
            const double ex = std::fabs(m.X - x), ey = std::fabs(m.Y - y);
            if (ex > kMarkTolerance || ey > kMarkTolerance) continue;
            if (!best || ex * ex + ey * ey < bestDistance) best = &m, bestDistance = ex * ex + ey * ey;
        }
    return best;
}

// An end's interval: its mark, else its layer's height (on a corner of its own place), else
// the ground.
THeights::TEnd THeights::EndOf(int32_t layer, double x, double y, TMark* mark)
{
    if (mark) return {mark->Low, mark->High, &mark->Corner};
    const std::optional<double> rise = layer >= 0 && layer < 256 ? raised_[static_cast<size_t>(layer)] : std::nullopt;
    if (!rise) return {};
    TEnd end{std::min(0.0, *rise), std::max(0.0, *rise), nullptr};
    if (const std::optional<TCell> cell = CellOf(layer, x, y, kMarkTolerance)) {
        const auto [at, made] = corners_.try_emplace(*cell);
        if (made) at->second.Number = nextCorner_++;
        end.Corner = &at->second;
    }
    return end;
}

bool THeights::LiftLine(THeightSink& sink, TPen pen, double x1, double y1, double x2, double y2, double scale)
{
    if (!Active()) return false;
    const bool raised = pen.layer >= 0 && pen.layer < 256 && raised_[static_cast<size_t>(pen.layer)].has_value();
    TMark* a = readsTexts_ ? MarkAt(pen.layer, x1, y1) : nullptr;
    TMark* b = readsTexts_ ? MarkAt(pen.layer, x2, y2) : nullptr;
    if (!raised && !a && !b) return false;
    const primitives::TOutPoint p = primitives::Scaled(x1, y1, scale), q = primitives::Scaled(x2, y2, scale);
    if (!sink.Drawable(p) || !sink.Drawable(q)) return true;
    Lift(sink, pen, p, q, EndOf(pen.layer, x1, y1, a), EndOf(pen.layer, x2, y2, b));
    return true;
}

bool THeights::LiftPolyline(TFigureStore& store, TPen pen, std::span<const primitives::TOutPoint> points, double scale)
{
    if (!anyRaised_ || pen.layer < 0 || pen.layer >= 256 || !raised_[static_cast<size_t>(pen.layer)]) return false;
    TStoreHeightSink sink(store);
    for (size_t i = 0; i + 1 < points.size(); ++i) {
        const primitives::TOutPoint& p = points[i];
        const primitives::TOutPoint& q = points[i + 1];
        if (!primitives::Drawable(store, p) || !primitives::Drawable(store, q)) continue;
        Lift(sink, pen, p, q, EndOf(pen.layer, p.x / scale, p.y / scale, nullptr),
             EndOf(pen.layer, q.x / scale, q.y / scale, nullptr));
    }
    return true;
}

// Bottom edge, top edge, the verticals not made yet, the wall; the edges that may close a
// roof or a floor are kept for AddCaps.
void THeights::Lift(THeightSink& sink, TPen pen, const primitives::TOutPoint& p, const primitives::TOutPoint& q,
                    const TEnd& a, const TEnd& b)
{
    const auto at = [](const primitives::TOutPoint& o, double metres) {
        return TFigPoint{o.x, o.y, metres * kStoreUnitsPerMetre};
    };
    const TFigPoint pb = at(p, a.Low), pt = at(p, a.High), qb = at(q, b.Low), qt = at(q, b.High);
    const bool riseA = a.Low < a.High, riseB = b.Low < b.High;
    sink.Segment(pen, pb, qb);
    if (riseA || riseB) sink.Segment(pen, pt, qt);
    for (const auto& [end, bottom, top] : {std::tuple{&a, pb, pt}, std::tuple{&b, qb, qt}}) {
        if (end->Low == end->High || (end->Corner && end->Corner->VerticalMade)) continue;
        if (end->Corner) end->Corner->VerticalMade = true;
        sink.Segment(pen, bottom, top);
    }
    if (p.x != q.x || p.y != q.y) {
        if (riseA && riseB) {
            sink.Triangle(pen, pb, qb, qt);
            sink.Triangle(pen, pb, qt, pt);
        } else if (riseB) {
            sink.Triangle(pen, pb, qb, qt);
        } else if (riseA) {
            sink.Triangle(pen, pb, qb, pt);
        }
    }
    // A top at one height is a roof's edge (but for a line flat on the ground); a bottom at one
    // height off the ground, under a top of its own, a floor's. An end off every corner (too
    // far out to have a cell) closes no loop.
    if (!a.Corner || !b.Corner) return;
    const TCapEdge edge{a.Corner->Number, b.Corner->Number, {p.x, p.y}, {q.x, q.y}, pen.color};
    if (a.High == b.High && (riseA || riseB || a.High != 0)) AddCapEdge({pen.layer, a.High, true}, edge);
    if (a.Low == b.Low && a.Low != 0 && (riseA || riseB)) AddCapEdge({pen.layer, a.Low, false}, edge);
}

// Lines come in runs of one layer and height: the group of the last edge is kept at hand.
void THeights::AddCapEdge(const TCapKey& key, const TCapEdge& edge)
{
    std::vector<TCapEdge>*& group = lastCaps_[key.Top];
    if (!group || !(lastCapKey_[key.Top] == key)) {
        group = &caps_[key];
        lastCapKey_[key.Top] = key;
    }
    group->push_back(edge);
}
void THeights::AddCaps(THeightSink& sink)
{
    // In a fixed order (layer, height, roofs before floors), whatever the hash map's.
    std::vector<const std::pair<const TCapKey, std::vector<TCapEdge>>*> groups;
    for (const auto& group : caps_) groups.push_back(&group);
    std::sort(groups.begin(), groups.end(), [](const auto* x, const auto* y) {
        const TCapKey &a = x->first, &b = y->first;
        return a.Layer != b.Layer ? a.Layer < b.Layer : a.Height != b.Height ? a.Height < b.Height : a.Top > b.Top;
    });
    size_t work = kCapWork;
    for (const auto* group : groups) {
        const TCapKey& key = group->first;
        const double z = key.Height * kStoreUnitsPerMetre;
        AddCapFaces(group->second, key.Top, work, [&](const TPlanePoint (&c)[3], int32_t color) {
            sink.Triangle({key.Layer, color}, {c[0].x, c[0].y, z}, {c[1].x, c[1].y, z}, {c[2].x, c[2].y, z});
        });
    }
    caps_.clear();
    lastCaps_[0] = lastCaps_[1] = nullptr;
}
