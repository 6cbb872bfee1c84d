#include <gtest/gtest.h>

#include <limits>

#include "figures/Walkers.h"
#include "formats/jwc/jwcunit.h"
#include "formats/jwk/jwkunit.h"

namespace {

LineRecord Line(uint8_t pen, uint8_t lineType, uint8_t layer = 0)
{
    LineRecord l;
    l.X1 = 1; l.Y1 = 2; l.X2 = 3; l.Y2 = 4;
    l.PenColor = pen; l.LineType = lineType; l.Layer = layer;
    return l;
}

struct OldFormatWalk : ::testing::Test {
    TConversionContext ctx;
    TJwcData jwc;
    void SetUp() override { jwc.LayerGroups[0].Scale = 1; }
};

}  // namespace

TEST_F(OldFormatWalk, PenNineIsNoAuxiliaryColourButLineTypeNineIsAuxiliary)
{
    ctx.Options.Include.Auxiliary = false;
    jwc.Lines = {Line(9, 1), Line(2, 9)};
    WalkJwc(jwc, ctx);
    ASSERT_EQ(ctx.Store.FigureCount, 1);
    EXPECT_EQ(ctx.Store.Figures[0].Color, 9);  // the pen byte is the palette index, unchanged
}

TEST_F(OldFormatWalk, LineWithACoordinateThatIsNoNumberDrawsNothing)
{
    LineRecord broken = Line(1, 1);
    broken.Y2 = std::numeric_limits<float>::quiet_NaN();
    jwc.Lines = {broken, Line(1, 1)};
    WalkJwc(jwc, ctx);
    EXPECT_EQ(ctx.Store.FigureCount, 1);
}

TEST_F(OldFormatWalk, LineKeepsItsLayerByteAndIsScaledByGroupZero)
{
    jwc.LayerGroups[0].Scale = 50;
    jwc.LayerGroups[1].Scale = 2;
    jwc.Lines = {Line(3, 1, 0x25)};
    WalkJwc(jwc, ctx);
    ASSERT_EQ(ctx.Store.FigureCount, 1);
    const TFigure& f = ctx.Store.Figures[0];
    EXPECT_EQ(f.Layer, 0x25);
    EXPECT_DOUBLE_EQ(f.Points[0].x, 50);
    EXPECT_DOUBLE_EQ(f.Points[1].y, 200);
}

TEST_F(OldFormatWalk, DimensionAndHatchBitsSitInDifferentFlagBytesPerKind)
{
    ctx.Options.Include.Dimensions = false;
    ctx.Options.Include.Hatching = false;
    LineRecord dimLine = Line(1, 1), hatchLine = Line(1, 1), plain = Line(1, 1);
    dimLine.Flags2 = 0x20;
    hatchLine.Flags1 = 0x20;
    plain.Flags1 = 0x40;  // a bit that means nothing for lines
    ArcRecord dimArc{}, hatchArc{};
    dimArc.Radius = hatchArc.Radius = 1;
    dimArc.Flags = 0x40;
    hatchArc.Flags = 0x20;
    PointRecord dimPoint{}, hatchPoint{};
    dimPoint.Flags = 0x40;
    hatchPoint.Flags = 0x20;
    jwc.Lines = {dimLine, hatchLine, plain};
    jwc.Arcs = {dimArc, hatchArc};
    jwc.Points = {dimPoint, hatchPoint};
    WalkJwc(jwc, ctx);
    EXPECT_EQ(ctx.Store.FigureCount, 1);
}

TEST_F(OldFormatWalk, HiddenLayersFollowTheAttributeTableUnlessIncluded)
{
    ctx.Attributes.SetLayerState(4, TgraAttribute::kHiddenState);
    jwc.Lines = {Line(1, 1, 4), Line(1, 1, 5)};
    ctx.Options.Include.HiddenLayers = false;
    WalkJwc(jwc, ctx);
    EXPECT_EQ(ctx.Store.FigureCount, 1);
    ctx.Options.Include.HiddenLayers = true;
    WalkJwc(jwc, ctx);
    EXPECT_EQ(ctx.Store.FigureCount, 2);
}

