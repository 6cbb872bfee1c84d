#include <gtest/gtest.h>

#include <cmath>

#include "figures/Walkers.h"
#include "formats/jww/jwwunit.h"
#include "support/JwwWriter.h"
#include "support/ReaderLoads.h"

using jwwfixture::Common;
using jwwfixture::MakeArc;
using jwwfixture::MakeLine;
using jwwfixture::MakePoint;

namespace {

constexpr double kPi = 3.14159265358979323846;

TEntJwwSolid MakeSolid(uint8_t lineType, std::initializer_list<double> fields, uint16_t pen = 1)
{
    TEntJwwSolid s;
    s.common = Common(0, 0, pen, lineType);
    double* out[8] = {&s.x1, &s.y1, &s.x2, &s.y2, &s.x3, &s.y3, &s.x4, &s.y4};
    int i = 0;
    for (double v : fields) *out[i++] = v;
    return s;
}

// An arc-shaped solid: centre (0, 0), radius 10, flatness 1, no tilt, a quarter from 0, and y4.
TEntJwwSolid QuarterSolid(uint8_t lineType, double y4) { return MakeSolid(lineType, {0, 0, 10, 1, 0, 0, kPi / 2, y4}); }

struct JwwWalk : ::testing::Test {
    TConversionContext ctx;
    TJwwData jww;  // filled directly: with no layer groups read the drawing scale is 1

    void SetUp() override { ctx.Options.Include.Solids = true; }

    void Walk() { WalkJww(jww, ctx); }
    int Count() const { return ctx.Store.FigureCount; }
    TFigure Fig(int i) const { return ctx.Store.Figures.at(static_cast<size_t>(i)); }
    int CountKind(int kind) const
    {
        int n = 0;
        for (int i = 0; i < Count(); ++i) n += Fig(i).Kind == kind;
        return n;
    }
};

}  // namespace

TEST_F(JwwWalk, ExtendedPensMapToTheirPaletteIndicesAndPlainPensStay)
{
    for (uint16_t pen : {105, 356, 101, 9, 3}) jww.lines.push_back(MakeLine(0, 0, 1, 1, Common(0, 0, pen)));
    jww.solids.push_back(MakeSolid(1, {0, 0, 1, 0, 1, 1, 0, 1}, 101));
    Walk();
    ASSERT_EQ(Count(), 6);
    EXPECT_EQ(Fig(0).Color, 14);
    EXPECT_EQ(Fig(1).Color, 265);
    EXPECT_EQ(Fig(2).Color, 10);
    EXPECT_EQ(Fig(3).Color, 9);
    EXPECT_EQ(Fig(4).Color, 3);
    EXPECT_EQ(Fig(5).Color, 10);  // a solid's SXF pen maps like a line's
}

TEST_F(JwwWalk, LayerNumberIsGroupTimesSixteenPlusLayer)
{
    jww.lines.push_back(MakeLine(0, 0, 1, 1, Common(3, 2)));
    jww.arcs.push_back(MakeArc(0, 0, 1, 0, 1, Common(15, 15)));
    Walk();
    ASSERT_GT(Count(), 1);
    EXPECT_EQ(Fig(0).Layer, 35);
    EXPECT_EQ(Fig(1).Layer, 255);
}

TEST_F(JwwWalk, EveryGroupIsMeasuredInTheScaleOfGroupZero)
{
    jwwfixture::TJwwFileWriter file(600);
    file.header.groupScales[0] = 100;
    file.header.groupScales[1] = 50;
    file.stream.Line(MakeLine(1, 2, 3, 4, Common(0, 0))).Line(MakeLine(1, 2, 3, 4, Common(0, 1)));
    file.stream.Arc(MakeArc(1, 0, 2, 0, kPi, Common(0, 1)));
    ASSERT_TRUE(jww.LoadBytes(AsBytes(file.Build())));
    Walk();
    ASSERT_EQ(Count(), 2 + 12);
    for (int i = 0; i < 2; ++i) {
        EXPECT_DOUBLE_EQ(Fig(i).Points[0].x, 100);
        EXPECT_DOUBLE_EQ(Fig(i).Points[1].y, 400);
    }
    EXPECT_EQ(Fig(1).Layer, 16);
    EXPECT_NEAR(Fig(2).Points[0].x, 300, 1e-9);  // arc centre 1 + radius 2, times 100
    EXPECT_NEAR(Fig(13).Points[1].x, -100, 1e-9);
}

