#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "geometry/UnitGval.h"

namespace {

const double kPi = 3.14159265358979323846;
const double kTol = 1e-12;

using TArc = TEllipticArc;

// Maps the arc into `out`, which stays untouched when the mapping fails.
bool Map(const TBlockTransform& t, bool whole, double cx, double cy, double radius, double flatness, double start,
         double sweep, double tilt, TArc& out)
{
    const std::optional<TEllipticArc> mapped = TransformArc({cx, cy, radius, flatness, tilt, start, sweep}, whole, t);
    if (mapped) out = *mapped;
    return mapped.has_value();
}

TBlockTransform Matrix(double m00, double m01, double m10, double m11, double ox = 0, double oy = 0)
{
    TBlockTransform t;
    t.originX = ox;
    t.originY = oy;
    t.m00 = m00;
    t.m01 = m01;
    t.m10 = m10;
    t.m11 = m11;
    return t;
}

// The mapped ellipse's point for parameter a, to compare curves rather than parameters.
void PointOf(const TArc& a, double param, double& x, double& y)
{
    double u = a.radius * std::cos(param), v = a.radius * a.flatness * std::sin(param);
    x = a.x + u * std::cos(a.tilt) - v * std::sin(a.tilt);
    y = a.y + u * std::sin(a.tilt) + v * std::cos(a.tilt);
}

}  // namespace

TEST(VectorAngle, CoversTheFullTurnAndTreatsTinyVectorsAsZero)
{
    EXPECT_EQ(VectorAngle(0, 0), 0.0);
    EXPECT_NEAR(VectorAngle(-1, 0), kPi, kTol);
    EXPECT_NEAR(VectorAngle(0, -1), 1.5 * kPi, kTol);
    EXPECT_NEAR(VectorAngle(1, 1), kPi / 4, kTol);
    EXPECT_EQ(VectorAngle(1e-15, -1e-15), 0.0);
    double a = VectorAngle(1, -1e-300);
    EXPECT_GE(a, 0.0);
    EXPECT_LE(a, 2 * kPi);
}

TEST(SegmentIntersection, ReportsMeetingOnBothSegmentsOrElsewhere)
{
    double X = -7, Y = -7;
    EXPECT_EQ(SegmentIntersection(0, 0, 2, 2, 0, 2, 2, 0, X, Y), 1);
    EXPECT_NEAR(X, 1, kTol);
    EXPECT_NEAR(Y, 1, kTol);
    EXPECT_EQ(SegmentIntersection(0, 0, 1, 1, 3, 0, 3, 5, X, Y), 2);
    EXPECT_NEAR(X, 3, kTol);
    EXPECT_NEAR(Y, 3, kTol);
    // Meeting just past an end by less than the resolution still counts as on the segment.
    EXPECT_EQ(SegmentIntersection(0, 0, 1, 0, 1 + 0.5e-12, -1, 1 + 0.5e-12, 1, X, Y), 1);
}

TEST(SegmentIntersection, ParallelLinesLeaveTheOutputsUntouched)
{
    double X = -7, Y = -9;
    EXPECT_EQ(SegmentIntersection(0, 0, 1, 1, 0, 1, 1, 2, X, Y), 0);
    EXPECT_EQ(SegmentIntersection(0, 0, 0, 1, 2, 0, 2, 5, X, Y), 0);
    EXPECT_EQ(X, -7);
    EXPECT_EQ(Y, -9);
}

