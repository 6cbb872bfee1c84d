#include "figures/Primitives.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

#include "figures/ArcParameters.h"
#include "figures/PrimitivesEmit.h"
#include "geometry/ScaledCosSin.h"
#include "geometry/UnitGval.h"

using primitives::EmitLine;
using primitives::EmitQuad;
using primitives::EmitTriangle;
using primitives::Scaled;
using primitives::TOutPoint;

namespace {

using Ext = long double;

// One parameter of an arc's walk, with its cosine and sine at cosSin[0] and [1] when the
// thread's tables hold them (else null).
struct TArcParameter {
    double t;
    const Ext* cosSin;
};

// Points of one ellipse, scaled for output. The tilt's cosine and sine are taken once; the
// turn itself is the same rounding as RotateX/RotateY about the origin.
class TEllipse {
public:
    TEllipse(const TEllipticArc& arc, double scale)
        : cx_(arc.x), cy_(arc.y), radius_(arc.radius), flatness_(arc.flatness), scale_(scale),
          cosTilt_(std::cos(static_cast<Ext>(arc.tilt))), sinTilt_(std::sin(static_cast<Ext>(arc.tilt))),
          untilted_(cosTilt_ == 1 && sinTilt_ == 0)
    {
    }

    TOutPoint At(double t) const
    {
        const Ext r = radius_;
        const TScaledCosSin axes = ScaledCosSin(r, r * flatness_, t);
        return Turned(axes.cos, axes.sin);
    }

    // The point of a walk's parameter: from its table's cosine and sine when it has them (the
    // long double library's values, so the products are ScaledCosSin's), else as At(t).
    TOutPoint At(const TArcParameter& p) const
    {
        if (!p.cosSin) return At(p.t);
        const Ext r = radius_;
        return Turned(static_cast<double>(r * p.cosSin[0]), static_cast<double>(r * flatness_ * p.cosSin[1]));
    }

private:
    TOutPoint Turned(double u, double v) const
    {
#if LDBL_MANT_DIG >= 108
        // Where long double has at least 2 x 53 + 2 bits (binary128, in software), an untilted
        // ellipse needs none of it: the turn's products and differences are exact, and a sum
        // rounded to long double and then to double is the sum rounded to double.
        if (untilted_) {
            const double sinTilt = static_cast<double>(sinTilt_);  // +-0
            return Scaled(cx_ + (1.0 * u - sinTilt * v), cy_ + (sinTilt * u + 1.0 * v), scale_);
        }
#endif
        const double tu = static_cast<double>(cosTilt_ * u - sinTilt_ * v);
        const double tv = static_cast<double>(sinTilt_ * u + cosTilt_ * v);
        return Scaled(static_cast<double>(static_cast<Ext>(cx_) + tu), static_cast<double>(static_cast<Ext>(cy_) + tv),
                      scale_);
    }

    double cx_, cy_, radius_, flatness_, scale_;
    Ext cosTilt_, sinTilt_;
    [[maybe_unused]] bool untilted_;  // read only where long double is binary128
};

// Hands every parameter of WalkArcParameters to visit(k, parameter); a walk seen before
// takes its cosines and sines from the thread's tables.
template <class Visit>
void WalkArc(int32_t n, int32_t lastStep, double start, double sweep, Visit&& visit)
{
    const Ext* table = TArcAngleTables::Find(start, sweep, n);
    WalkArcParameters(n, lastStep, start, sweep,
                      [&](int32_t k, double t) { visit(k, TArcParameter{t, table ? table + 2 * k : nullptr}); });
}

// Walks the ellipse like WalkArc and hands every consecutive pair of its points to emit.
template <class Emit>
void WalkEllipse(const TEllipse& e, int32_t n, int32_t lastStep, double start, double sweep, Emit&& emit)
{
    TOutPoint prev;
    WalkArc(n, lastStep, start, sweep, [&](int32_t k, const TArcParameter& t) {
        const TOutPoint p = e.At(t);
        if (k > 0) emit(prev, p);
        prev = p;
    });
}

}  // namespace

