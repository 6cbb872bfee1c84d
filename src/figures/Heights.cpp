#include "figures/Heights.h"

#include <algorithm>
#include <bit>
#include <cmath>

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

size_t THeights::TVerticalHash::operator()(const TVertical& v) const
{
    return Mix(Mix(Mix(static_cast<uint64_t>(v.Layer), v.Corner), std::bit_cast<uint64_t>(v.Low)),
               std::bit_cast<uint64_t>(v.High));
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

std::optional<THeights::TCell> THeights::CellOf(int32_t layer, double x, double y)
{
    if (!(std::fabs(x) <= kLargestCellCoordinate && std::fabs(y) <= kLargestCellCoordinate)) return std::nullopt;
    // Cells centred on the multiples of the tolerance, so that round coordinates lie in the
    // middle of theirs; two points within the tolerance lie in neighbouring cells at most.
    return TCell{layer, static_cast<int64_t>(std::floor(x / kMarkTolerance + 0.5)),
                 static_cast<int64_t>(std::floor(y / kMarkTolerance + 0.5))};
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
    if (const std::optional<TCell> cell = CellOf(layer, x, y)) marks_[*cell] = {x, y, reading.Low, reading.High};
    return true;
}

// The nearest mark within the tolerance: it lies in the end's cell or one of its neighbours.
// Its interval, and its cell, which names the corner of every end it marks.
std::optional<std::pair<THeights::TMark, THeights::TCell>> THeights::MarkedEnd(int32_t layer, double x, double y) const
{
    const std::optional<TCell> at = CellOf(layer, x, y);
    if (marks_.empty() || !at) return std::nullopt;
    std::optional<std::pair<TMark, TCell>> best;
    double bestDistance = 0;
    for (int64_t dx = -1; dx <= 1; ++dx)
        for (int64_t dy = -1; dy <= 1; ++dy) {
            const TCell cell{layer, at->X + dx, at->Y + dy};
            const auto hit = marks_.find(cell);
            if (hit == marks_.end()) continue;
            const TMark& m = hit->second;
            const double ex = std::fabs(m.X - x), ey = std::fabs(m.Y - y);
            if (ex > kMarkTolerance || ey > kMarkTolerance) continue;
            if (!best || ex * ex + ey * ey < bestDistance) {
                best = {m, cell};
                bestDistance = ex * ex + ey * ey;
            }
        }
    return best;
}

uint64_t THeights::CornerOf(const TCell& cell, bool marked)
{
    // Corners are told apart by place alone (a layer's own edges meet only its own), marked
    // corners apart from unmarked ones.
    const TCell key{marked ? 1 : 0, cell.X, cell.Y};
    return corners_.try_emplace(key, corners_.size()).first->second;
}

// An end's interval: its mark, else its layer's height, else the ground.
THeights::TEnd THeights::EndAt(int32_t layer, double x, double y)
{
    if (readsTexts_) {
        if (const auto mark = MarkedEnd(layer, x, y)) return {mark->first.Low, mark->first.High, CornerOf(mark->second, true)};
    }
    const std::optional<double> rise = layer >= 0 && layer < 256 ? raised_[static_cast<size_t>(layer)] : std::nullopt;
    const std::optional<TCell> own = CellOf(layer, x, y);
    return {rise ? std::min(0.0, *rise) : 0, rise ? std::max(0.0, *rise) : 0, own ? CornerOf(*own, false) : ~uint64_t{0}};
}

bool THeights::LiftLine(TFigureStore& store, TPen pen, double x1, double y1, double x2, double y2, double scale)
{
    if (!Active()) return false;
    const bool raised = pen.layer >= 0 && pen.layer < 256 && raised_[static_cast<size_t>(pen.layer)].has_value();
    if (!raised && (marks_.empty() || (!MarkedEnd(pen.layer, x1, y1) && !MarkedEnd(pen.layer, x2, y2)))) return false;
    const primitives::TOutPoint p = primitives::Scaled(x1, y1, scale), q = primitives::Scaled(x2, y2, scale);
    if (!primitives::Drawable(store, p) || !primitives::Drawable(store, q)) return true;
    Lift(store, pen, p, q, EndAt(pen.layer, x1, y1), EndAt(pen.layer, x2, y2));
    return true;
}

bool THeights::LiftPolyline(TFigureStore& store, TPen pen, std::span<const primitives::TOutPoint> points, double scale)
{
    if (!anyRaised_ || pen.layer < 0 || pen.layer >= 256 || !raised_[static_cast<size_t>(pen.layer)]) return false;
    const double rise = *raised_[static_cast<size_t>(pen.layer)];
    for (size_t i = 0; i + 1 < points.size(); ++i) {
        const primitives::TOutPoint& p = points[i];
        const primitives::TOutPoint& q = points[i + 1];
        if (!primitives::Drawable(store, p) || !primitives::Drawable(store, q)) continue;
        const auto end = [&](const primitives::TOutPoint& o) {
            const std::optional<TCell> cell = CellOf(pen.layer, o.x / scale, o.y / scale);
            return TEnd{std::min(0.0, rise), std::max(0.0, rise), cell ? CornerOf(*cell, false) : ~uint64_t{0}};
        };
        Lift(store, pen, p, q, end(p), end(q));
    }
    return true;
}

// Bottom edge, top edge, the verticals not made yet, the wall; the edges that may close a
// roof or a floor are kept for AddCaps.
void THeights::Lift(TFigureStore& store, TPen pen, const primitives::TOutPoint& p, const primitives::TOutPoint& q,
                    const TEnd& a, const TEnd& b)
{
    const auto at = [](const primitives::TOutPoint& o, double metres) {
        return TFigPoint{o.x, o.y, metres * kStoreUnitsPerMetre};
    };
    const TFigPoint pb = at(p, a.Low), pt = at(p, a.High), qb = at(q, b.Low), qt = at(q, b.High);
    const bool riseA = a.Low < a.High, riseB = b.Low < b.High;
    store.AddLine3D(pen.layer, pen.color, pb, qb);
    if (riseA || riseB) store.AddLine3D(pen.layer, pen.color, pt, qt);
    if (riseA && verticals_.insert({pen.layer, a.Corner, a.Low, a.High}).second) store.AddLine3D(pen.layer, pen.color, pb, pt);
    if (riseB && verticals_.insert({pen.layer, b.Corner, b.Low, b.High}).second) store.AddLine3D(pen.layer, pen.color, qb, qt);
    if (p.x != q.x || p.y != q.y) {
        if (riseA && riseB) {
            store.AddTriangle3D(pen.layer, pen.color, pb, qb, qt);
            store.AddTriangle3D(pen.layer, pen.color, pb, qt, pt);
        } else if (riseB) {
            store.AddTriangle3D(pen.layer, pen.color, pb, qb, qt);
        } else if (riseA) {
            store.AddTriangle3D(pen.layer, pen.color, pb, qb, pt);
        }
    }
    // A top at one height is a roof's edge (but for a line flat on the ground); a bottom at one
    // height off the ground, under a top of its own, a floor's.
    const TCapEdge edge{a.Corner, b.Corner, {p.x, p.y}, {q.x, q.y}, pen.color};
    if (a.High == b.High && (riseA || riseB || a.High != 0)) caps_[{pen.layer, a.High, true}].push_back(edge);
    if (a.Low == b.Low && a.Low != 0 && (riseA || riseB)) caps_[{pen.layer, a.Low, false}].push_back(edge);
}

void THeights::AddCaps(TFigureStore& store)
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
            store.AddTriangle3D(key.Layer, color, {c[0].x, c[0].y, z}, {c[1].x, c[1].y, z}, {c[2].x, c[2].y, z});
        });
    }
    caps_.clear();
}
