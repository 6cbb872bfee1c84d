#include "geometry/UnitGval.h"

#include <cmath>

#include "util/DrawingFacts.h"

namespace {

using Ext = long double;

using jw::kPi;
constexpr Ext kTwoPi = 2.0L * kPi;
constexpr Ext kHalfPi = kPi / 2.0L;

constexpr double kAngleZero = 1e-14;        // shorter vectors have no direction
constexpr Ext kDifferenceUnit = 1e-12L;     // resolution of the intersection tests
constexpr double kUniformTolerance = 1e-14;  // diagonal-only map with equal magnitudes
// A mapped second semi-axis below this share of the first is a flattened curve: a zero
// scale or a zero source flatness. Such an arc has no usable parameters left.
constexpr double kLeastFlatness = 1e-12;

struct TPoint {
    double x = 0, y = 0;
};

// Rounds a difference to the intersection resolution; zero means "counts as no difference".
// The integer part is taken toward zero.
Ext Quantize(Ext v)
{
    return std::trunc(v / kDifferenceUnit + 0.5L) * kDifferenceUnit;
}

TPoint Map(const TBlockTransform& t, double x, double y)
{
    return {static_cast<double>(static_cast<Ext>(t.m00) * x + t.originX + static_cast<Ext>(t.m01) * y),
            static_cast<double>(static_cast<Ext>(t.m10) * x + t.originY + static_cast<Ext>(t.m11) * y)};
}

TPoint Map(const TBlockTransform& t, const TPoint& p) { return Map(t, p.x, p.y); }

// Z + R(u, v): a vector of the ellipse's own frame turned by tilt and placed at the centre.
TPoint Place(double cx, double cy, double u, double v, double tilt)
{
    return {static_cast<double>(static_cast<Ext>(cx) + RotateX(u, v, 0, 0, tilt)),
            static_cast<double>(static_cast<Ext>(cy) + RotateY(u, v, 0, 0, tilt))};
}

bool IsFinite(double v)
{
    return std::isfinite(v);
}

}  // namespace

void SwapReal(double& a, double& b)
{
    double k = a;
    a = b;
    b = k;
}

double RotateX(double x, double y, double cx, double cy, double angle)
{
    Ext a = angle;
    return static_cast<double>(cx + std::cos(a) * (static_cast<Ext>(x) - cx) - std::sin(a) * (static_cast<Ext>(y) - cy));
}

double RotateY(double x, double y, double cx, double cy, double angle)
{
    Ext a = angle;
    return static_cast<double>(cy + std::sin(a) * (static_cast<Ext>(x) - cx) + std::cos(a) * (static_cast<Ext>(y) - cy));
}

double VectorAngle(double dx, double dy)
{
    if (std::fabs(dx) < kAngleZero && std::fabs(dy) < kAngleZero) return 0;
    double a = static_cast<double>(std::atan2(static_cast<Ext>(dy), static_cast<Ext>(dx)));
    if (a < 0) a = static_cast<double>(a + kTwoPi);
    return a;
}

double PointDistance(double x1, double y1, double x2, double y2)
{
    Ext dx = static_cast<Ext>(x1) - x2;
    Ext dy = static_cast<Ext>(y1) - y2;
    return static_cast<double>(std::sqrt(dx * dx + dy * dy));
}

int32_t SegmentIntersection(double x1, double y1, double x2, double y2, double x3, double y3, double x4,
                            double y4, double& X, double& Y)
{
    const bool aVertical = Quantize(static_cast<Ext>(x1) - x2) == 0;
    const bool bVertical = Quantize(static_cast<Ext>(x3) - x4) == 0;
    double px, py;
    if (aVertical && bVertical) return 0;
    if (aVertical) {
        double mB = static_cast<double>((static_cast<Ext>(y4) - y3) / (static_cast<Ext>(x4) - x3));
        px = x1;
        py = static_cast<double>((static_cast<Ext>(x1) - x3) * mB + y3);
    } else if (bVertical) {
        double mA = static_cast<double>((static_cast<Ext>(y2) - y1) / (static_cast<Ext>(x2) - x1));
        px = x3;
        py = static_cast<double>((static_cast<Ext>(x3) - x1) * mA + y1);
    } else {
        double mA = static_cast<double>((static_cast<Ext>(y2) - y1) / (static_cast<Ext>(x2) - x1));
        double cA = static_cast<double>(y1 - static_cast<Ext>(mA) * x1);
        double mB = static_cast<double>((static_cast<Ext>(y4) - y3) / (static_cast<Ext>(x4) - x3));
        double cB = static_cast<double>(y3 - static_cast<Ext>(mB) * x3);
        if (Quantize(static_cast<Ext>(mA) - mB) == 0) return 0;
        px = static_cast<double>((static_cast<Ext>(cB) - cA) / (static_cast<Ext>(mA) - mB));
        py = static_cast<double>(static_cast<Ext>(mA) * px + cA);
    }
    X = px;
    Y = py;

    auto within = [](double v, double a, double b) {
        Ext lo = static_cast<Ext>(std::fmin(a, b)) - kDifferenceUnit;
        Ext hi = static_cast<Ext>(std::fmax(a, b)) + kDifferenceUnit;
        return v >= lo && v <= hi;
    };
    if (!within(px, x1, x2)) return 2;
    if (!within(py, y1, y2)) return 2;
    if (!within(px, x3, x4)) return 2;
    if (!within(py, y3, y4)) return 2;
    return 1;
}

