#include "figures/Primitives.h"

#include <algorithm>
#include <cmath>

#include "figures/PrimitivesEmit.h"
#include "geometry/UnitGval.h"

using primitives::EmitLine;
using primitives::EmitQuad;
using primitives::EmitTriangle;
using primitives::Scaled;
using primitives::TOutPoint;

namespace {

using Ext = long double;
constexpr Ext kPi = 3.1415926535897932385L;

// Points of one ellipse, scaled for output. The tilt's cosine and sine are taken once; the
// turn itself is the same rounding as RotateX/RotateY about the origin.
class TEllipse {
public:
    TEllipse(double cx, double cy, double radius, double flatness, double tilt, double scale)
        : cx_(cx), cy_(cy), radius_(radius), flatness_(flatness), scale_(scale),
          cosTilt_(std::cos(static_cast<Ext>(tilt))), sinTilt_(std::sin(static_cast<Ext>(tilt)))
    {
    }

    TOutPoint At(double t) const
    {
        const Ext r = radius_;
        const double u = static_cast<double>(r * std::cos(static_cast<Ext>(t)));
        const double v = static_cast<double>(r * flatness_ * std::sin(static_cast<Ext>(t)));
        const double tu = static_cast<double>(cosTilt_ * u - sinTilt_ * v);
        const double tv = static_cast<double>(sinTilt_ * u + cosTilt_ * v);
        return Scaled(static_cast<double>(static_cast<Ext>(cx_) + tu), static_cast<double>(static_cast<Ext>(cy_) + tv),
                      scale_);
    }

private:
    double cx_, cy_, radius_, flatness_, scale_;
    Ext cosTilt_, sinTilt_;
};

// Walks parameters start, start + step, ... (the step added each time, N + 1 points) and hands
// every consecutive pair (k = 1 .. lastStep) to emit.
template <class Emit>
void WalkArc(int32_t n, int32_t lastStep, double start, double sweep, Emit&& emit)
{
    const Ext step = static_cast<Ext>(sweep) / n;
    double t = start;
    for (int32_t k = 0; k <= lastStep; ++k) {
        emit(k, t);
        t = static_cast<double>(t + step);
    }
}

// Walks the ellipse like WalkArc and hands every consecutive pair of its points to emit.
template <class Emit>
void WalkEllipse(const TEllipse& e, int32_t n, int32_t lastStep, double start, double sweep, Emit&& emit)
{
    TOutPoint prev;
    WalkArc(n, lastStep, start, sweep, [&](int32_t k, double t) {
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
    case 1:
        n = std::trunc(std::fabs(static_cast<Ext>(sweep) / options.ArcAngle) + 0.5L);
        least = options.ArcAngleMinDivisions;
        break;
    case 2:
        n = std::trunc(std::fabs(static_cast<Ext>(sweep) * radius / options.ArcLength) + 0.5L);
        least = options.ArcLengthMinDivisions;
        break;
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

void AddArcLines(TConversionContext& ctx, int32_t layer, int32_t color, double scale, double cx, double cy,
                 double radius, double flatness, double tilt, double start, double sweep)
{
    const int32_t n = ArcDivisionCount(ctx.Options, radius, sweep);
    const TEllipse e(cx, cy, radius, flatness, tilt, scale);
    WalkEllipse(e, n, n, start, sweep,
                [&](TOutPoint a, TOutPoint b) { EmitLine(ctx.Store, layer, color, a, b); });
}

void AddArcLinesDeg(TConversionContext& ctx, int32_t layer, int32_t color, double scale, double cx, double cy,
                    double radius, double flatness, double tiltDeg, double startDeg, double endDeg)
{
    double d = static_cast<double>(static_cast<Ext>(endDeg) - startDeg);
    if (!std::isfinite(d)) return;
    // Whole turns of a huge span are removed exactly first, so the folding below stays short.
    if (std::fabs(d) > 1e6) d = std::fmod(d, 360.0);
    while (d < 0) d = static_cast<double>(d + 360.0L);
    while (d > 360) d = static_cast<double>(d - 360.0L);

    double start, sweep;
    if (std::fabs(d) < 1e-12 || std::fabs(d - 360.0) < 1e-12) {
        start = 0;
        sweep = static_cast<double>(2 * kPi);
    } else {
        start = static_cast<double>(startDeg / 180.0L * kPi);
        sweep = static_cast<double>(d / 180.0L * kPi);
    }
    const double tilt = static_cast<double>(tiltDeg / 180.0L * kPi);
    AddArcLines(ctx, layer, color, scale, cx, cy, radius, flatness, tilt, start, sweep);
}

void AddSectorFan(TConversionContext& ctx, int32_t layer, int32_t color, double scale, double cx, double cy,
                  double radius, double flatness, double tilt, double start, double sweep)
{
    const int32_t n = ArcDivisionCount(ctx.Options, radius, sweep);
    const TEllipse e(cx, cy, radius, flatness, tilt, scale);
    const TOutPoint centre = Scaled(cx, cy, scale);
    WalkEllipse(e, n, n, start, sweep,
                [&](TOutPoint a, TOutPoint b) { EmitTriangle(ctx.Store, layer, color, centre, a, b); });
}

void AddSegmentFan(TConversionContext& ctx, int32_t layer, int32_t color, double scale, double cx, double cy,
                   double radius, double flatness, double tilt, double start, double sweep)
{
    const int32_t n = ArcDivisionCount(ctx.Options, radius, sweep);
    const TEllipse e(cx, cy, radius, flatness, tilt, scale);
    // The pivot is the arc's own end point; the last step would only repeat it, so it is left out.
    const TOutPoint pivot = e.At(static_cast<double>(static_cast<Ext>(start) + sweep));
    WalkEllipse(e, n, n - 1, start, sweep,
                [&](TOutPoint a, TOutPoint b) { EmitTriangle(ctx.Store, layer, color, pivot, a, b); });
}

void AddCornerFan(TConversionContext& ctx, int32_t layer, int32_t color, double scale, double cx, double cy,
                  double radius, double flatness, double tilt, double start, double sweep)
{
    const int32_t n = ArcDivisionCount(ctx.Options, radius, sweep);
    const TEllipse e(cx, cy, radius, flatness, tilt, scale);
    double sx, sy, ex, ey, kx, ky;
    ArcTangentCorner(cx, cy, radius, flatness, start, sweep, tilt, sx, sy, ex, ey, kx, ky);
    const TOutPoint corner = Scaled(kx, ky, scale);
    WalkEllipse(e, n, n, start, sweep,
                [&](TOutPoint a, TOutPoint b) { EmitTriangle(ctx.Store, layer, color, corner, a, b); });
}

void AddRingQuads(TConversionContext& ctx, int32_t layer, int32_t color, double scale, double cx, double cy,
                  double radius1, double flatness1, double radius2, double flatness2, double tilt, double start,
                  double sweep)
{
    const int32_t n = ArcDivisionCount(ctx.Options, radius1, sweep);
    const TEllipse outer(cx, cy, radius1, flatness1, tilt, scale);
    const TEllipse inner(cx, cy, radius2, flatness2, tilt, scale);
    TOutPoint prevA, prevB;
    WalkArc(n, n, start, sweep, [&](int32_t k, double t) {
        const TOutPoint a = outer.At(t);
        const TOutPoint b = inner.At(t);
        if (k > 0) EmitQuad(ctx.Store, layer, color, prevA, prevB, b, a);
        prevA = a;
        prevB = b;
    });
}