TEST_F(JwwWalk, OwnFillColoursAreRegisteredAfterThePensEvenForSolidsNotDrawn)
{
    const uint32_t red = MakeColor(255, 0, 0), odd = MakeColor(1, 2, 3);
    ctx.Attributes.SetPenColor(102, MakeColor(254, 0, 0));  // the one pen that is pure red by default
    TEntJwwSolid a = MakeSolid(1, {0, 0, 1, 0, 1, 1, 0, 1}, 10), b = a, c = a;
    a.fillColor = red;
    b.fillColor = odd;
    b.common.layer = 4;  // hidden below, still registered
    c.fillColor = red;   // registered once
    jww.solids = {a, b, c};
    ctx.Attributes.SetLayerState(4, TgraAttribute::kHiddenState);
    ctx.Options.Include.HiddenLayers = false;
    Walk();
    EXPECT_EQ(ctx.Store.PaletteCount, 267);
    EXPECT_EQ(ctx.Store.Palette[266], red);
    EXPECT_EQ(ctx.Store.Palette[267], odd);
    ASSERT_EQ(Count(), 2);
    EXPECT_EQ(Fig(0).Color, 266);
    EXPECT_EQ(Fig(1).Color, 266);

    ctx.Options.Include.Solids = false;
    jww.solids = {b};
    Walk();
    EXPECT_EQ(Count(), 0);
    EXPECT_EQ(ctx.Store.PaletteCount, 266);
    EXPECT_EQ(ctx.Store.Palette[266], odd);
}

TEST_F(JwwWalk, FillColourEqualToAPenColourTakesThePensIndex)
{
    TEntJwwSolid s = MakeSolid(1, {0, 0, 1, 0, 1, 1, 0, 1}, 10);
    s.fillColor = ctx.Attributes.PenColor(2);  // pen 3
    jww.solids = {s};
    Walk();
    EXPECT_EQ(ctx.Store.PaletteCount, 265);
    ASSERT_EQ(Count(), 1);
    EXPECT_EQ(Fig(0).Color, 3);
}

TEST_F(JwwWalk, DimensionBitIs0x2000OnLinesAnd0x40OnArcsAndPoints)
{
    TEntJwwCommon dimLine = Common(), curveBit = Common();
    dimLine.flags = 0x2000;
    curveBit.flags = 0x40;
    jww.lines = {MakeLine(0, 0, 1, 0, dimLine), MakeLine(0, 0, 2, 0, curveBit)};
    jww.arcs = {MakeArc(0, 0, 1, 0, 1, curveBit), MakeArc(0, 0, 1, 0, 1, dimLine)};
    jww.points = {MakePoint(0, 0, curveBit), MakePoint(5, 5, dimLine)};
    jww.solids = {MakeSolid(1, {0, 0, 1, 0, 1, 1, 0, 1})};
    jww.solids[0].common.flags = 0x2040;  // solids have no dimension test
    ctx.Options.Include.Dimensions = false;
    Walk();
    // line with 0x40, arc with 0x2000 (12 segments), point with 0x2000 (2 marker lines), solid
    ASSERT_EQ(Count(), 1 + 12 + 2 + 1);
    EXPECT_DOUBLE_EQ(Fig(0).Points[1].x, 2);
    EXPECT_DOUBLE_EQ(Fig(13).Points[0].x, 4.5);
    EXPECT_EQ(Fig(15).Kind, fkQuad);

    ctx.Options.Include.Dimensions = true;
    Walk();
    EXPECT_EQ(Count(), 2 + 24 + 4 + 1);
}

