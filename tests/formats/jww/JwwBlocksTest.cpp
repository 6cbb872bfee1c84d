// Block trees and block expansion: composed transforms, the layer rule, nesting, the
// guards against self-placing blocks and unbounded expansion, arc-shaped solids.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "formats/jww/jwwunit.h"
#include "support/JwwWriter.h"
#include "support/ReaderLoads.h"

using namespace jwwfixture;

namespace {

constexpr double kPi = std::numbers::pi;

TJwwData Load(const TJwwFileWriter& w)
{
    TJwwData jww;
    EXPECT_TRUE(jww.LoadBytes(AsBytes(w.Build())));
    return jww;
}

}  // namespace

TEST(JwwBlocks, PlacementScalesRotatesAndMovesItsMembers)
{
    TJwwFileWriter w(600);
    w.stream.Block(MakeInsert(1, 10, 20, 2, 2, kPi / 2));
    w.stream.BeginBlockDef(MakeBlockDef(1, "b")).Point(MakePoint(1, 0)).Line(MakeLine(0, 0, 1, 0)).EndBlockDef();
    TJwwData jww = Load(w);
    ASSERT_EQ(jww.blockTrees.size(), 1u);
    EXPECT_EQ(jww.blockTrees[0].defIndex, 0);
    EXPECT_EQ(jww.blockDefs[0].name, "b");
    ASSERT_TRUE(jww.ExpandBlocks());
    ASSERT_EQ(jww.points.size(), 1u);
    EXPECT_NEAR(jww.points[0].x, 10, 1e-12);
    EXPECT_NEAR(jww.points[0].y, 22, 1e-12);
    ASSERT_EQ(jww.lines.size(), 1u);
    EXPECT_NEAR(jww.lines[0].endY, 22, 1e-12);
    // Definitions, placements and trees are gone; a second call changes nothing.
    EXPECT_TRUE(jww.blockDefs.empty());
    EXPECT_TRUE(jww.blockInserts.empty());
    EXPECT_EQ(jww.blockDefCount, 0);
    EXPECT_TRUE(jww.ExpandBlocks());
    EXPECT_EQ(jww.points.size(), 1u);
}

TEST(JwwBlocks, NestedPlacementComposesBreadthFirstWithTheEnclosingLayer)
{
    // A (number 1, on layer 6 of group 1) places B at (5, 0); A is placed at (100, 0)
    // rotated by pi on layer 7 of group 0.
    TJwwFileWriter w(600);
    w.stream.Block(MakeInsert(1, 100, 0, 1, 1, kPi, Common(7, 0)));
    w.stream.BeginBlockDef(MakeBlockDef(1, "A", Common(6, 1))).Block(MakeInsert(2, 5, 0, 1, 1, 0, Common(9, 9))).EndBlockDef();
    w.stream.BeginBlockDef(MakeBlockDef(2, "B")).Point(MakePoint(0, 0, Common(3, 2))).EndBlockDef();
    TJwwData jww = Load(w);
    ASSERT_EQ(jww.blockTrees.size(), 2u);
    const TEntJwwBlockTree& nested = jww.blockTrees[1];
    EXPECT_EQ(nested.depth, 1);
    EXPECT_EQ(nested.parent, 0);
    EXPECT_EQ(nested.defIndex, 1);
    EXPECT_EQ(nested.common.layer, 6);  // the enclosing definition's own, not the insert's
    EXPECT_EQ(nested.common.layerGroup, 1);
    ASSERT_TRUE(jww.ExpandBlocks());
    ASSERT_EQ(jww.points.size(), 1u);
    EXPECT_NEAR(jww.points[0].x, 95, 1e-12);
    EXPECT_NEAR(jww.points[0].y, 0, 1e-12);
    EXPECT_EQ(jww.points[0].common.layer, 6);
    EXPECT_EQ(jww.points[0].common.layerGroup, 1);
}

