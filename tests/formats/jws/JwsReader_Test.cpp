// The figure-file reader: its signature, its fixed header, the shared entity stream read in
// the form of the file's own version (no lowest version), the layer states it hands on, and
// what stays after a failure or a Clear.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "formats/jws/jwsunit.h"
#include "support/JwsWriter.h"
#include "support/TempDir.h"

using namespace jwwfixture;
using jwsfixture::TJwsFileWriter;

namespace {

std::string AsText(const std::vector<uint8_t>& bytes) { return std::string(bytes.begin(), bytes.end()); }

TEntJwwSunpo SxfDimension()
{
    TEntJwwSunpo d;
    d.common = Common(4, 2, 6, 1);
    d.line = MakeLine(0, 0, 10, 0, Common(1, 1, 2));
    d.text.fontName = "f";
    d.text.text = "10";
    d.sxfMode = 3;
    d.auxLine1 = MakeLine(0, -1, 0, 1);
    d.auxLine2 = MakeLine(10, -1, 10, 1);
    d.point1 = MakePoint(0, 0);
    d.point2 = MakePoint(10, 0, Common(0, 0, 1, 100));
    d.point2.code = 7;
    d.point2.scale = 2;
    d.point3 = MakePoint(1, 1);
    d.point4 = MakePoint(2, 2);
    return d;
}

// One block (number 5, holding one line) placed once.
TJwsFileWriter WithPlacedBlock(int32_t version)
{
    TJwsFileWriter w(version);
    w.stream.Block(MakeInsert(5, 10, 20));
    w.stream.BeginBlockDef(MakeBlockDef(5, "b")).Line(MakeLine(0, 0, 1, 0)).EndBlockDef();
    return w;
}

}  // namespace

TEST(JwsReader, SignatureIsTheFirstSevenBytesExactlyInThatCase)
{
    TTempDir dir;
    const struct {
        const char* bytes;
        bool accepted;
    } cases[] = {
        {"JwsData", true},   {"JwsData.", true}, {"JwsDataX and more", true},
        {"JWSDATA.", false}, {"jwsdata.", false}, {"JwsDat", false}, {"JwwData.", false},
    };
    TJwsData jws;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bytes);
        WriteFileBytes(dir / "f.jws", c.bytes);
        EXPECT_EQ(jws.CheckSignature(dir / "f.jws"), c.accepted);
    }
    EXPECT_FALSE(jws.CheckSignature(dir / "missing.jws"));
    EXPECT_FALSE(jws.LoadFile(dir / "missing.jws"));
    EXPECT_FALSE(jws.LoadFile(dir.Path()));  // a folder is not a file
    ASSERT_EQ(jws.layerGroups.size(), 0u);
}

TEST(JwsReader, TwoHundredByteFileFailsAtTheVersionWithSixteenEmptyGroups)
{
    TTempDir dir;
    std::vector<uint8_t> bytes = TJwsFileWriter(600).Build();
    bytes.resize(200);
    WriteFileBytes(dir / "short.jws", AsText(bytes));
    TJwsData jws;
    EXPECT_TRUE(jws.CheckSignature(dir / "short.jws"));
    EXPECT_FALSE(jws.LoadFile(dir / "short.jws"));
    EXPECT_EQ(jws.signature, "JwsData");
    EXPECT_EQ(jws.version, 0);
    ASSERT_EQ(jws.layerGroups.size(), 16u);
    for (const TEntJwwLayerGroup& g : jws.layerGroups) {
        EXPECT_EQ(g.state, 0);
        EXPECT_EQ(g.writeLayer, 0);
        EXPECT_EQ(g.scale, 0);
        EXPECT_EQ(g.protect, 0);
        EXPECT_TRUE(g.name.empty());
    }
    for (int k = 1; k <= 7; ++k) EXPECT_EQ(jws.Count(static_cast<EJwwKind>(k)), 0u);
    EXPECT_TRUE(jws.blockTrees.empty());
}