int32_t ArcDivisionCount(const TConversionOptions& options, double radius, double sweep)
{
    Ext n;
    int32_t least;
    switch (options.ArcMode) {
    case TArcMode::ByAngle:
        n = std::trunc(std::fabs(static_cast<Ext>(sweep) / options.ArcAngleRadians()) + 0.5L);
        least = options.ArcAngleMinDivisions;
        break;
    case TArcMode::ByLength:
        n = std::trunc(std::fabs(static_cast<Ext>(sweep) * radius / options.ArcLength) + 0.5L);
        least = options.ArcLengthMinDivisions;
        break;
    case TArcMode::ByCount:
    default:
        return std::clamp(options.ArcDivisions, kMinArcDivisions, kMaxArcDivisions);
    }
    int32_t count;
    if (std::isnan(n))
        count = least;
    else if (n >= kMaxArcDivisions)  // compared before the conversion, which could overflow
        count = kMaxArcDivisions;
    else
        count = std::max(static_cast<int32_t>(n), least);
    return std::clamp(count, kMinArcDivisions, kMaxArcDivisions);
}

void AddArcLines(TConversionContext& ctx, TPen pen, double scale, const TEllipticArc& arc)
{
    std::vector<TOutPoint> points;
    AppendArcPoints(ctx.Options, scale, arc, points);
    AddPolyline(ctx, pen, points);
}

void AppendArcPoints(const TConversionOptions& options, double scale, const TEllipticArc& arc,
                     std::vector<TOutPoint>& points)
{
    const int32_t n = ArcDivisionCount(options, arc.radius, arc.sweep);
    const TEllipse e(arc, scale);
    WalkArc(n, n, arc.start, arc.sweep, [&](int32_t, const TArcParameter& t) { points.push_back(e.At(t)); });
}

void AddPolyline(TConversionContext& ctx, TPen pen, std::span<const TOutPoint> points)
{
    for (size_t k = 1; k < points.size(); ++k) EmitLine(ctx.Store, pen, points[k - 1], points[k]);
}

void AddSectorFan(TConversionContext& ctx, TPen pen, double scale, const TEllipticArc& arc)
{
    const int32_t n = ArcDivisionCount(ctx.Options, arc.radius, arc.sweep);
    const TEllipse e(arc, scale);
    const TOutPoint centre = Scaled(arc.x, arc.y, scale);
    WalkEllipse(e, n, n, arc.start, arc.sweep,
                [&](TOutPoint a, TOutPoint b) { EmitTriangle(ctx.Store, pen, centre, a, b); });
}

void AddSegmentFan(TConversionContext& ctx, TPen pen, double scale, const TEllipticArc& arc)
{
    const int32_t n = ArcDivisionCount(ctx.Options, arc.radius, arc.sweep);
    const TEllipse e(arc, scale);
    // The pivot is the arc's own end point; the last step would only repeat it, so it is left out.
    const TOutPoint pivot = e.At(static_cast<double>(static_cast<Ext>(arc.start) + arc.sweep));
    WalkEllipse(e, n, n - 1, arc.start, arc.sweep,
                [&](TOutPoint a, TOutPoint b) { EmitTriangle(ctx.Store, pen, pivot, a, b); });
}

void AddCornerFan(TConversionContext& ctx, TPen pen, double scale, const TEllipticArc& arc)
{
    const int32_t n = ArcDivisionCount(ctx.Options, arc.radius, arc.sweep);
    const TEllipse e(arc, scale);
    double sx, sy, ex, ey, kx, ky;
    ArcTangentCorner(arc.x, arc.y, arc.radius, arc.flatness, arc.start, arc.sweep, arc.tilt, sx, sy, ex, ey, kx,
                     ky);
    const TOutPoint corner = Scaled(kx, ky, scale);
    WalkEllipse(e, n, n, arc.start, arc.sweep,
                [&](TOutPoint a, TOutPoint b) { EmitTriangle(ctx.Store, pen, corner, a, b); });
}

void AddRingQuads(TConversionContext& ctx, TPen pen, double scale, const TEllipticArc& arc, double radius2,
                  double flatness2)
{
    const int32_t n = ArcDivisionCount(ctx.Options, arc.radius, arc.sweep);
    TEllipticArc second = arc;
    second.radius = radius2;
    second.flatness = flatness2;
    const TEllipse outer(arc, scale);
    const TEllipse inner(second, scale);
    TOutPoint prevA, prevB;
    WalkArc(n, n, arc.start, arc.sweep, [&](int32_t k, const TArcParameter& t) {
        const TOutPoint a = outer.At(t);
        const TOutPoint b = inner.At(t);
        if (k > 0) EmitQuad(ctx.Store, pen, prevA, prevB, b, a);
        prevA = a;
        prevB = b;
    });
}
