// The entity stream: counts, class tags and the running index, optional record parts, block
// definitions, and what remains when a record or the stream fails. The version forms, shared
// with figure files: StreamForms.
#include <gtest/gtest.h>

#include "formats/jww/jwwunit.h"
#include "support/JwwWriter.h"
#include "support/ReaderLoads.h"

using namespace jwwfixture;

namespace {

TEntJwwMoji MakeText(std::string text)
{
    TEntJwwMoji t;
    t.common = Common();
    t.sizeX = 5;
    t.fontName = "font";
    t.text = std::move(text);
    return t;
}

}  // namespace

TEST(JwwEntityStream, LongCountReadsAllSeventyThousandObjects)
{
    TJwwFileWriter w(600);
    for (int i = 0; i < 70000; ++i) w.stream.Line(MakeLine(i, 0, i, 1));
    TJwwData jww;
    ASSERT_TRUE(jww.LoadBytes(AsBytes(w.Build())));
    EXPECT_EQ(jww.entityCount, 70000);
    ASSERT_EQ(jww.lines.size(), 70000u);
    EXPECT_EQ(jww.lines.back().startX, 69999);
    EXPECT_EQ(jww.lines.capacity(), jww.lines.size());  // trimmed
}

TEST(JwwEntityStream, ClassReferencesFollowTheRunningIndex)
{
    // Line class gets index 1, the first line 2, the arc class 3, the arc 4; the second
    // line refers to 0x8001, the second arc to 0x8003, the third line uses the long form.
    TJwwFileWriter w(600);
    w.stream.Line(MakeLine(0, 0, 1, 0)).Arc(MakeArc(0, 0, 1, 0, 1)).Line(MakeLine(2, 0, 3, 0));
    w.stream.Arc(MakeArc(5, 5, 2, 0, 1)).Line(MakeLine(4, 0, 5, 0), ETag::LongReference);
    TJwwData jww;
    ASSERT_TRUE(jww.LoadBytes(AsBytes(w.Build())));
    ASSERT_EQ(jww.lines.size(), 3u);
    ASSERT_EQ(jww.arcs.size(), 2u);
    EXPECT_EQ(jww.lines[2].startX, 4);
    EXPECT_EQ(jww.arcs[1].centerX, 5);
    ASSERT_EQ(jww.classes.size(), 2u);
    EXPECT_EQ(jww.classes[0].index, 1);
    EXPECT_EQ(jww.classes[1].index, 3);
    EXPECT_EQ(jww.classes[1].name, "CDataEnko");
}

TEST(JwwEntityStream, TagForAClassNobodyIntroducedEndsTheStream)
{
    TJwwFileWriter w(600);
    w.stream.Line(MakeLine(0, 0, 1, 0));
    w.stream.RawObject({0x05, 0x80});  // class index 5: never introduced
    w.stream.Line(MakeLine(2, 0, 3, 0));
    TJwwData jww;
    EXPECT_FALSE(jww.LoadBytes(AsBytes(w.Build())));
    EXPECT_EQ(jww.lines.size(), 1u);

    TJwwFileWriter unknown(600);
    unknown.stream.Line(MakeLine(0, 0, 1, 0));
    unknown.stream.RawObject({0xFF, 0xFF, 0xBC, 0x02, 0x08, 0x00, 'C', 'D', 'a', 't', 'a', 'X', 'y', 'z'});
    EXPECT_FALSE(jww.LoadBytes(AsBytes(unknown.Build())));
    EXPECT_EQ(jww.lines.size(), 1u);
}

TEST(JwwEntityStream, PointCodeAndSolidColourAreReadOnlyWhenFlagged)
{
    TJwwFileWriter w(600);
    TEntJwwTen coded = MakePoint(1, 1, Common(0, 0, 1, 100));
    coded.code = 12;
    coded.rotation = 0.25;
    coded.scale = 3;
    TEntJwwTen plain = MakePoint(2, 2, Common(0, 0, 1, 99));
    plain.code = 5;  // not written: lineType is not 100
    TEntJwwSolid own;
    own.common = Common(0, 0, 10);
    own.fillColor = 0x00123456;
    TEntJwwSolid pen;
    pen.common = Common(0, 0, 3);
    pen.fillColor = 0x00FFFFFF;  // not written: colour is not 10
    w.stream.Point(coded).Point(plain).Solid(own).Solid(pen).Line(MakeLine(9, 9, 9, 9));
    TJwwData jww;
    ASSERT_TRUE(jww.LoadBytes(AsBytes(w.Build())));
    ASSERT_EQ(jww.points.size(), 2u);
    EXPECT_EQ(jww.points[0].code, 12);
    EXPECT_EQ(jww.points[0].rotation, 0.25);
    EXPECT_EQ(jww.points[0].scale, 3);
    EXPECT_EQ(jww.points[1].code, 0);
    EXPECT_EQ(jww.points[1].rotation, 0);
    EXPECT_EQ(jww.points[1].scale, 1.0);
    ASSERT_EQ(jww.solids.size(), 2u);
    EXPECT_EQ(jww.solids[0].fillColor, 0x00123456u);
    EXPECT_EQ(jww.solids[1].fillColor, 0u);
    ASSERT_EQ(jww.lines.size(), 1u);
    EXPECT_EQ(jww.lines[0].startX, 9);
}