TEST(JwwBlocks, MembersMoveToThePlacementLayerUnlessItKeepsTheirOwn)
{
    for (uint8_t lineType : {uint8_t{1}, uint8_t{1 | 0x40}}) {
        TJwwFileWriter w(600);
        w.stream.Block(MakeInsert(1, 0, 0, 1, 1, 0, Common(7, 0, 1, lineType)));
        w.stream.BeginBlockDef(MakeBlockDef(1, "b")).Line(MakeLine(0, 0, 1, 1, Common(3, 2, 5))).EndBlockDef();
        TJwwData jww = Load(w);
        ASSERT_TRUE(jww.ExpandBlocks());
        ASSERT_EQ(jww.lines.size(), 1u);
        const bool keep = lineType & 0x40;
        EXPECT_EQ(jww.lines[0].common.layer, keep ? 3 : 7);
        EXPECT_EQ(jww.lines[0].common.layerGroup, keep ? 2 : 0);
        EXPECT_EQ(jww.lines[0].common.color, 5);
    }
}

TEST(JwwBlocks, FirstDefinitionOfANumberWinsAndUnknownNumbersPlaceNothing)
{
    TJwwFileWriter w(600);
    w.stream.Block(MakeInsert(4, 0, 0)).Block(MakeInsert(99, 0, 0));
    w.stream.BeginBlockDef(MakeBlockDef(4, "first")).Line(MakeLine(1, 1, 2, 2)).EndBlockDef();
    w.stream.BeginBlockDef(MakeBlockDef(4, "second")).Line(MakeLine(5, 5, 6, 6)).EndBlockDef();
    TJwwData jww = Load(w);
    ASSERT_EQ(jww.blockTrees.size(), 2u);
    EXPECT_EQ(jww.blockDefs[static_cast<size_t>(jww.blockTrees[0].defIndex)].name, "first");
    EXPECT_EQ(jww.blockTrees[1].defIndex, -1);
    ASSERT_TRUE(jww.ExpandBlocks());
    ASSERT_EQ(jww.lines.size(), 1u);
    EXPECT_EQ(jww.lines[0].startX, 1);
}

TEST(JwwBlocks, SelfPlacingDefinitionsStopAtTheirOwnChain)
{
    // A places itself and B; B places A. Only the drawing's A, its B, and nothing deeper.
    TJwwFileWriter w(600);
    w.stream.Block(MakeInsert(1, 0, 0));
    w.stream.BeginBlockDef(MakeBlockDef(1, "A")).Block(MakeInsert(1, 1, 0)).Block(MakeInsert(2, 0, 1));
    w.stream.Line(MakeLine(0, 0, 1, 0)).EndBlockDef();
    w.stream.BeginBlockDef(MakeBlockDef(2, "B")).Block(MakeInsert(1, 5, 5)).Line(MakeLine(0, 0, 0, 1)).EndBlockDef();
    TJwwData jww = Load(w);
    ASSERT_EQ(jww.blockTrees.size(), 2u);
    EXPECT_EQ(jww.blockDefs[static_cast<size_t>(jww.blockTrees[1].defIndex)].name, "B");
    EXPECT_FALSE(jww.blockTreesCut);
    ASSERT_TRUE(jww.ExpandBlocks());
    EXPECT_EQ(jww.lines.size(), 2u);
}

TEST(JwwBlocks, ExponentialNestingIsBoundedAndReportedAsFailure)
{
    // Each level places the next ten times: 10^8 placements if nothing stopped it.
    TJwwFileWriter w(600);
    w.stream.Block(MakeInsert(0, 0, 0));
    for (uint32_t level = 0; level < 8; ++level) {
        w.stream.BeginBlockDef(MakeBlockDef(level, "level"));
        for (int i = 0; i < 10; ++i) w.stream.Block(MakeInsert(level + 1, i, 0));
        w.stream.Line(MakeLine(0, 0, 1, 0)).EndBlockDef();
    }
    TJwwData jww = Load(w);
    EXPECT_TRUE(jww.blockTreesCut);
    EXPECT_EQ(jww.blockTrees.size(), TJwwEntityModel::kMaxBlockTrees);
    EXPECT_FALSE(jww.ExpandBlocks());
    EXPECT_EQ(jww.lines.size(), TJwwEntityModel::kMaxBlockTrees);
    EXPECT_TRUE(jww.blockTrees.empty());
    EXPECT_FALSE(jww.blockDefs.empty());  // kept, as after running out of memory
    EXPECT_TRUE(jww.ExpandBlocks());      // nothing left to append twice
    EXPECT_EQ(jww.lines.size(), TJwwEntityModel::kMaxBlockTrees);
}