TEST(JwsReader, GroupScalesReachTheGroupsInOrderAndSurviveAFailureRightAfterTheHeader)
{
    TJwsFileWriter w(600);
    for (int g = 0; g < 16; ++g) w.groupScales[static_cast<size_t>(g)] = 10 + g + 0.25;
    w.stream.Line(MakeLine(0, 0, 1, 1));
    const std::vector<uint8_t> bytes = w.Build();
    TJwsData jws;
    for (size_t length : {bytes.size(), jwsfixture::kHeaderSize}) {
        SCOPED_TRACE(length);
        EXPECT_EQ(jws.LoadBytes(bytes.data(), length), length == bytes.size());
        EXPECT_EQ(jws.version, 600);
        ASSERT_EQ(jws.layerGroups.size(), 16u);
        for (int g = 0; g < 16; ++g) {
            const TEntJwwLayerGroup& group = jws.layerGroups[static_cast<size_t>(g)];
            EXPECT_EQ(group.scale, 10 + g + 0.25);
            EXPECT_EQ(group.state, 2);
            EXPECT_EQ(group.writeLayer, 0);
            EXPECT_EQ(group.protect, 0);
        }
        EXPECT_EQ(jws.DrawingScale(), 10.25);
    }
    EXPECT_TRUE(jws.lines.empty());
}

TEST(JwsReader, VersionTwoHundredIsReadWithTheShortCommonPart)
{
    TJwsFileWriter w(200);
    TEntJwwCommon c = Common(5, 3, 4, 2);
    c.lineWidth = 77;  // not in the file below 351
    c.flags = 0x2020;
    c.group = 9;
    w.stream.Line(MakeLine(1, 2, 3, 4, c)).Arc(MakeArc(5, 6, 7, 0.5, 1, c)).Point(MakePoint(8, 9, c));
    TJwsData jws;
    ASSERT_TRUE(jws.LoadBytes(w.Build()));
    EXPECT_EQ(jws.version, 200);
    ASSERT_EQ(jws.lines.size(), 1u);
    ASSERT_EQ(jws.arcs.size(), 1u);
    ASSERT_EQ(jws.points.size(), 1u);
    for (const TEntJwwCommon* r : {&jws.lines[0].common, &jws.arcs[0].common, &jws.points[0].common}) {
        EXPECT_EQ(r->lineWidth, 0);
        EXPECT_EQ(r->group, 9u);
        EXPECT_EQ(r->lineType, 2);
        EXPECT_EQ(r->color, 4);
        EXPECT_EQ(r->layer, 5);
        EXPECT_EQ(r->layerGroup, 3);
        EXPECT_EQ(r->flags, 0x2020);
    }
    EXPECT_EQ(jws.lines[0].endY, 4);
    EXPECT_EQ(jws.arcs[0].radius, 7);
    EXPECT_EQ(jws.points[0].scale, 1.0);  // no code part: scale 1

    // The same records at 351 carry their width.
    TJwsFileWriter later(351);
    later.stream.Line(MakeLine(1, 2, 3, 4, c));
    ASSERT_TRUE(jws.LoadBytes(later.Build()));
    ASSERT_EQ(jws.lines.size(), 1u);
    EXPECT_EQ(jws.lines[0].common.lineWidth, 77);
}

TEST(JwsReader, DimensionsTakeTheirSxfPartsFromVersion420AndCopiesBefore)
{
    for (int32_t version : {420, 419}) {
        SCOPED_TRACE(version);
        TJwsFileWriter w(version);
        w.stream.Dimension(SxfDimension()).Line(MakeLine(7, 7, 8, 8));
        TJwsData jws;
        ASSERT_TRUE(jws.LoadBytes(w.Build()));
        ASSERT_EQ(jws.dimensions.size(), 1u);
        ASSERT_EQ(jws.lines.size(), 1u);  // the stream stays in step after the dimension
        EXPECT_EQ(jws.lines[0].startX, 7);
        const TEntJwwSunpo& d = jws.dimensions[0];
        EXPECT_EQ(d.line.endX, 10);
        EXPECT_EQ(d.text.text, "10");
        if (version == 420) {
            EXPECT_EQ(d.sxfMode, 3);
            EXPECT_EQ(d.auxLine2.startX, 10);
            EXPECT_EQ(d.point2.x, 10);
            EXPECT_EQ(d.point2.code, 7);
            EXPECT_EQ(d.point2.scale, 2);
            EXPECT_EQ(d.point4.y, 2);
        } else {
            EXPECT_EQ(d.sxfMode, 0);
            for (const TEntJwwSen* l : {&d.auxLine1, &d.auxLine2}) {
                EXPECT_EQ(l->common.layer, 4);
                EXPECT_EQ(l->common.layerGroup, 2);
                EXPECT_EQ(l->common.color, 6);
                EXPECT_EQ(l->startX, 0);
                EXPECT_EQ(l->endY, 0);
            }
            for (const TEntJwwTen* p : {&d.point1, &d.point2, &d.point3, &d.point4}) {
                EXPECT_EQ(p->common.layer, 4);
                EXPECT_EQ(p->common.color, 6);
                EXPECT_EQ(p->common.lineType, 0);
                EXPECT_EQ(p->x, 0);
                EXPECT_EQ(p->code, 0);
                EXPECT_EQ(p->scale, 0);
            }
        }
    }
}

