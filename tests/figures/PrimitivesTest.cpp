#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>
#include <thread>
#include <vector>

#include "figures/Primitives.h"

namespace {

const double kPi = 3.14159265358979323846;
const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();

TConversionOptions ByCount(int32_t n)
{
    TConversionOptions o;
    o.ArcMode = TArcMode::ByCount;
    o.ArcDivisions = n;
    return o;
}

// Arcs broken by angle (degrees) or by length (paper mm), with a least count.
TConversionOptions PerSegment(TArcMode mode, double size, int32_t least)
{
    TConversionOptions o;
    o.ArcMode = mode;
    const bool angle = mode == TArcMode::ByAngle;
    (angle ? o.ArcAngleDegrees : o.ArcLength) = size;
    (angle ? o.ArcAngleMinDivisions : o.ArcLengthMinDivisions) = least;
    return o;
}

TConversionOptions ByAngle(double degrees, int32_t least) { return PerSegment(TArcMode::ByAngle, degrees, least); }
TConversionOptions ByLength(double length, int32_t least) { return PerSegment(TArcMode::ByLength, length, least); }

// Area of the shoelace polygon of a Figure's corners (positive when counter-clockwise).
double SignedArea(const TFigure& f)
{
    int n = f.Kind == fkQuad ? 4 : 3;
    double a = 0;
    for (int i = 0; i < n; ++i) {
        const TFigPoint& p = f.Points[i];
        const TFigPoint& q = f.Points[(i + 1) % n];
        a += p.x * q.y - q.x * p.y;
    }
    return a / 2;
}

double TotalArea(const TFigureStore& s)
{
    double a = 0;
    for (int i = 0; i < s.FigureCount; ++i) a += SignedArea(s.Figures[i]);
    return a;
}

// Area of the polygon inscribed in a circular sector of n equal steps.
double SectorPolygonArea(double r, double sweep, int n)
{
    return 0.5 * r * r * n * std::sin(sweep / n);
}

// An older drawing's arc, drawn the way its walker draws it.
void AddArcLinesDeg(TConversionContext& ctx, double cx, double cy, double radius, double flatness, double tilt,
                    double from, double to)
{
    if (const auto arc = ArcFromDegrees(cx, cy, radius, flatness, tilt, from, to)) AddArcLines(ctx, {0, 1}, 1, *arc);
}

}  // namespace

TEST(ArcDivisionCount, FollowsTheModeFormulas)
{
    EXPECT_EQ(ArcDivisionCount(ByCount(12), 5, 0.1), 12);
    EXPECT_EQ(ArcDivisionCount(ByAngle(10, 4), 5, 2 * kPi), 36);
    EXPECT_EQ(ArcDivisionCount(ByAngle(10, 4), 5, -2 * kPi), 36);  // the sweep's sign does not matter
    EXPECT_EQ(ArcDivisionCount(ByAngle(10, 4), 5, kPi / 180), 4);   // raised to the least count
    EXPECT_EQ(ArcDivisionCount(ByAngle(10, 4), 5, 0.0), 4);
    EXPECT_EQ(ArcDivisionCount(ByLength(10, 4), 100, 2 * kPi), 63);  // 62.83 rounds to 63
    EXPECT_EQ(ArcDivisionCount(ByLength(10, 4), 100, kPi), 31);      // 31.42
    EXPECT_EQ(ArcDivisionCount(ByLength(10, 6), 1, kPi), 6);
}

TEST(ArcDivisionCount, RobustAgainstAbsurdAndNotANumberCounts)
{
    EXPECT_EQ(ArcDivisionCount(ByLength(10, 4), 1e12, 2 * kPi), kMaxArcDivisions);
    EXPECT_EQ(ArcDivisionCount(ByLength(0.001, 4), 1e300, 1e300), kMaxArcDivisions);  // overflows to infinity
    EXPECT_EQ(ArcDivisionCount(ByAngle(0.1, 4), 1, 1e300), kMaxArcDivisions);
    EXPECT_EQ(ArcDivisionCount(ByAngle(10, 4), 1, kInf), kMaxArcDivisions);
    EXPECT_EQ(ArcDivisionCount(ByAngle(10, 7), 1, kNaN), 7);
    EXPECT_EQ(ArcDivisionCount(ByLength(10, 9), kNaN, kPi), 9);
    EXPECT_EQ(ArcDivisionCount(ByLength(10, 9), kInf, 0), 9);  // infinity times zero
    // Options that were never clamped still give a usable count.
    EXPECT_EQ(ArcDivisionCount(ByCount(0), 1, 1), kMinArcDivisions);
    EXPECT_EQ(ArcDivisionCount(ByCount(1000000), 1, 1), kMaxArcDivisions);
    EXPECT_EQ(ArcDivisionCount(ByAngle(10, 0), 1, 0.01), kMinArcDivisions);
}