TEST(SegmentIntersection, TinyXDifferencesCountAsVerticalByRoundingToTheResolution)
{
    double X = 0, Y = 0;
    // Segment A nearly vertical against a horizontal B: the vertical branch takes X = x1.
    EXPECT_EQ(SegmentIntersection(5, -1, 5 - 0.4e-12, 1, 0, 0, 10, 0, X, Y), 1);
    EXPECT_EQ(X, 5);
    EXPECT_EQ(SegmentIntersection(5, -1, 5 + 1.4e-12, 1, 0, 0, 10, 0, X, Y), 1);
    EXPECT_EQ(X, 5);
    // 0.6e-12 rounds up to one unit: not vertical, so the slope form is used and X moves off x1.
    EXPECT_NE(SegmentIntersection(5, -1, 5 - 0.6e-12, 1, 0, 0, 10, 0, X, Y), 0);
    EXPECT_NE(X, 5);
    EXPECT_NEAR(X, 5, 1e-11);
}

TEST(ArcTangentCorner, QuarterCircleCornerAndHalfTurnCentre)
{
    double sx, sy, ex, ey, kx, ky;
    ArcTangentCorner(0, 0, 1, 1, 0, kPi / 2, 0, sx, sy, ex, ey, kx, ky);
    EXPECT_NEAR(sx, 1, kTol);
    EXPECT_NEAR(sy, 0, kTol);
    EXPECT_NEAR(ex, 0, kTol);
    EXPECT_NEAR(ey, 1, kTol);
    EXPECT_NEAR(kx, 1, kTol);
    EXPECT_NEAR(ky, 1, kTol);

    ArcTangentCorner(3, 4, 1, 1, 0, kPi, 0, sx, sy, ex, ey, kx, ky);
    EXPECT_NEAR(kx, 3, kTol);
    EXPECT_NEAR(ky, 4, kTol);
}

TEST(ArcTangentCorner, CornerFollowsTiltAndCentre)
{
    double sx, sy, ex, ey, kx, ky;
    // The quarter arc turned by a quarter: corner (1, 1) becomes (-1, 1), then moved by (10, 20).
    ArcTangentCorner(10, 20, 1, 1, 0, kPi / 2, kPi / 2, sx, sy, ex, ey, kx, ky);
    EXPECT_NEAR(sx, 10, kTol);
    EXPECT_NEAR(sy, 21, kTol);
    EXPECT_NEAR(kx, 9, kTol);
    EXPECT_NEAR(ky, 21, kTol);
}

TEST(TransformPoints, ApplyOriginAndMatrix)
{
    TBlockTransform t = Matrix(0, -1, 1, 0, 5, 6);  // quarter turn, then moved
    double x, y;
    TransformPointEntity(2, 3, x, y, t);
    EXPECT_NEAR(x, 2, kTol);
    EXPECT_NEAR(y, 8, kTol);
    double x1, y1, x2, y2;
    TransformSegment(0, 0, 1, 0, x1, y1, x2, y2, t);
    EXPECT_NEAR(x1, 5, kTol);
    EXPECT_NEAR(y1, 6, kTol);
    EXPECT_NEAR(x2, 5, kTol);
    EXPECT_NEAR(y2, 7, kTol);
}

TEST(TransformArc, TranslationKeepsTheArcShape)
{
    TArc a;
    ASSERT_TRUE(Map(Matrix(1, 0, 0, 1, 7, -3), 0, 1, 2, 4, 0.5, 0.3, 1.2, 0.25, a));
    EXPECT_NEAR(a.x, 8, kTol);
    EXPECT_NEAR(a.y, -1, kTol);
    EXPECT_NEAR(a.radius, 4, kTol);
    EXPECT_NEAR(a.flatness, 0.5, kTol);
    EXPECT_NEAR(a.tilt, 0.25, kTol);
    EXPECT_NEAR(a.start, 0.3, kTol);
    EXPECT_NEAR(a.sweep, 1.2, kTol);
}

TEST(TransformArc, UnequalScaleTurnsACircleIntoAnEllipse)
{
    TArc a;
    ASSERT_TRUE(Map(Matrix(3, 0, 0, 1), 1, 0, 0, 2, 1, 0.5, 2 * kPi, 0, a));
    EXPECT_NEAR(a.radius, 6, kTol);
    EXPECT_NEAR(a.tilt, 0, kTol);
    EXPECT_NEAR(a.flatness, 1.0 / 3.0, kTol);
    EXPECT_EQ(a.start, 0.5);
    EXPECT_EQ(a.sweep, 2 * kPi);
}