TEST_F(OldFormatWalk, ArcAnglesAreDegreesAndEveryWalkStartsFromAnEmptyStore)
{
    ArcRecord a{};
    a.Radius = 10; a.Flattening = 1; a.StartAngle = 0; a.EndAngle = 90;
    a.PenColor = 2;
    jwc.Arcs = {a};
    ctx.Options.ArcDivisions = 12;
    WalkJwc(jwc, ctx);
    WalkJwc(jwc, ctx);
    ASSERT_EQ(ctx.Store.FigureCount, 12);
    const TFigure& last = ctx.Store.Figures[11];
    EXPECT_NEAR(last.Points[1].x, 0, 1e-9);
    EXPECT_NEAR(last.Points[1].y, 10, 1e-9);
}

TEST(JwkWalk, PointMarkerMeasuresTheMarkerSizeInDrawingUnits)
{
    TConversionContext ctx;
    ctx.Options.PointMarkerShape = 0;  // "+": two segments of the marker's size
    ctx.Options.PointMarkerSize = 2;
    TJwkData jwk;
    PointRecord p{};
    p.X = 100; p.Y = 100; p.PenColor = 1;
    jwk.Points = {p};
    WalkJwk(jwk, ctx);
    ASSERT_EQ(ctx.Store.FigureCount, 2);
    const TFigure& h = ctx.Store.Figures[0];
    EXPECT_NEAR(std::abs(h.Points[1].x - h.Points[0].x) + std::abs(h.Points[1].y - h.Points[0].y), 2, 1e-9);
}

TEST(JwkWalk, PointsAreDroppedWhenPointsAreExcluded)
{
    TConversionContext ctx;
    ctx.Options.Include.Points = false;
    TJwkData jwk;
    jwk.Points = {PointRecord{}};
    WalkJwk(jwk, ctx);
    EXPECT_EQ(ctx.Store.FigureCount, 0);
}

// The older formats' texts keep no size: their characters fill the line from the start point
// to the end point, as tall as wide, in the pen and layer of the record's attribute bytes.
TEST_F(OldFormatWalk, TextsFillTheLineFromTheirStartToTheirEnd)
{
    TextRecord text;
    text.X1 = 10, text.Y1 = 20, text.X2 = 10, text.Y2 = 32;  // upwards, 12 long
    text.Attributes = {0, 3, 17, 0};
    text.Text = "AB\x82\xA0";  // two half-width characters and one full-width: 2 units
    jwc.Texts = {text};
    WalkJwc(jwc, ctx);
    EXPECT_EQ(ctx.Store.FigureCount, 0);
    EXPECT_EQ(ctx.Texts.LeftOut, 1u);
    ctx.Options.Include.Texts = true;
    WalkJwc(jwc, ctx);
    ASSERT_GT(ctx.Store.FigureCount, 10);
    for (const TFigure& f : ctx.Store.Figures) {
        EXPECT_EQ(f.Layer, 17);
        EXPECT_EQ(f.Color, 3);
        for (int i = 0; i < 2; ++i) {  // the characters are 6 wide, standing on the line x = 10
            EXPECT_TRUE(f.Points[i].x <= 10.6 && f.Points[i].x >= 10 - 6.6) << f.Points[i].x;
            EXPECT_TRUE(f.Points[i].y >= 20 - 0.6 && f.Points[i].y <= 32.6) << f.Points[i].y;
        }
    }
}

TEST_F(OldFormatWalk, HeightTextsLiftTheLinesOfTheirLayerAndRaisedLayersTheirArcsToo)
{
    ctx.Options.Heights = THeightUnit::Metres;
    ctx.Options.Extrude = {{"0-2", 1}};
    TextRecord mark;
    mark.X1 = 1, mark.Y1 = 2, mark.Attributes = {0, 1, 0, 0}, mark.Text = "3";
    jwc.Texts = {mark};
    jwc.Lines = {Line(1, 1), Line(1, 1, 1)};
    ArcRecord arc;
    arc.Radius = 5, arc.Flattening = 1, arc.EndAngle = 360, arc.PenColor = 1, arc.Layer = 2;
    jwc.Arcs = {arc};
    WalkJwc(jwc, ctx);
    // The marked line: bottom, top, one vertical, one wall; the other layer's line flat; the
    // raised circle's 12 segments: bottoms, tops, verticals, walls and a roof of 10.
    EXPECT_EQ(ctx.Store.Segments, 3u + 1 + 36);
    EXPECT_EQ(ctx.Store.Triangles, 1u + 24 + 10);
}