TEST(AddArcLines, FullCircleIsAClosedChainOfNSegments)
{
    TConversionContext ctx;
    ctx.Options = ByCount(12);
    AddArcLines(ctx, {3, 5}, 10, {1, 2, 4, 1, 0, 0, 2 * kPi});
    const TFigureStore& s = ctx.Store;
    ASSERT_EQ(s.FigureCount, 12);
    for (int i = 0; i < 12; ++i) {
        const TFigure& f = s.Figures[i];
        EXPECT_EQ(f.Kind, fkLine);
        EXPECT_EQ(f.Layer, 3);
        EXPECT_EQ(f.Color, 5);
        if (i > 0) {
            EXPECT_EQ(f.Points[0].x, s.Figures[i - 1].Points[1].x);
            EXPECT_EQ(f.Points[0].y, s.Figures[i - 1].Points[1].y);
        }
    }
    EXPECT_DOUBLE_EQ(s.Figures[0].Points[0].x, 50);  // (1 + 4) * 10
    EXPECT_DOUBLE_EQ(s.Figures[0].Points[0].y, 20);
    EXPECT_NEAR(s.Figures[11].Points[1].x, 50, 1e-12);
    EXPECT_NEAR(s.Figures[11].Points[1].y, 20, 1e-12);
    EXPECT_NEAR(s.Figures[3].Points[0].x, 10, 1e-12);  // a quarter turn on: (1, 2 + 4) * 10
    EXPECT_NEAR(s.Figures[3].Points[0].y, 60, 1e-12);
}

// A walk seen before takes its cosines and sines from the thread's tables: its points are
// the first walk's, bit for bit (a new thread starts without tables), whole ellipses, tilted
// and flat ones, negative sweeps, -0, parameters past the quick reduction, and counts on
// either side of the largest tabled one.
TEST(AppendArcPoints, RepeatedWalksGiveTheFirstWalksPoints)
{
    const struct {
        TEllipticArc arc;
        int32_t n;
    } cases[] = {
        {{1, 2, 4, 1, 0, 0, 2 * kPi}, 12},          {{-3, 5, 0.7, 0.5, kPi / 6, 0, 2 * kPi}, 12},
        {{1e6, -2e6, 35.5, 1, 0, 1.25, -2.5}, 7},   {{0, 0, 1e-9, 3, 2, -0.0, 1.5}, 3},
        {{5, 5, 2, 0.25, -1, 3e6, 4}, 24},          {{0, 0, 10, 0.7, 0, 0.5, 6}, 1024},
        {{0, 0, 10, 0.3, 0, 0.5, 6}, 1025},
    };
    for (const auto& c : cases) {
        const TConversionOptions options = ByCount(c.n);
        const auto walk = [&] {
            std::vector<primitives::TOutPoint> points;
            AppendArcPoints(options, 3, c.arc, points);
            return points;
        };
        std::vector<primitives::TOutPoint> first;
        std::vector<std::vector<primitives::TOutPoint>> repeated;
        std::thread([&] { first = walk(); }).join();
        std::thread([&] { for (int i = 0; i < 3; ++i) repeated.push_back(walk()); }).join();
        ASSERT_EQ(first.size(), static_cast<size_t>(std::min(c.n, kMaxArcDivisions) + 1));
        for (const auto& points : repeated) {
            ASSERT_EQ(points.size(), first.size());
            for (size_t k = 0; k < first.size(); ++k) {
                EXPECT_EQ(std::bit_cast<uint64_t>(points[k].x), std::bit_cast<uint64_t>(first[k].x)) << c.n << " " << k;
                EXPECT_EQ(std::bit_cast<uint64_t>(points[k].y), std::bit_cast<uint64_t>(first[k].y)) << c.n << " " << k;
            }
        }
    }
}

TEST(AddArcLines, TiltedFlatEllipseHasItsLongAxisAlongY)
{
    TConversionContext ctx;
    ctx.Options = ByCount(4);
    AddArcLines(ctx, {0, 1}, 1, {0, 0, 2, 0.5, kPi / 2, 0, 2 * kPi});
    const TFigureStore& s = ctx.Store;
    ASSERT_EQ(s.FigureCount, 4);
    EXPECT_NEAR(s.Figures[0].Points[0].x, 0, 1e-12);  // parameter 0: the end of the long axis
    EXPECT_NEAR(s.Figures[0].Points[0].y, 2, 1e-12);
    EXPECT_NEAR(s.Figures[1].Points[0].x, -1, 1e-12);  // parameter pi/2: the short axis
    EXPECT_NEAR(s.Figures[1].Points[0].y, 0, 1e-12);
}