void ArcTangentCorner(double cx, double cy, double radius, double flatness, double start, double sweep,
                      double tilt, double& startX, double& startY, double& endX, double& endY,
                      double& cornerX, double& cornerY)
{
    const Ext r = radius;
    const Ext rb = r * flatness;
    const double end = static_cast<double>(static_cast<Ext>(start) + sweep);

    // Untilted points of both ends, and a second point on each end's tangent line.
    const TPoint s{static_cast<double>(r * std::cos(static_cast<Ext>(start))),
                   static_cast<double>(rb * std::sin(static_cast<Ext>(start)))};
    const TPoint e{static_cast<double>(r * std::cos(static_cast<Ext>(end))),
                   static_cast<double>(rb * std::sin(static_cast<Ext>(end)))};
    const TPoint s2{static_cast<double>(s.x + r * std::cos(start + kHalfPi)),
                    static_cast<double>(s.y + rb * std::sin(start + kHalfPi))};
    const TPoint e2{static_cast<double>(e.x + r * std::cos(end - kHalfPi)),
                    static_cast<double>(e.y + rb * std::sin(end - kHalfPi))};

    // Parallel tangents (half a turn) have no corner; the centre stands in for it.
    double kx = 0, ky = 0;
    if (SegmentIntersection(s.x, s.y, s2.x, s2.y, e.x, e.y, e2.x, e2.y, kx, ky) == 0) {
        kx = 0;
        ky = 0;
    }

    const TPoint ws = Place(cx, cy, s.x, s.y, tilt);
    const TPoint we = Place(cx, cy, e.x, e.y, tilt);
    const TPoint wk = Place(cx, cy, kx, ky, tilt);
    startX = ws.x;
    startY = ws.y;
    endX = we.x;
    endY = we.y;
    cornerX = wk.x;
    cornerY = wk.y;
}

void TransformSegment(double x1, double y1, double x2, double y2, double& outX1, double& outY1,
                      double& outX2, double& outY2, const TBlockTransform& t)
{
    const TPoint a = Map(t, x1, y1);
    const TPoint b = Map(t, x2, y2);
    outX1 = a.x;
    outY1 = a.y;
    outX2 = b.x;
    outY2 = b.y;
}

void TransformPointEntity(double x, double y, double& outX, double& outY, const TBlockTransform& t)
{
    const TPoint p = Map(t, x, y);
    outX = p.x;
    outY = p.y;
}