TEST_F(JwwWalk, HatchBitDropsLinesArcsPointsAndSolidsOnlyWhenHatchingExcluded)
{
    TEntJwwCommon hatch = Common();
    hatch.flags = 0x20;
    jww.lines = {MakeLine(0, 0, 1, 0, hatch)};
    jww.arcs = {MakeArc(0, 0, 1, 0, 1, hatch)};
    jww.points = {MakePoint(0, 0, hatch)};
    jww.solids = {MakeSolid(1, {0, 0, 1, 0, 1, 1, 0, 1})};
    jww.solids[0].common.flags = 0x20;
    ctx.Options.Include.Hatching = false;
    Walk();
    EXPECT_EQ(Count(), 0);
    ctx.Options.Include.Hatching = true;
    Walk();
    EXPECT_EQ(Count(), 1 + 12 + 2 + 1);
}

TEST_F(JwwWalk, AuxiliaryLineTypeAndColourAreDroppedOnlyWhereTheirTestsApply)
{
    jww.lines = {MakeLine(0, 0, 1, 0, Common(0, 0, 9, 1)), MakeLine(0, 0, 1, 0, Common(0, 0, 2, 9))};
    jww.arcs = {MakeArc(0, 0, 1, 0, 1, Common(0, 0, 9, 1)), MakeArc(0, 0, 1, 0, 1, Common(0, 0, 2, 9))};
    jww.points = {MakePoint(0, 0, Common(0, 0, 9, 1)), MakePoint(3, 0, Common(0, 0, 2, 9))};
    jww.solids = {MakeSolid(9, {0, 0, 1, 0, 1, 1, 0, 1}), MakeSolid(1, {0, 0, 1, 0, 1, 1, 0, 1}, 9)};
    ctx.Options.Include.Auxiliary = false;
    Walk();
    // points and solids have no line-type test: the point and the solid of line type 9 stay
    ASSERT_EQ(Count(), 2 + 1);
    EXPECT_DOUBLE_EQ(Fig(0).Points[0].x, 2.5);
    EXPECT_EQ(Fig(2).Kind, fkQuad);
}

TEST_F(JwwWalk, HiddenLayersAreDroppedOnlyWhenExcluded)
{
    jwwfixture::TJwwFileWriter file(600);
    file.header.layerStates[2 * 16 + 3] = 0;  // hidden layer 3 of group 2
    file.header.groupStates[5] = 0;           // hidden group 5
    file.stream.Line(MakeLine(0, 0, 1, 0, Common(3, 2))).Line(MakeLine(0, 0, 1, 0, Common(7, 5)));
    file.stream.Line(MakeLine(0, 0, 1, 0, Common(4, 2)));
    ASSERT_TRUE(jww.LoadBytes(AsBytes(file.Build())));
    jww.LoadLayers(ctx.Attributes);
    ctx.Options.Include.HiddenLayers = false;
    Walk();
    ASSERT_EQ(Count(), 1);
    EXPECT_EQ(Fig(0).Layer, 36);
    ctx.Options.Include.HiddenLayers = true;
    Walk();
    EXPECT_EQ(Count(), 3);
}

TEST_F(JwwWalk, DimensionsExcludedSkipTheWholeListPlainLinesIncluded)
{
    TEntJwwSunpo d;
    d.line = MakeLine(0, 0, 10, 0);
    jww.dimensions = {d};
    ctx.Options.Include.Dimensions = false;
    Walk();
    EXPECT_EQ(Count(), 0);
}