TEST(TransformArc, MirrorReversesTravelSoTheArcStillRunsCounterClockwise)
{
    TArc a;
    ASSERT_TRUE(Map(Matrix(-1, 0, 0, 1), 0, 0, 0, 1, 1, 0, kPi / 2, 0, a));
    EXPECT_NEAR(a.radius, 1, kTol);
    EXPECT_NEAR(a.flatness, 1, kTol);
    EXPECT_NEAR(a.tilt, kPi, kTol);
    EXPECT_NEAR(a.start, 1.5 * kPi, kTol);
    EXPECT_NEAR(a.sweep, kPi / 2, kTol);
    double x, y;
    PointOf(a, a.start, x, y);
    EXPECT_NEAR(x, 0, kTol);
    EXPECT_NEAR(y, 1, kTol);
    PointOf(a, a.start + a.sweep, x, y);
    EXPECT_NEAR(x, -1, kTol);
    EXPECT_NEAR(y, 0, kTol);
}

TEST(TransformArc, MirroredPlacementOfATiltedEllipseIsExact)
{
    // A mirror with equal scales maps the first axis onto the first axis, so the result is exact
    // and needs no search (which is only good to about 1e-8 rad): the tilt mirrors, the
    // parameters run backwards, and the arc keeps its span.
    struct TCase {
        TBlockTransform t;
        double x, y, radius, tilt;
    } cases[] = {
        {Matrix(-1, 0, 0, 1, 3, 2), 2, 4, 4, kPi - 0.6},   // mirrored across the y axis
        {Matrix(2, 0, 0, -2), 2, -4, 8, 2 * kPi - 0.6},    // across the x axis, twice the size
    };
    for (const TCase& c : cases) {
        TArc a;
        ASSERT_TRUE(Map(c.t, false, 1, 2, 4, 0.5, 0.3, 1.2, 0.6, a));
        EXPECT_NEAR(a.x, c.x, 1e-9);
        EXPECT_NEAR(a.y, c.y, 1e-9);
        EXPECT_NEAR(a.radius, c.radius, 1e-9);
        EXPECT_NEAR(a.flatness, 0.5, 1e-9);
        EXPECT_NEAR(a.tilt, c.tilt, 1e-9);
        EXPECT_NEAR(a.start, 2 * kPi - 1.5, 1e-9);
        EXPECT_NEAR(a.sweep, 1.2, 1e-9);
    }
}

TEST(TransformArc, UniformScaleAndOrigin)
{
    TArc a;
    ASSERT_TRUE(Map(Matrix(2, 0, 0, 2, 5, 5), 0, 0, 0, 1, 1, 0, kPi / 2, 0, a));
    EXPECT_NEAR(a.x, 5, kTol);
    EXPECT_NEAR(a.y, 5, kTol);
    EXPECT_NEAR(a.radius, 2, kTol);
    EXPECT_NEAR(a.tilt, 0, kTol);
    EXPECT_NEAR(a.start, 0, kTol);
    EXPECT_NEAR(a.sweep, kPi / 2, kTol);
}

TEST(TransformArc, RotationTakesTheSearchPathAndKeepsTheArc)
{
    TArc a;
    ASSERT_TRUE(Map(Matrix(0, -1, 1, 0), 0, 0, 0, 1, 1, 0, kPi / 2, 0, a));
    EXPECT_NEAR(a.radius, 1, kTol);
    EXPECT_NEAR(a.flatness, 1, kTol);
    EXPECT_NEAR(a.tilt, kPi / 2, kTol);
    EXPECT_NEAR(a.start, 0, kTol);
    EXPECT_NEAR(a.sweep, kPi / 2, kTol);
}