TEST(JwwEntityStream, TextStringsKeepTheirFirst255Bytes)
{
    TJwwFileWriter w(600);
    TEntJwwMoji t = MakeText(std::string(300, 'q'));
    t.fontName = std::string(256, 'f');
    w.stream.Text(t).Line(MakeLine(1, 1, 2, 2));
    TJwwData jww;
    ASSERT_TRUE(jww.LoadBytes(AsBytes(w.Build())));
    ASSERT_EQ(jww.texts.size(), 1u);
    EXPECT_EQ(jww.texts[0].text, std::string(255, 'q'));
    EXPECT_EQ(jww.texts[0].fontName, std::string(255, 'f'));
    EXPECT_EQ(jww.texts[0].sizeX, 5);
    EXPECT_EQ(jww.lines.size(), 1u);  // the position went over all 300 bytes
}

TEST(JwwEntityStream, BlockDefinitionsKeepTheirMembersInFileOrder)
{
    TJwwFileWriter w(600);
    w.stream.Block(MakeInsert(7, 0, 0));
    TEntJwwBlockDef first = MakeBlockDef(7, "first");
    first.time = -5;  // a long time value follows; the position replaces it
    w.stream.BeginBlockDef(first).Line(MakeLine(0, 0, 1, 0)).Arc(MakeArc(0, 0, 1, 0, 1));
    w.stream.Line(MakeLine(0, 1, 1, 1)).Text(MakeText("t")).EndBlockDef();
    w.stream.BeginBlockDef(MakeBlockDef(8, "second")).Arc(MakeArc(0, 0, 2, 0, 1)).EndBlockDef();
    w.stream.trailing = {0, 0, 0, 0};
    const auto bytes = w.Build();
    TJwwData jww;
    ASSERT_TRUE(jww.LoadBytes(AsBytes(bytes)));
    EXPECT_EQ(jww.streamEnd, bytes.size() - 4);  // the four trailing bytes are not read
    ASSERT_EQ(jww.blockDefs.size(), 2u);
    EXPECT_EQ(jww.blockDefCount, 2);
    const TEntJwwBlockDef& def = jww.blockDefs[0];
    EXPECT_EQ(def.time, 1);
    EXPECT_EQ(def.name, "first");
    EXPECT_EQ(def.memberCount, 4);
    ASSERT_EQ(def.members.size(), 4u);
    const int32_t expected[4][2] = {{1, 0}, {2, 0}, {1, 1}, {4, 0}};
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(def.members[i].kind, expected[i][0]);
        EXPECT_EQ(def.members[i].index, expected[i][1]);
    }
    EXPECT_EQ(def.records.lines[1].startY, 1);
    EXPECT_EQ(jww.blockDefs[1].time, 1);  // positive time as read
    EXPECT_EQ(jww.blockDefs[1].records.arcs[0].radius, 2);
    // Running index: CDataBlock 1, insert 2, CDataList 3, definition 4, CDataSen 5, ...
    ASSERT_GE(jww.classes.size(), 3u);
    EXPECT_EQ(jww.classes[1].index, 3);
    EXPECT_EQ(jww.classes[1].name, "CDataList");
    EXPECT_EQ(jww.classes[2].index, 5);
}

TEST(JwwEntityStream, RecordCutByTheEndOfFileIsDroppedAndTheRestStays)
{
    TJwwFileWriter w(600);
    w.stream.Line(MakeLine(0, 0, 1, 0)).Line(MakeLine(1, 0, 2, 0)).Arc(MakeArc(0, 0, 1, 0, 1));
    auto bytes = w.Build();
    bytes.resize(bytes.size() - 10);  // inside the arc
    TJwwData jww;
    EXPECT_FALSE(jww.LoadBytes(AsBytes(bytes)));
    EXPECT_EQ(jww.lines.size(), 2u);
    EXPECT_TRUE(jww.arcs.empty());
    EXPECT_EQ(jww.entityCount, 3);

    // Inside a definition: the members completed stay, the cut one has no member entry.
    TJwwFileWriter d(600);
    d.stream.BeginBlockDef(MakeBlockDef(1, "b")).Line(MakeLine(0, 0, 1, 0)).Arc(MakeArc(0, 0, 1, 0, 1)).EndBlockDef();
    bytes = d.Build();
    bytes.resize(bytes.size() - 10);
    EXPECT_FALSE(jww.LoadBytes(AsBytes(bytes)));
    ASSERT_EQ(jww.blockDefs.size(), 1u);
    EXPECT_EQ(jww.blockDefs[0].members.size(), 1u);
    EXPECT_EQ(jww.blockDefs[0].records.lines.size(), 1u);
}

TEST(JwwEntityStream, HugeDeclaredCountsDoNotReserveMemory)
{
    TJwwFileWriter w(600);
    w.stream.blockDefCountOverride = 0x7FFFFFFF;
    w.stream.BeginBlockDef(MakeBlockDef(1, "b"), 0x7FFFFFFF).Line(MakeLine(0, 0, 1, 0)).EndBlockDef();
    TJwwData jww;
    EXPECT_FALSE(jww.LoadBytes(AsBytes(w.Build())));
    ASSERT_EQ(jww.blockDefs.size(), 1u);
    EXPECT_LT(jww.blockDefs.capacity(), 100u);
    EXPECT_LT(jww.blockDefs[0].members.capacity(), 100u);
    EXPECT_EQ(jww.blockDefs[0].records.lines.size(), 1u);
}