TEST_F(JwwWalk, SxfDimensionAddsThreeLinesAndTwoMarkersWhateverThePointOption)
{
    TEntJwwSunpo d;
    d.line = MakeLine(0, 0, 10, 0, Common(1, 0, 2));
    d.sxfMode = 1;
    d.auxLine1 = MakeLine(0, -1, 0, -5, Common(2, 0, 3));
    d.auxLine2 = MakeLine(10, -1, 10, -5, Common(3, 0, 105));
    d.point1 = MakePoint(0, 0, Common(4, 0, 4));
    d.point2 = MakePoint(10, 0, Common(5, 0, 5));
    d.point3 = MakePoint(20, 0);
    d.point4 = MakePoint(30, 0);
    d.point1.temporary = 1;  // parts are not tested like points
    TEntJwwSunpo plain = d;
    plain.sxfMode = 0;
    jww.dimensions = {d, plain};
    ctx.Options.Include.Points = false;
    Walk();
    ASSERT_EQ(Count(), 3 + 2 * 2 + 1);
    const int layers[] = {1, 2, 3, 4, 4, 5, 5, 1};
    const int colors[] = {2, 3, 14, 4, 4, 5, 5, 2};
    for (int i = 0; i < Count(); ++i) {
        EXPECT_EQ(Fig(i).Layer, layers[i]) << i;
        EXPECT_EQ(Fig(i).Color, colors[i]) << i;
    }
    EXPECT_DOUBLE_EQ(Fig(5).Points[0].x, 9.5);  // the marker "＋" of point2
}

TEST_F(JwwWalk, DimensionHidingFollowsItsOwnLayerAndPartsTestOnlyTheAuxiliaryPenAndType)
{
    TEntJwwSunpo shown, hidden;
    shown.common = Common(1, 0);
    shown.sxfMode = 1;
    shown.line = MakeLine(0, 0, 10, 0, Common(2, 0));    // on a hidden layer: drawn all the same
    shown.auxLine1 = MakeLine(0, 0, 0, 1, Common(1, 0, 9));
    shown.auxLine2 = MakeLine(0, 0, 0, 1, Common(1, 0, 1, 9));
    shown.point1 = MakePoint(0, 0, Common(1, 0, 9));
    shown.point2 = MakePoint(0, 0, Common(1, 0, 1, 9));  // no line-type test on points
    hidden = shown;
    hidden.common = Common(2, 0);
    jww.dimensions = {shown, hidden};
    ctx.Attributes.SetLayerState(2, TgraAttribute::kHiddenState);
    ctx.Options.Include.HiddenLayers = false;
    ctx.Options.Include.Auxiliary = false;
    Walk();
    ASSERT_EQ(Count(), 1 + 2);
    EXPECT_EQ(Fig(0).Layer, 2);
}

TEST_F(JwwWalk, TemporaryPointsAreNeverConverted)
{
    jww.points = {MakePoint(0, 0), MakePoint(5, 5)};
    jww.points[0].temporary = 1;
    jww.points[1].temporary = -1;
    Walk();
    EXPECT_EQ(Count(), 0);
}

TEST_F(JwwWalk, PointsFollowTheMarkerOptionsAndThePointOption)
{
    ctx.Options.PointMarkerShape = 5;
    ctx.Options.PointMarkerSize = 2;
    jww.points = {MakePoint(1, 1)};
    jww.points[0].common.lineType = 100;  // a point with a code is drawn alike
    jww.points[0].code = 7;
    Walk();
    ASSERT_EQ(CountKind(fkTriangle), 2);
    EXPECT_DOUBLE_EQ(Fig(0).Points[0].x, 0);
    ctx.Options.Include.Points = false;
    Walk();
    EXPECT_EQ(Count(), 0);
}

TEST_F(JwwWalk, OnlyFullCircleExactlyOneDrawsTheWholeCircle)
{
    TEntJwwEnko whole = MakeArc(0, 0, 10, kPi / 2, kPi / 2), flagged = whole;
    whole.fullCircle = 1;
    flagged.fullCircle = 2;
    jww.arcs = {whole, flagged};
    Walk();
    ASSERT_EQ(Count(), 24);
    EXPECT_NEAR(Fig(0).Points[0].x, 10, 1e-12);   // from parameter 0
    EXPECT_NEAR(Fig(11).Points[1].x, 10, 1e-12);  // closed
    EXPECT_NEAR(Fig(12).Points[0].y, 10, 1e-12);  // from its start angle
    EXPECT_NEAR(Fig(23).Points[1].x, -10, 1e-12);
}