TEST(TransformArc, ShearedMapsPutTheArcBetweenTheMappedEndsCounterClockwise)
{
    // A positive determinant keeps the sense of travel; a negative one swaps the ends.
    // The axis search finds the flat top of the distance to about 1e-8 in the parameter,
    // which bounds the agreement.
    struct TCase {
        TBlockTransform t;
        double cx, cy, r, f, start, sweep, tilt;
        bool swapped;
    } cases[] = {
        {Matrix(1.5, 0.4, -0.3, 0.8, 2, 1), 1, -1, 3, 0.6, 0.4, -2.1, 0.7, false},
        {Matrix(-1.5, 0.4, 0.3, 0.8), 0, 0, 2, 1, 0.2, 1.0, 0, true},
    };
    for (const TCase& c : cases) {
        TArc a;
        ASSERT_TRUE(Map(c.t, 0, c.cx, c.cy, c.r, c.f, c.start, c.sweep, c.tilt, a));
        auto source = [&](double p, double& x, double& y) {
            double u = c.r * std::cos(p), v = c.r * c.f * std::sin(p);
            TransformPointEntity(c.cx + u * std::cos(c.tilt) - v * std::sin(c.tilt),
                                 c.cy + u * std::sin(c.tilt) + v * std::cos(c.tilt), x, y, c.t);
        };
        double lo = std::fmin(c.start, c.start + c.sweep), hi = std::fmax(c.start, c.start + c.sweep);
        double ax, ay, bx, by, px, py, qx, qy;
        source(c.swapped ? hi : lo, ax, ay);
        source(c.swapped ? lo : hi, bx, by);
        PointOf(a, a.start, px, py);
        PointOf(a, a.start + a.sweep, qx, qy);
        EXPECT_NEAR(px, ax, 1e-7);
        EXPECT_NEAR(py, ay, 1e-7);
        EXPECT_NEAR(qx, bx, 1e-7);
        EXPECT_NEAR(qy, by, 1e-7);
        EXPECT_GE(a.sweep, 0);
        EXPECT_LT(a.sweep, 2 * kPi);
    }
}

TEST(TransformArc, RobustRefusesDegenerateMapsAndSourcesWithoutTouchingOutputs)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    TArc a;
    a.x = 42;
    EXPECT_FALSE(Map(Matrix(0, 0, 0, 0), 0, 1, 1, 2, 1, 0, 1, 0, a));        // zero scale
    EXPECT_FALSE(Map(Matrix(0, 0, 0, 1), 0, 1, 1, 2, 1, 0, 1, 0, a));        // one axis collapsed
    EXPECT_FALSE(Map(Matrix(1, 2, 2, 4), 1, 1, 1, 2, 1, 0, 1, 0, a));        // singular, sheared
    EXPECT_FALSE(Map(Matrix(1, 0, 0, 1), 0, 1, 1, 0, 1, 0, 1, 0, a));        // zero radius
    EXPECT_FALSE(Map(Matrix(2, 0, 0, 1), 0, 1, 1, 2, 0, 0, 1, 0, a));        // zero flatness
    EXPECT_FALSE(Map(Matrix(1, 0, 0, 1), 0, nan, 1, 2, 1, 0, 1, 0, a));
    EXPECT_FALSE(Map(Matrix(1, 0, 0, 1), 0, 1, 1, 2, 1, 0, nan, 0, a));
    EXPECT_FALSE(Map(Matrix(1, 0, 0, 1), 1, 1, 1, 2, 1, inf, 1, 0, a));
    EXPECT_FALSE(Map(Matrix(inf, 0, 0, 1), 0, 1, 1, 2, 1, 0, 1, 0, a));
    EXPECT_FALSE(Map(Matrix(1e300, 0, 0, 1e300), 0, 1e300, 1, 2, 1, 0, 1, 0, a));  // overflow
    EXPECT_EQ(a.x, 42);
}