namespace {

// The source ellipse's point for parameter t: E(t) = Z + R(radius cos t, radius flatness sin t).
TPoint SourcePoint(const TEllipticArc& arc, double t)
{
    const Ext r = arc.radius;
    const double u = static_cast<double>(r * std::cos(static_cast<Ext>(t)));
    const double v = static_cast<double>(r * arc.flatness * std::sin(static_cast<Ext>(t)));
    return Place(arc.x, arc.y, u, v, arc.tilt);
}

// Parameter of the source point that maps farthest from the mapped centre: a coarse scan of
// half a turn in tenths, then fifteen passes each ten times finer around the best so far.
double FarthestParameter(const TEllipticArc& arc, const TBlockTransform& tr, const TPoint& centre)
{
    double t = 0, step = 1, best = 0, bestT = 0;
    for (int pass = 0; pass < 16; ++pass) {
        const int samples = pass == 0 ? 11 : 21;
        for (int i = 0; i < samples; ++i) {
            const TPoint m = Map(tr, SourcePoint(arc, t));
            const double d = PointDistance(m.x, m.y, centre.x, centre.y);
            if (d > best) {
                best = d;
                bestT = t;
            }
            t = static_cast<double>(t + step * kPi / 10.0L);
        }
        t = static_cast<double>(bestT - step * kPi / 10.0L);
        step = static_cast<double>(step / 10.0L);
    }
    return bestT;
}

// Start and sweep of the mapped arc `out` (centre, tilt and flatness already set): the new
// parameters of the source arc's ends, ordered so the arc runs counter-clockwise.
void MapParameters(const TEllipticArc& arc, const TBlockTransform& t, const TPoint& centre, TEllipticArc& out)
{
    // The new parameter of a source parameter: its mapped point in the new ellipse's frame,
    // with the second axis stretched back to a circle.
    auto parameterOf = [&](double src) {
        const TPoint m = Map(t, SourcePoint(arc, src));
        const double dx = static_cast<double>(static_cast<Ext>(m.x) - centre.x);
        const double dy = static_cast<double>(static_cast<Ext>(m.y) - centre.y);
        const double u = RotateX(dx, dy, 0, 0, -out.tilt);
        const double v = RotateY(dx, dy, 0, 0, -out.tilt);
        return VectorAngle(u, static_cast<double>(static_cast<Ext>(v) / out.flatness));
    };
    const double start = arc.start, sweep = arc.sweep;
    const Ext first = sweep >= 0 ? static_cast<Ext>(start) : static_cast<Ext>(start) + sweep;
    const Ext last = sweep >= 0 ? static_cast<Ext>(start) + sweep : static_cast<Ext>(start);
    double s = parameterOf(static_cast<double>(first));
    double e = parameterOf(static_cast<double>(last));
    const double m = parameterOf(static_cast<double>(start + static_cast<Ext>(sweep) / 2));
    double d1 = static_cast<double>(static_cast<Ext>(e) - s);
    if (d1 < 0) d1 = static_cast<double>(d1 + kTwoPi);
    double dm = static_cast<double>(static_cast<Ext>(m) - s);
    if (dm < 0) dm = static_cast<double>(dm + kTwoPi);
    // A mirroring map reverses the direction of travel: the middle is no longer between.
    if (d1 < dm) SwapReal(s, e);
    out.start = s;
    out.sweep = static_cast<double>(static_cast<Ext>(e) - s);
    if (out.sweep < 0) out.sweep = static_cast<double>(out.sweep + kTwoPi);
}

}  // namespace

bool KeepsAxes(const TBlockTransform& t)
{
    return std::fabs(std::fabs(t.m00) - std::fabs(t.m11)) <= kUniformTolerance && std::fabs(t.m01) <= kUniformTolerance &&
           std::fabs(t.m10) <= kUniformTolerance;
}

std::optional<TEllipticArc> TransformArc(const TEllipticArc& arc, bool whole, const TBlockTransform& t)
{
    // A zero radius or a map to a single point gives a mapped radius of 0: dropped before the
    // search for the new first axis, which is the costly part.
    if (!(arc.radius != 0) || (t.m00 == 0 && t.m01 == 0 && t.m10 == 0 && t.m11 == 0)) return std::nullopt;
    const TPoint centre = Map(t, arc.x, arc.y);
    const double b = static_cast<double>(static_cast<Ext>(arc.radius) * arc.flatness);

    TPoint P, K;
    if (KeepsAxes(t)) {
        P = Map(t, Place(arc.x, arc.y, arc.radius, 0, arc.tilt));
        K = Map(t, Place(arc.x, arc.y, 0, b, arc.tilt));
    } else {
        const double T = FarthestParameter(arc, t, centre);
        const double ku = static_cast<double>(arc.radius * std::cos(T + kHalfPi));
        const double kv = static_cast<double>(b * std::sin(T + kHalfPi));
        P = Map(t, SourcePoint(arc, T));
        K = Map(t, Place(arc.x, arc.y, ku, kv, arc.tilt));
    }

    TEllipticArc out = arc;
    out.x = centre.x;
    out.y = centre.y;
    out.radius = PointDistance(P.x, P.y, centre.x, centre.y);
    out.tilt = VectorAngle(static_cast<double>(static_cast<Ext>(P.x) - centre.x),
                           static_cast<double>(static_cast<Ext>(P.y) - centre.y));
    const double kx = static_cast<double>(static_cast<Ext>(K.x) - centre.x);
    const double ky = static_cast<double>(static_cast<Ext>(K.y) - centre.y);
    const double ku = RotateX(kx, ky, 0, 0, -out.tilt);
    const double kv = RotateY(kx, ky, 0, 0, -out.tilt);

    // A zero scale or a zero radius collapses the curve: nothing sound can be drawn from it.
    if (!IsFinite(out.radius) || !(out.radius > 0)) return std::nullopt;
    const Ext across =
        std::sqrt(std::fabs(static_cast<Ext>(out.radius) * out.radius - static_cast<Ext>(ku) * ku));
    if (!(across > 0)) return std::nullopt;
    out.flatness = static_cast<double>(std::fabs(static_cast<Ext>(kv)) / across);
    if (!IsFinite(out.flatness) || !(out.flatness > kLeastFlatness)) return std::nullopt;

    if (!whole) MapParameters(arc, t, centre, out);
    if (!IsFinite(out.x) || !IsFinite(out.y) || !IsFinite(out.tilt) || !IsFinite(out.start) ||
        !IsFinite(out.sweep))
        return std::nullopt;
    return out;
}
