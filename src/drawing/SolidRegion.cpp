#include "drawing/SolidRegion.h"

#include <cmath>

#include "geometry/UnitGval.h"

namespace drawing {

namespace {

constexpr double kFlatRingLimit = 1e-12;  // a second ellipse this flat has no area: a sector

TRegionEdge Straight(double x1, double y1, double x2, double y2) { return {false, x1, y1, x2, y2, {}}; }
TRegionEdge Curved(const TEllipticArc& arc) { return {true, 0, 0, 0, 0, arc}; }

TEllipticArc Scaled(TEllipticArc arc, double s)
{
    arc.x *= s;
    arc.y *= s;
    arc.radius *= s;
    return arc;
}

bool Finite(const TEllipticArc& a)
{
    return std::isfinite(a.x) && std::isfinite(a.y) && std::isfinite(a.radius) && std::isfinite(a.flatness) &&
           std::isfinite(a.tilt) && std::isfinite(a.start) && std::isfinite(a.sweep);
}

}  // namespace

void ArcPoint(const TEllipticArc& arc, double t, double& x, double& y)
{
    const double u = arc.radius * std::cos(t), v = arc.radius * arc.flatness * std::sin(t);
    x = arc.x + u * std::cos(arc.tilt) - v * std::sin(arc.tilt);
    y = arc.y + u * std::sin(arc.tilt) + v * std::cos(arc.tilt);
}

std::optional<std::vector<std::vector<TRegionEdge>>> SolidRegionLoops(const TSolidArc& shape, double scale)
{
    TEllipticArc arc = Scaled(shape.whole ? WholeEllipse(shape.arc) : shape.arc, scale);
    if (!Finite(arc) || arc.radius == 0 || arc.flatness == 0 || arc.sweep == 0) return std::nullopt;
    const bool whole = std::fabs(arc.sweep) >= kFullTurn;
    double sx, sy, ex, ey;
    ArcPoint(arc, arc.start, sx, sy);
    ArcPoint(arc, arc.start + arc.sweep, ex, ey);
    std::vector<std::vector<TRegionEdge>> loops;
    ESolidArcShape kind = shape.shape;
    if (kind == ESolidArcShape::Ring && !(shape.secondFlatness > kFlatRingLimit)) kind = ESolidArcShape::Sector;
    switch (kind) {
    case ESolidArcShape::Outline: return std::nullopt;
    case ESolidArcShape::Sector:
        if (whole) loops.push_back({Curved(arc)});
        else loops.push_back({Straight(arc.x, arc.y, sx, sy), Curved(arc), Straight(ex, ey, arc.x, arc.y)});
        break;
    case ESolidArcShape::SegmentFan:
        loops.push_back({Curved(arc), Straight(ex, ey, sx, sy)});
        break;
    case ESolidArcShape::CornerFan: {
        double a, b, c, d, cx, cy;
        ArcTangentCorner(arc.x, arc.y, arc.radius, arc.flatness, arc.start, arc.sweep, arc.tilt, a, b, c, d, cx, cy);
        if (!std::isfinite(cx) || !std::isfinite(cy)) return std::nullopt;
        loops.push_back({Curved(arc), Straight(ex, ey, cx, cy), Straight(cx, cy, sx, sy)});
        break;
    }
    case ESolidArcShape::Ring: {
        TEllipticArc inner = arc;
        inner.radius = shape.secondRadius * scale;
        inner.flatness = shape.secondFlatness;
        if (!Finite(inner) || inner.radius == 0) return std::nullopt;
        if (whole) {
            loops.push_back({Curved(arc)});
            loops.push_back({Curved(inner)});
            break;
        }
        double isx, isy, iex, iey;
        ArcPoint(inner, inner.start, isx, isy);
        ArcPoint(inner, inner.start + inner.sweep, iex, iey);
        TEllipticArc back = inner;
        back.start = inner.start + inner.sweep;
        back.sweep = -inner.sweep;
        loops.push_back({Curved(arc), Straight(ex, ey, iex, iey), Curved(back), Straight(isx, isy, sx, sy)});
        break;
    }
    }
    return loops;
}

}  // namespace drawing
