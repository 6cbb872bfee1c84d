// Block expansion: every member line, arc, point, dimension and solid (and, when texts are
// drawn, text) of every placed definition is copied, mapped through its placement's
// transform, into the drawing's own lists. Nested placements have tree entries of their own.
#include <cmath>
#include <new>

#include "formats/jww/JwwArcFields.h"
#include "formats/jww/JwwEntityModel.h"
#include "formats/jww/JwwSolidArc.h"
#include "geometry/UnitGval.h"
#include "util/DrawingFacts.h"

namespace {

constexpr size_t kCapacityStep = 1000;
constexpr size_t kDimensionRecords = 8;  // line, text, two auxiliary lines, four points
constexpr size_t kSearchedArcRecords = 16;
constexpr double kZeroSweep = 1e-14;
// A derived second flatness at most this small cannot be mapped; the first flatness stands in.
constexpr double kZeroFlatness = 1e-14;

void ApplyLayerRule(TEntJwwCommon& common, const TEntJwwBlockTree& tree)
{
    if (tree.KeepOwnLayer()) return;
    common.layer = tree.common.layer;
    common.layerGroup = tree.common.layerGroup;
}

void MapSegment(TEntJwwSen& line, const TBlockTransform& t)
{
    TransformSegment(line.startX, line.startY, line.endX, line.endY, line.startX, line.startY, line.endX,
                     line.endY, t);
}

void MapPoint(TEntJwwTen& point, const TBlockTransform& t)
{
    TransformPointEntity(point.x, point.y, point.x, point.y, t);
}

// A text follows its placement: the start and end points are mapped, the baseline turns with
// the map, and widths and spacing stretch as the baseline does. The height takes what is
// left of the map's area change, so a mirroring map leaves the text readable.
void MapText(TEntJwwMoji& text, const TBlockTransform& t)
{
    TransformPointEntity(text.startX, text.startY, text.startX, text.startY, t);
    TransformPointEntity(text.endX, text.endY, text.endX, text.endY, t);
    const double angle = text.angle / 180 * jw::kPi;
    const double dx = t.m00 * std::cos(angle) + t.m01 * std::sin(angle);
    const double dy = t.m10 * std::cos(angle) + t.m11 * std::sin(angle);
    const double stretch = std::hypot(dx, dy);
    const double area = std::fabs(t.m00 * t.m11 - t.m01 * t.m10);
    if (!(stretch > 0) || !std::isfinite(stretch)) {
        text.sizeX = text.sizeY = text.spacing = 0;
        return;
    }
    text.angle = std::atan2(dy, dx) * 180 / jw::kPi;
    text.sizeX *= stretch;
    text.spacing *= stretch;
    text.sizeY *= area / stretch;
}

// The sweep of a ring-shaped solid that stands for a whole ellipse.
bool WholeSweep(double sweep) { return std::fabs(sweep) < kZeroSweep || sweep >= kFullTurn || sweep <= -kFullTurn; }

// The second radius of a ring-shaped solid, mapped as an ellipse of its own. A radius that
// maps to nothing stays 0.
double MapSecondRadius(const TSolidArc& ring, bool whole, const TBlockTransform& t)
{
    if (ring.secondRadius == 0) return 0;
    TEllipticArc second = ring.arc;
    second.radius = ring.secondRadius;
    if (ring.secondFlatness > kZeroFlatness) second.flatness = ring.secondFlatness;
    const std::optional<TEllipticArc> mapped = TransformArc(second, whole, t);
    return mapped ? mapped->radius : 0;
}

// What mapping one arc costs, in plain records: a map that turns or stretches unevenly needs
// the search for the arc's new first axis, so that the record bound also bounds its time.
size_t ArcRecords(const TBlockTransform& t) { return KeepsAxes(t) ? 1 : kSearchedArcRecords; }

}  // namespace

bool TJwwEntityModel::TakeExpansionBudget(size_t records)
{
    if (expandedRecords_ + records > kMaxExpandedRecords) return false;
    expandedRecords_ += records;
    return true;
}

bool TJwwEntityModel::AddBlockLine(const TEntJwwSen& member, const TEntJwwBlockTree& tree)
{
    if (!TakeExpansionBudget(1)) return false;
    TEntJwwSen line = member;
    ApplyLayerRule(line.common, tree);
    MapSegment(line, tree.transform);
    lines.push_back(line);
    return true;
}

bool TJwwEntityModel::AddBlockArc(const TEntJwwEnko& member, const TEntJwwBlockTree& tree)
{
    if (!TakeExpansionBudget(ArcRecords(tree.transform))) return false;
    const std::optional<TEllipticArc> mapped =
        TransformArc(ArcOf(member, kArcRecordFields), member.fullCircle == 1, tree.transform);
    if (!mapped) return true;  // collapsed by the placement: nothing to draw
    TEntJwwEnko arc = member;
    ApplyLayerRule(arc.common, tree);
    StoreArc(arc, kArcRecordFields, *mapped);
    arcs.push_back(arc);
    return true;
}

bool TJwwEntityModel::AddBlockPoint(const TEntJwwTen& member, const TEntJwwBlockTree& tree)
{
    if (!TakeExpansionBudget(1)) return false;
    TEntJwwTen point = member;
    ApplyLayerRule(point.common, tree);
    MapPoint(point, tree.transform);
    points.push_back(point);
    return true;
}