TEST(JwsReader, WideStringsOfCurrentVersionsBecomeShiftJisText)
{
    TJwsFileWriter w(700);  // strings written wide
    TEntJwwMoji t;
    t.common = Common();
    t.fontName = "\xEF\xBC\xAD\xEF\xBC\xB3";  // "ＭＳ"
    t.text = "ab\tc";
    w.stream.Text(t).Line(MakeLine(1, 1, 2, 2));
    TJwsData jws;
    ASSERT_TRUE(jws.LoadBytes(w.Build()));
    ASSERT_EQ(jws.texts.size(), 1u);
    EXPECT_EQ(jws.texts[0].fontName, "\x82\x6C\x82\x72");
    EXPECT_EQ(jws.texts[0].text, "abc");
    EXPECT_EQ(jws.lines.size(), 1u);
}

TEST(JwsReader, BlockTreesAreBuiltWhetherOrNotTheFileIsComplete)
{
    std::vector<uint8_t> bytes = WithPlacedBlock(600).Build();
    TJwsData jws;
    ASSERT_TRUE(jws.LoadBytes(bytes));
    ASSERT_EQ(jws.blockTrees.size(), 1u);
    EXPECT_EQ(jws.blockTrees[0].defIndex, 0);
    EXPECT_EQ(jws.blockTrees[0].transform.originX, 10);

    // Cut inside the definition's line: the placement is kept and gets its tree entry.
    EXPECT_FALSE(jws.LoadBytes(bytes.data(), bytes.size() - 1));
    ASSERT_EQ(jws.blockInserts.size(), 1u);
    ASSERT_EQ(jws.blockTrees.size(), 1u);
    EXPECT_EQ(jws.blockTrees[0].blockNumber, 5);
}

TEST(JwsReader, BytesAfterTheBlockDefinitionsAreNotRead)
{
    TJwsFileWriter w = WithPlacedBlock(420);
    w.stream.trailing = {0xFF, 0xFF, 0x01};
    TJwsData jws;
    EXPECT_TRUE(jws.LoadBytes(w.Build()));
    EXPECT_EQ(jws.streamStart, jwsfixture::kHeaderSize);
    EXPECT_EQ(jws.blockDefs.size(), 1u);
}

TEST(JwsReader, LoadLayersShowsEveryLayer)
{
    TgraAttribute attributes;
    for (int i = 0; i < TgraAttribute::kLayerCount; ++i) attributes.SetLayerState(i, i % 2 ? 3 : 2);
    TJwsData jws;
    ASSERT_TRUE(jws.LoadBytes(TJwsFileWriter(600).Build()));
    jws.LoadLayers(attributes);
    for (int i = 0; i < TgraAttribute::kLayerCount; ++i) EXPECT_EQ(attributes.LayerState(i), 1) << i;
}

TEST(JwsReader, ClearAndTheNextLoadLeaveNothingOfTheFileBefore)
{
    TTempDir dir;
    TJwsFileWriter w = WithPlacedBlock(600);
    w.groupScales[0] = 5;
    w.stream.Line(MakeLine(0, 0, 1, 1)).Dimension(SxfDimension());
    WriteFileBytes(dir / "a.jws", AsText(w.Build()));
    TJwsData jws;
    ASSERT_TRUE(jws.LoadFile(dir / "a.jws"));
    ASSERT_EQ(jws.lines.size(), 1u);
    ASSERT_TRUE(jws.LoadFile(dir / "a.jws"));
    EXPECT_EQ(jws.lines.size(), 1u);  // not appended to the first load
    EXPECT_EQ(jws.blockDefs.size(), 1u);

    jws.Clear();
    EXPECT_TRUE(jws.signature.empty());
    EXPECT_EQ(jws.version, 0);
    EXPECT_TRUE(jws.layerGroups.empty());
    for (int k = 1; k <= 7; ++k) EXPECT_EQ(jws.Count(static_cast<EJwwKind>(k)), 0u);
    EXPECT_TRUE(jws.blockDefs.empty());
    EXPECT_TRUE(jws.blockTrees.empty());
    EXPECT_EQ(jws.entityCount, 0);
    EXPECT_EQ(jws.blockDefCount, 0);
    EXPECT_EQ(jws.DrawingScale(), 1.0);
}