TEST(AddArcLines, RobustDropsFiguresThatWouldNotBeFiniteNumbersOrAreAbsurdlyFar)
{
    TConversionContext ctx;
    ctx.Options = ByLength(10, 4);
    AddArcLines(ctx, {0, 1}, 1, {0, 0, kNaN, 1, 0, 0, kPi});
    AddArcLines(ctx, {0, 1}, 1, {0, 0, 1, 1, 0, kNaN, kPi});
    AddArcLines(ctx, {0, 1}, 1e300, {1e300, 0, 1, 1, 0, 0, kPi});  // overflows when scaled
    AddSectorFan(ctx, {0, 1}, 1, {kInf, 0, 1, 1, 0, 0, kPi});
    AddRingQuads(ctx, {0, 1}, 1, {0, 0, 1, 1, 0, 0, kPi}, kNaN, 1);
    AddArcLines(ctx, {0, 1}, 1, {0, 0, 1e200, 1, 0, 0, kPi});  // beyond 1e12 output units
    ctx.Store.CoordinateLimit = TFigureStore::CoordinateLimitFor(1000);
    AddArcLines(ctx, {0, 1}, 1, {2e12, 0, 1, 1, 0, 0, kPi});  // 2e12 units at the factor 1000, 2e9 at 1
    EXPECT_EQ(ctx.Store.FigureCount, 0);
    // A huge arc within the limit is capped rather than exhausting memory.
    AddArcLines(ctx, {0, 1}, 1, {0, 0, 5e8, 1, 0, 0, 1e10});
    EXPECT_EQ(ctx.Store.FigureCount, kMaxArcDivisions);
}

TEST(ArcFromDegrees, RunsCounterClockwiseFromStartToEnd)
{
    TConversionContext ctx;
    ctx.Options = ByAngle(1, 4);  // one segment per degree shows the span in the count
    AddArcLinesDeg(ctx, 0, 0, 1, 1, 0, 350, 10);
    const TFigureStore& s = ctx.Store;
    ASSERT_EQ(s.FigureCount, 20);
    EXPECT_NEAR(s.Figures[0].Points[0].x, std::cos(350 * kPi / 180), 1e-12);
    EXPECT_NEAR(s.Figures[0].Points[0].y, std::sin(350 * kPi / 180), 1e-12);
    EXPECT_NEAR(s.Figures[19].Points[1].x, std::cos(10 * kPi / 180), 1e-12);
    EXPECT_NEAR(s.Figures[19].Points[1].y, std::sin(10 * kPi / 180), 1e-12);

    ctx.Store.ClearFigures();
    AddArcLinesDeg(ctx, 0, 0, 1, 1, 0, 10, 350);
    EXPECT_EQ(ctx.Store.FigureCount, 340);

    ctx.Store.ClearFigures();
    AddArcLinesDeg(ctx, 0, 0, 1, 1, 0, -30, 750);  // folds to 60 degrees
    EXPECT_EQ(ctx.Store.FigureCount, 60);
}

TEST(ArcFromDegrees, EqualAnglesOrAFullTurnDrawTheWholeEllipseFromZero)
{
    for (auto [from, to] : {std::pair{30.0, 30.0}, std::pair{0.0, 360.0}, std::pair{45.0, 405.0}}) {
        TConversionContext ctx;
        ctx.Options = ByAngle(1, 4);
        AddArcLinesDeg(ctx, 0, 0, 2, 1, 0, from, to);
        const TFigureStore& s = ctx.Store;
        ASSERT_EQ(s.FigureCount, 360) << from << " to " << to;
        EXPECT_NEAR(s.Figures[0].Points[0].x, 2, 1e-12);
        EXPECT_NEAR(s.Figures[0].Points[0].y, 0, 1e-12);
    }
}

TEST(ArcFromDegrees, RobustAgainstHugeAndNonFiniteAngles)
{
    TConversionContext ctx;
    ctx.Options = ByCount(12);
    AddArcLinesDeg(ctx, 0, 0, 1, 1, 0, 0, kInf);
    AddArcLinesDeg(ctx, 0, 0, 1, 1, 0, kNaN, 10);
    AddArcLinesDeg(ctx, 0, 0, 1, 1, 0, -kInf, kInf);
    EXPECT_EQ(ctx.Store.FigureCount, 0);
    AddArcLinesDeg(ctx, 0, 0, 1, 1, 0, 0, 1e300);  // ends instead of folding forever
    EXPECT_EQ(ctx.Store.FigureCount, 12);
}