bool TJwwEntityModel::AddBlockDimension(const TEntJwwSunpo& member, const TEntJwwBlockTree& tree)
{
    if (!TakeExpansionBudget(kDimensionRecords)) return false;
    TEntJwwSunpo d = member;
    const TBlockTransform& t = tree.transform;
    if (member.sxfMode != 0) {
        MapSegment(d.auxLine1, t);
        MapSegment(d.auxLine2, t);
        for (TEntJwwTen* p : {&d.point1, &d.point2, &d.point3, &d.point4}) MapPoint(*p, t);
    } else {
        // Without SXF parts these carry no geometry of their own.
        for (TEntJwwSen* aux : {&d.auxLine1, &d.auxLine2}) aux->startX = aux->startY = aux->endX = aux->endY = 0;
        for (TEntJwwTen* p : {&d.point1, &d.point2, &d.point3, &d.point4}) p->x = p->y = 0;
    }
    MapSegment(d.line, t);
    MapText(d.text, t);
    for (TEntJwwCommon* c : {&d.common, &d.line.common, &d.text.common, &d.auxLine1.common, &d.auxLine2.common,
                             &d.point1.common, &d.point2.common, &d.point3.common, &d.point4.common})
        ApplyLayerRule(*c, tree);
    dimensions.push_back(std::move(d));
    return true;
}

bool TJwwEntityModel::AddBlockSolid(const TEntJwwSolid& member, const TEntJwwBlockTree& tree)
{
    const bool arcShaped = member.common.lineType > jw::kPolygonSolidMax;
    if (!TakeExpansionBudget(arcShaped ? ArcRecords(tree.transform) : 1)) return false;
    TEntJwwSolid s = member;
    ApplyLayerRule(s.common, tree);
    const TBlockTransform& t = tree.transform;
    if (!arcShaped) {
        TransformSegment(member.x1, member.y1, member.x2, member.y2, s.x1, s.y1, s.x2, s.y2, t);
        TransformSegment(member.x3, member.y3, member.x4, member.y4, s.x3, s.y3, s.x4, s.y4, t);
        solids.push_back(s);
        return true;
    }
    const TSolidArc shape = DecodeSolidArc(member, EFlatnessPrecision::Extended);
    // A ring's y4 is its second radius, mapped like the first; its code never marks it whole.
    const bool ring = shape.shape == ESolidArcShape::Ring;
    const bool whole = ring ? WholeSweep(member.x4) : shape.whole;
    if (ring) s.y4 = MapSecondRadius(shape, whole, t);
    const std::optional<TEllipticArc> mapped = TransformArc(shape.arc, whole, t);
    if (!mapped) return true;  // collapsed by the placement: nothing to draw
    StoreArc(s, kSolidArcFields, *mapped);
    solids.push_back(s);
    return true;
}

bool TJwwEntityModel::AddBlockText(const TEntJwwMoji& member, const TEntJwwBlockTree& tree)
{
    if (!TakeExpansionBudget(1)) return false;
    TEntJwwMoji text = member;
    ApplyLayerRule(text.common, tree);
    MapText(text, tree.transform);
    texts.push_back(std::move(text));
    return true;
}

bool TJwwEntityModel::ExpandTrees(bool withTexts)
{
    lines.reserve(lines.size() + kCapacityStep);
    arcs.reserve(arcs.size() + kCapacityStep);
    points.reserve(points.size() + kCapacityStep);
    dimensions.reserve(dimensions.size() + kCapacityStep);
    solids.reserve(solids.size() + kCapacityStep);
    for (const TEntJwwBlockTree& tree : blockTrees) {
        if (tree.defIndex < 0) continue;
        const TEntJwwBlockDef& def = blockDefs[static_cast<size_t>(tree.defIndex)];
        const TJwwRecordLists& r = def.records;
        for (const TEntJwwIndex& m : def.members) {
            const auto i = static_cast<size_t>(m.index);
            auto has = [i](const auto& list) { return i < list.size(); };
            bool ok = true;
            switch (static_cast<EJwwKind>(m.kind)) {
            case EJwwKind::Line: ok = !has(r.lines) || AddBlockLine(r.lines[i], tree); break;
            case EJwwKind::Arc: ok = !has(r.arcs) || AddBlockArc(r.arcs[i], tree); break;
            case EJwwKind::Point: ok = !has(r.points) || AddBlockPoint(r.points[i], tree); break;
            case EJwwKind::Dimension: ok = !has(r.dimensions) || AddBlockDimension(r.dimensions[i], tree); break;
            case EJwwKind::Solid: ok = !has(r.solids) || AddBlockSolid(r.solids[i], tree); break;
            case EJwwKind::Text: ok = !withTexts || !has(r.texts) || AddBlockText(r.texts[i], tree); break;
            default: break;  // nested placements have their own entries
            }
            if (!ok) return false;
        }
    }
    return true;
}

bool TJwwEntityModel::ExpandBlocks(bool withTexts)
{
    if (blockTrees.empty()) return true;
    expandedRecords_ = 0;
    bool complete;
    try {
        complete = ExpandTrees(withTexts);
    } catch (const std::bad_alloc&) {
        complete = false;
    }
    TrimToCounts();
    blockTrees = {};
    if (!complete || blockTreesCut) {
        blockTreesCut = false;
        return false;
    }
    blockDefs = {};
    blockDefCount = 0;
    blockInserts = {};
    return true;
}