TEST(JwwBlocks, ExpandedRecordsAreBounded)
{
    // 1000 placements of a definition with 2500 lines: 2.5 million copies asked for.
    TJwwFileWriter w(600);
    for (int i = 0; i < 1000; ++i) w.stream.Block(MakeInsert(1, i, 0));
    w.stream.BeginBlockDef(MakeBlockDef(1, "b"));
    for (int i = 0; i < 2500; ++i) w.stream.Line(MakeLine(i, 0, i, 1));
    w.stream.EndBlockDef();
    TJwwData jww = Load(w);
    EXPECT_FALSE(jww.ExpandBlocks());
    EXPECT_EQ(jww.lines.size(), TJwwEntityModel::kMaxExpandedRecords);
}

TEST(JwwBlocks, DimensionsMapTheirSxfPartsOnlyAndTheirText)
{
    TEntJwwSunpo d;
    d.common = Common(1, 1);
    d.line = MakeLine(0, 0, 10, 0, Common(1, 1));
    d.text.common = Common(1, 1);
    d.text.startX = 3;
    d.auxLine1 = MakeLine(0, 0, 0, 2, Common(1, 1));
    d.auxLine2 = MakeLine(10, 0, 10, 2, Common(1, 1));
    d.point1 = MakePoint(1, 1, Common(1, 1));
    for (uint16_t sxf : {uint16_t{0}, uint16_t{2}}) {
        d.sxfMode = sxf;
        TJwwFileWriter w(420);
        w.stream.Block(MakeInsert(1, 100, 0, 1, 1, 0, Common(8, 0)));
        w.stream.BeginBlockDef(MakeBlockDef(1, "dim")).Dimension(d).EndBlockDef();
        TJwwData jww = Load(w);
        ASSERT_TRUE(jww.ExpandBlocks());
        ASSERT_EQ(jww.dimensions.size(), 1u);
        const TEntJwwSunpo& got = jww.dimensions[0];
        EXPECT_EQ(got.line.startX, 100);
        EXPECT_EQ(got.text.startX, 103);
        EXPECT_EQ(got.auxLine2.startX, sxf ? 110 : 0);
        EXPECT_EQ(got.point1.x, sxf ? 101 : 0);
        for (const TEntJwwCommon* c : {&got.common, &got.line.common, &got.text.common, &got.auxLine1.common,
                                       &got.point4.common})
            EXPECT_EQ(c->layer, 8);
    }
}

// A text member follows its placement only when texts are expanded: turned with the map,
// stretched along and across its baseline, never mirrored.
TEST(JwwBlocks, TextsFollowTheirPlacementWhenAsked)
{
    struct TCase {
        double scaleX, scaleY, rotation;  // the placement (rotation in radians)
        double angle, sizeX, sizeY;       // the text's, from angle 0, size 2 x 3
    } const cases[] = {
        {1, 1, 0, 0, 2, 3},
        {2, 1, 0, 0, 4, 3},
        {1, 1, std::numbers::pi / 2, 90, 2, 3},
        {-1, 1, 0, 180, 2, 3},  // mirrored: the baseline turns round, the text stays readable
        {1, 0, 0, 0, 2, 0},     // flattened to its baseline
    };
    for (const TCase& c : cases) {
        TEntJwwMoji text;
        text.common = Common(1, 1);
        text.sizeX = 2, text.sizeY = 3, text.startX = 1;
        text.text.push_back('A');
        TJwwFileWriter w(600);
        w.stream.Block(MakeInsert(1, 10, 0, c.scaleX, c.scaleY, c.rotation));
        w.stream.BeginBlockDef(MakeBlockDef(1, "t")).Text(text).EndBlockDef();
        TJwwData plain = Load(w), withTexts = Load(w);
        ASSERT_TRUE(plain.ExpandBlocks());
        EXPECT_TRUE(plain.texts.empty());
        ASSERT_TRUE(withTexts.ExpandBlocks(true));
        ASSERT_EQ(withTexts.texts.size(), 1u);
        const TEntJwwMoji& got = withTexts.texts[0];
        SCOPED_TRACE(testing::Message() << c.scaleX << " " << c.scaleY << " " << c.rotation);
        EXPECT_NEAR(std::fabs(got.angle), c.angle, 1e-9);
        EXPECT_NEAR(got.sizeX, c.sizeX, 1e-9);
        EXPECT_NEAR(got.sizeY, c.sizeY, 1e-9);
        EXPECT_NEAR(got.startX, 10 + c.scaleX * std::cos(c.rotation), 1e-9);
    }
}