TEST(FilledArcs, SectorFanCoversThePolygonFromTheCentre)
{
    TConversionContext ctx;
    ctx.Options = ByCount(12);
    AddSectorFan(ctx, {0, 1}, 1, {3, 4, 2, 1, 0, 0.5, 2.0});
    const TFigureStore& s = ctx.Store;
    ASSERT_EQ(s.FigureCount, 12);
    for (int i = 0; i < 12; ++i) {
        EXPECT_EQ(s.Figures[i].Kind, fkTriangle);
        EXPECT_EQ(s.Figures[i].Points[0].x, 3);
        EXPECT_EQ(s.Figures[i].Points[0].y, 4);
    }
    EXPECT_NEAR(TotalArea(s), SectorPolygonArea(2, 2.0, 12), 1e-12);
}

TEST(FilledArcs, SegmentFanHasOneTriangleFewerThanTheCountAndFillsArcToChord)
{
    for (int n : {12, 20, 3}) {
        TConversionContext ctx;
        ctx.Options = ByCount(n);
        AddSegmentFan(ctx, {0, 1}, 1, {0, 0, 1, 1, 0, 0, kPi / 2});
        const TFigureStore& s = ctx.Store;
        ASSERT_EQ(s.FigureCount, n - 1);
        for (int i = 0; i < s.FigureCount; ++i) {
            EXPECT_NEAR(s.Figures[i].Points[0].x, 0, 1e-15);  // pivot: the end point (0, 1)
            EXPECT_NEAR(s.Figures[i].Points[0].y, 1, 1e-15);
            EXPECT_GT(SignedArea(s.Figures[i]), 0);  // no degenerate closing triangle
        }
        // Inscribed sector polygon minus the triangle of centre and chord.
        EXPECT_NEAR(TotalArea(s), SectorPolygonArea(1, kPi / 2, n) - 0.5, 1e-12) << n;
    }
}

TEST(FilledArcs, CornerFanFillsBetweenArcAndTangents)
{
    TConversionContext ctx;
    ctx.Options = ByCount(12);
    AddCornerFan(ctx, {0, 1}, 2, {0, 0, 1, 1, 0, 0, kPi / 2});
    const TFigureStore& s = ctx.Store;
    ASSERT_EQ(s.FigureCount, 12);
    for (int i = 0; i < 12; ++i) {
        EXPECT_NEAR(s.Figures[i].Points[0].x, 2, 1e-12);  // corner (1, 1) times scale 2
        EXPECT_NEAR(s.Figures[i].Points[0].y, 2, 1e-12);
    }
    // The unit square from the centre to the corner, less the inscribed sector polygon; scale 2.
    EXPECT_NEAR(TotalArea(s), 4 * (1 - SectorPolygonArea(1, kPi / 2, 12)), 1e-12);

    // A half turn has parallel end tangents: the fan starts from the centre.
    ctx.Store.ClearFigures();
    AddCornerFan(ctx, {0, 1}, 1, {5, 5, 1, 1, 0, 0, kPi});
    ASSERT_EQ(ctx.Store.FigureCount, 12);
    EXPECT_NEAR(ctx.Store.Figures[0].Points[0].x, 5, 1e-12);
    EXPECT_NEAR(ctx.Store.Figures[0].Points[0].y, 5, 1e-12);
}

TEST(FilledArcs, RingQuadsFillBetweenTheTwoArcsWhateverTheSweepSign)
{
    for (double sweep : {kPi, -kPi}) {
        TConversionContext ctx;
        ctx.Options = ByLength(1, 4);  // the count follows the first radius: 3 * pi -> 9
        AddRingQuads(ctx, {0, 1}, 1, {0, 0, 3, 1, 0, 0, sweep}, 1, 1);
        const TFigureStore& s = ctx.Store;
        ASSERT_EQ(s.FigureCount, 9);
        for (int i = 0; i < 9; ++i) {
            EXPECT_EQ(s.Figures[i].Kind, fkQuad);
            EXPECT_GT(SignedArea(s.Figures[i]), 0);
        }
        EXPECT_NEAR(TotalArea(s), SectorPolygonArea(3, kPi, 9) - SectorPolygonArea(1, kPi, 9), 1e-12);
    }
}