TEST_F(JwwWalk, PolygonSolidWithP3EqualToP4IsOneTriangle)
{
    jww.solids = {MakeSolid(1, {0, 0, 4, 0, 4, 3, 4, 3 + 5e-13})};
    Walk();
    ASSERT_EQ(Count(), 1);
    EXPECT_EQ(Fig(0).Kind, fkTriangle);
}

TEST_F(JwwWalk, PolygonSolidWithP2EqualToP3IsTheSegmentP1P2EvenWhenP4Differs)
{
    jww.solids = {MakeSolid(100, {1, 2, 4, 0, 4, 0, 9, 9})};
    Walk();
    ASSERT_EQ(Count(), 1);
    EXPECT_EQ(Fig(0).Kind, fkLine);
    EXPECT_DOUBLE_EQ(Fig(0).Points[0].x, 1);
    EXPECT_DOUBLE_EQ(Fig(0).Points[1].x, 4);
}

TEST_F(JwwWalk, PolygonSolidWithFourCornersIsOneQuadrilateralScaled)
{
    jww.layerGroups.resize(16);
    jww.layerGroups[0].scale = 10;
    jww.solids = {MakeSolid(1, {0, 0, 4, 0, 4, 3, 0, 3.001})};
    Walk();
    ASSERT_EQ(Count(), 1);
    EXPECT_EQ(Fig(0).Kind, fkQuad);
    EXPECT_DOUBLE_EQ(Fig(0).Points[3].y, 30.01);
}

TEST_F(JwwWalk, SectorSolidModeIsTheIntegerPartOfY4)
{
    // k = 5 (from 5.7): chord segment, N - 1 triangles pivoting on the arc's end (0, 10)
    jww.solids = {QuarterSolid(101, 5.7)};
    Walk();
    ASSERT_EQ(Count(), 11);
    EXPECT_NEAR(Fig(0).Points[0].x, 0, 1e-12);
    EXPECT_NEAR(Fig(0).Points[0].y, 10, 1e-12);

    // k = 0: sector from the centre
    jww.solids = {QuarterSolid(101, 0.9)};
    Walk();
    ASSERT_EQ(Count(), 12);
    EXPECT_DOUBLE_EQ(Fig(0).Points[0].x, 0);
    EXPECT_DOUBLE_EQ(Fig(0).Points[0].y, 0);

    // k = 100: the whole ellipse, whatever start and sweep say
    jww.solids = {QuarterSolid(101, 100.2)};
    Walk();
    ASSERT_EQ(Count(), 12);
    double area = 0;
    for (int i = 0; i < Count(); ++i) {
        const TFigure f = Fig(i);
        const TFigPoint* p = f.Points;
        area += 0.5 * ((p[1].x - p[0].x) * (p[2].y - p[0].y) - (p[1].y - p[0].y) * (p[2].x - p[0].x));
    }
    EXPECT_NEAR(area, 0.5 * 12 * 100 * std::sin(2 * kPi / 12), 1e-9);

    // any other k: the corner where the end tangents meet, (10, 10)
    jww.solids = {QuarterSolid(101, -3)};
    Walk();
    ASSERT_EQ(Count(), 12);
    EXPECT_NEAR(Fig(0).Points[0].x, 10, 1e-9);
    EXPECT_NEAR(Fig(0).Points[0].y, 10, 1e-9);
}

TEST_F(JwwWalk, ArcOutlineSolidDrawsTheWholeEllipseUnlessY4IsBelowOne)
{
    jww.solids = {QuarterSolid(111, 0.5), QuarterSolid(111, -1)};
    Walk();
    ASSERT_EQ(Count(), 24);
    EXPECT_EQ(CountKind(fkLine), 24);
    EXPECT_NEAR(Fig(11).Points[1].x, 0, 1e-12);  // the quarter ends at (0, 10)
    EXPECT_NEAR(Fig(11).Points[1].y, 10, 1e-12);
    EXPECT_NEAR(Fig(23).Points[1].x, 10, 1e-12);  // the whole ellipse closes at (10, 0)
}