TEST(JwwBlocks, ArcsAreMappedAndCollapsedArcsLeftOut)
{
    TJwwFileWriter w(600);
    TEntJwwEnko circle = MakeArc(0, 0, 2, 0, 0);
    circle.fullCircle = 1;
    w.stream.Block(MakeInsert(1, 0, 0, 3, 1)).Block(MakeInsert(1, 0, 0, 0, 0));  // stretched, collapsed
    w.stream.BeginBlockDef(MakeBlockDef(1, "c")).Arc(circle).EndBlockDef();
    TJwwData jww = Load(w);
    ASSERT_TRUE(jww.ExpandBlocks());
    ASSERT_EQ(jww.arcs.size(), 1u);
    EXPECT_NEAR(jww.arcs[0].radius, 6, 1e-9);
    EXPECT_NEAR(jww.arcs[0].flatness, 1.0 / 3, 1e-9);
    EXPECT_EQ(jww.arcs[0].fullCircle, 1);
}

TEST(JwwBlocks, SolidsMapCornersOrTheirArcShape)
{
    TEntJwwSolid quad;
    quad.common = Common();
    quad.x1 = 1, quad.y1 = 0, quad.x2 = 2, quad.y2 = 0, quad.x3 = 2, quad.y3 = 1, quad.x4 = 1, quad.y4 = 1;
    auto arcSolid = [](uint8_t type, double y4, double sweep) {
        TEntJwwSolid s;
        s.common = Common(0, 0, 10, type);
        s.fillColor = 0x0000FF;
        s.x1 = 0, s.y1 = 0, s.x2 = 2, s.y2 = 1, s.x3 = 0, s.y3 = 0, s.x4 = sweep, s.y4 = y4;
        return s;
    };
    TJwwFileWriter w(600);
    w.stream.Block(MakeInsert(1, 10, 0, 2, 2));
    w.stream.BeginBlockDef(MakeBlockDef(1, "s")).Solid(quad);
    w.stream.Solid(arcSolid(101, 100.7, kPi / 2));  // whole ellipse: y4 truncates to 100
    w.stream.Solid(arcSolid(111, 0, kPi / 2));      // an arc
    w.stream.Solid(arcSolid(105, 1, kPi / 2));      // a ring: y4 is the second radius
    w.stream.Solid(arcSolid(106, 1, 0));            // a ring of a whole ellipse
    w.stream.Solid(arcSolid(106, 0, kPi));          // a sector: no second radius
    w.stream.EndBlockDef();
    TJwwData jww = Load(w);
    ASSERT_TRUE(jww.ExpandBlocks());
    ASSERT_EQ(jww.solids.size(), 6u);
    EXPECT_EQ(jww.solids[0].x1, 12);
    EXPECT_EQ(jww.solids[0].y4, 2);
    for (size_t i = 1; i < 6; ++i) {
        SCOPED_TRACE(i);
        EXPECT_NEAR(jww.solids[i].x1, 10, 1e-12);  // centre
        EXPECT_NEAR(jww.solids[i].x2, 4, 1e-12);   // radius
        EXPECT_EQ(jww.solids[i].fillColor, 0x0000FFu);
    }
    EXPECT_EQ(jww.solids[1].y4, 100.7);   // flags copied
    EXPECT_NEAR(jww.solids[2].x4, kPi / 2, 1e-12);
    EXPECT_NEAR(jww.solids[3].y4, 2, 1e-12);  // second radius scaled
    EXPECT_NEAR(jww.solids[4].y4, 2, 1e-12);
    EXPECT_EQ(jww.solids[5].y4, 0);
}
