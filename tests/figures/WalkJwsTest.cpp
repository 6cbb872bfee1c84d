// The figure-file walker: a figure file walked like a drawing, in the scale of its group 0,
// with every layer shown.
#include <gtest/gtest.h>

#include "figures/Walkers.h"
#include "formats/jws/jwsunit.h"
#include "support/JwsWriter.h"
#include "support/ReaderLoads.h"

using namespace jwwfixture;
using jwsfixture::TJwsFileWriter;

namespace {

struct JwsWalk : ::testing::Test {
    TConversionContext ctx;
    TJwsData jws;

    // The driver's steps after LoadFile.
    void LoadAndWalk(const TJwsFileWriter& file)
    {
        ASSERT_TRUE(jws.LoadBytes(AsBytes(file.Build())));
        ctx.Attributes.ResetPenColors();
        jws.LoadLayers(ctx.Attributes);
        WalkJws(jws, ctx);
    }
    int Count() const { return ctx.Store.FigureCount; }
    TFigure Fig(int i) const { return ctx.Store.Figures.at(static_cast<size_t>(i)); }
};

}  // namespace

TEST_F(JwsWalk, GroupZeroScaleFiftyMultipliesTheCoordinatesOfEveryGroup)
{
    TJwsFileWriter file(600);
    file.groupScales[0] = 50;
    file.groupScales[1] = 2;
    file.stream.Line(MakeLine(1, 2, 3, 4, Common(0, 0))).Line(MakeLine(1, 2, 3, 4, Common(6, 1, 105)));
    LoadAndWalk(file);
    ASSERT_EQ(Count(), 2);
    for (int i = 0; i < 2; ++i) {
        EXPECT_DOUBLE_EQ(Fig(i).Points[0].x, 50);
        EXPECT_DOUBLE_EQ(Fig(i).Points[0].y, 100);
        EXPECT_DOUBLE_EQ(Fig(i).Points[1].x, 150);
        EXPECT_DOUBLE_EQ(Fig(i).Points[1].y, 200);
    }
    EXPECT_EQ(Fig(1).Layer, 22);  // group 1, layer 6
    EXPECT_EQ(Fig(1).Color, 14);  // extended pen 105
}

TEST_F(JwsWalk, EntitiesOnEveryLayerAreConvertedEvenWithoutHiddenLayers)
{
    TJwsFileWriter file(600);
    for (uint16_t g = 0; g < 16; ++g)
        for (uint16_t n = 0; n < 16; ++n) file.stream.Line(MakeLine(g, n, g + 1, n, Common(n, g)));
    for (int i = 0; i < TgraAttribute::kLayerCount; ++i) ctx.Attributes.SetLayerState(i, 3);  // left by a drawing
    ctx.Options.Include.HiddenLayers = false;
    LoadAndWalk(file);
    ASSERT_EQ(Count(), 256);
    for (int i = 0; i < 256; ++i) EXPECT_EQ(Fig(i).Layer, i);
}

TEST_F(JwsWalk, PlacedBlocksAreFlattenedAndConsumed)
{
    TJwsFileWriter file(420);
    file.groupScales[0] = 10;
    file.stream.Block(MakeInsert(3, 100, 0, 1, 1, 0, Common(7, 0)));
    file.stream.BeginBlockDef(MakeBlockDef(3, "b")).Line(MakeLine(0, 0, 1, 0, Common(2, 5))).EndBlockDef();
    LoadAndWalk(file);
    ASSERT_EQ(Count(), 1);
    EXPECT_DOUBLE_EQ(Fig(0).Points[0].x, 1000);
    EXPECT_DOUBLE_EQ(Fig(0).Points[1].x, 1010);
    EXPECT_EQ(Fig(0).Layer, 7);  // the placement's layer
    EXPECT_TRUE(jws.blockDefs.empty());
    EXPECT_TRUE(jws.blockTrees.empty());
}

TEST_F(JwsWalk, DimensionsDrawTheirSxfPartsOnlyFromVersion420)
{
    TEntJwwSunpo d;
    d.common = Common();
    d.line = MakeLine(0, 0, 10, 0);
    d.sxfMode = 1;
    d.auxLine1 = MakeLine(0, -1, 0, 1);
    d.auxLine2 = MakeLine(10, -1, 10, 1);
    d.point1 = MakePoint(0, 0);
    d.point2 = MakePoint(10, 0);
    ctx.Options.PointMarkerShape = 0;  // "＋": two segments per marker
    for (int32_t version : {420, 419}) {
        SCOPED_TRACE(version);
        TJwsFileWriter file(version);
        file.stream.Dimension(d);
        LoadAndWalk(file);
        EXPECT_EQ(Count(), version == 420 ? 3 + 2 * 2 : 1);
    }
}