TEST_F(JwwWalk, RingSolidSecondFlatnessFollowsTheRadiusDifference)
{
    // radius 10, flatness 0.5 (minor 5); second radius 20: minor 15, flatness 0.75
    jww.solids = {MakeSolid(102, {0, 0, 10, 0.5, 0, 0, kPi, 20})};
    Walk();
    ASSERT_EQ(Count(), 12);
    EXPECT_EQ(Fig(0).Kind, fkQuad);
    double maxY = 0;
    for (int i = 0; i < Count(); ++i)
        for (const TFigPoint& p : Fig(i).Points) maxY = std::max(maxY, p.y);
    EXPECT_NEAR(maxY, 15, 1e-9);

    // type 105 keeps the first flatness: the second minor semi-axis is 20 * 0.5
    jww.solids = {MakeSolid(105, {0, 0, 10, 0.5, 0, 0, kPi, 20})};
    Walk();
    maxY = 0;
    for (int i = 0; i < Count(); ++i)
        for (const TFigPoint& p : Fig(i).Points) maxY = std::max(maxY, p.y);
    EXPECT_NEAR(maxY, 10, 1e-9);
}

TEST_F(JwwWalk, RingSolidWithoutAreaInItsSecondEllipseIsASectorOfTheFirst)
{
    // second radius 5 with minor 5 - 5 = 0: flatness 0
    jww.solids = {MakeSolid(102, {0, 0, 10, 0.5, 0, 0, kPi, 5})};
    Walk();
    ASSERT_EQ(Count(), 12);
    EXPECT_EQ(CountKind(fkTriangle), 12);
}

TEST_F(JwwWalk, RingSolidWithSecondRadiusZeroIsTheSectorFanOfTheFirstEllipse)
{
    // (x2 y2 - x2) / y4 would divide by zero: 0/0 for flatness 1, +inf for flatness 2
    jww.solids = {MakeSolid(102, {3, 4, 10, 1, 0, 0, kPi, 0}), MakeSolid(110, {3, 4, 10, 2, 0, 0, kPi, 0})};
    Walk();
    ASSERT_EQ(Count(), 24);
    EXPECT_EQ(CountKind(fkTriangle), 24);
    EXPECT_DOUBLE_EQ(Fig(0).Points[0].x, 3);  // fanned from the centre
    EXPECT_DOUBLE_EQ(Fig(12).Points[0].y, 4);
    double maxY = 0;
    for (int i = 12; i < 24; ++i)
        for (const TFigPoint& p : Fig(i).Points) maxY = std::max(maxY, p.y);
    EXPECT_NEAR(maxY, 24, 1e-9);  // the first ellipse: minor semi-axis 20

    // type 105 never divides: a second radius 0 gives a ring down to the centre
    jww.solids = {MakeSolid(105, {0, 0, 10, 1, 0, 0, kPi, 0})};
    Walk();
    EXPECT_EQ(CountKind(fkQuad), 12);
}

TEST_F(JwwWalk, PlacedBlocksAreExpandedAndEarlierFiguresCleared)
{
    jwwfixture::TJwwFileWriter file(600);
    file.stream.BeginBlockDef(jwwfixture::MakeBlockDef(1, "door")).Line(MakeLine(0, 0, 1, 0)).EndBlockDef();
    file.stream.Block(jwwfixture::MakeInsert(1, 10, 20, 2, 2, kPi / 2));
    ASSERT_TRUE(jww.LoadBytes(AsBytes(file.Build())));
    ctx.Store.AddLine(0, 1, 5, 5, 6, 6);
    Walk();
    ASSERT_EQ(Count(), 1);
    EXPECT_NEAR(Fig(0).Points[0].x, 10, 1e-12);
    EXPECT_NEAR(Fig(0).Points[1].x, 10, 1e-12);
    EXPECT_NEAR(Fig(0).Points[1].y, 22, 1e-12);
    EXPECT_TRUE(jww.blockInserts.empty());
}
