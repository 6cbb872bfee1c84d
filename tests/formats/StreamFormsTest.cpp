// The record forms that depend on the version, for both readers of the entity stream: each
// hands its own version to the shared decoder (a figure file has no lowest version).
#include <gtest/gtest.h>

#include "support/StreamReaders.h"

using namespace jwwfixture;
using namespace streamfixture;

namespace {

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
    d.point2.rotation = 0.5;
    d.point2.scale = 2;
    d.point3 = MakePoint(1, 1);
    d.point4 = MakePoint(2, 2);
    return d;
}

}  // namespace

template <class Data> class StreamForms : public ::testing::Test {};
using TStreamReaders = ::testing::Types<TJwwData, TJwsData>;
TYPED_TEST_SUITE(StreamForms, TStreamReaders);

TYPED_TEST(StreamForms, CommonPartCarriesTheLineWidthFromVersion351)
{
    TEntJwwCommon c = Common(7, 9, 3, 2);
    c.group = 0x01020304;
    c.lineWidth = 4;
    c.flags = 0x2020;
    for (int32_t version : {200, 350, 351}) {
        if (version < TFileOf<TypeParam>::kLowestVersion) continue;
        SCOPED_TRACE(version);
        const auto bytes = TFileOf<TypeParam>::Build(version, [&](TJwwStreamWriter& s) {
            s.Line(MakeLine(1, 2, 3, 4, c)).Arc(MakeArc(5, 6, 7, 0.5, 1, c)).Point(MakePoint(8, 9, c));
        });
        TypeParam data;
        ASSERT_TRUE(data.LoadBytes(AsBytes(bytes)));
        // Entity count, three new-class tags (6 bytes and the name), the bodies with a common
        // part of 13 bytes before 351 and 15 from it, the definition count.
        const size_t common = version >= 351 ? 15 : 13;
        const size_t tags = 3 * 6 + std::string_view("CDataSenCDataEnkoCDataTen").size();
        const size_t bodies = (common + 32) + (common + 60) + (common + 20);
        EXPECT_EQ(bytes.size() - TFileOf<TypeParam>::HeaderSize(version), 2 + tags + bodies + 2);
        ASSERT_EQ(data.lines.size(), 1u);
        ASSERT_EQ(data.arcs.size(), 1u);
        ASSERT_EQ(data.points.size(), 1u);
        for (const TEntJwwCommon* got : {&data.lines[0].common, &data.arcs[0].common, &data.points[0].common}) {
            EXPECT_EQ(got->group, 0x01020304u);
            EXPECT_EQ(got->lineType, 2);
            EXPECT_EQ(got->color, 3);
            EXPECT_EQ(got->lineWidth, version >= 351 ? 4 : 0);
            EXPECT_EQ(got->layer, 7);
            EXPECT_EQ(got->layerGroup, 9);
            EXPECT_EQ(got->flags, 0x2020);
        }
        EXPECT_EQ(data.lines[0].endY, 4);
        EXPECT_EQ(data.arcs[0].radius, 7);
        EXPECT_EQ(data.points[0].scale, 1.0);  // no code part: scale 1
    }
}

TYPED_TEST(StreamForms, DimensionsCarrySxfPartsFrom420AndCopiesOfTheirCommonPartBefore)
{
    for (int32_t version : {420, 419}) {
        SCOPED_TRACE(version);
        TypeParam data;
        const auto bytes = TFileOf<TypeParam>::Build(version, [](TJwwStreamWriter& s) {
            s.Dimension(SxfDimension()).Line(MakeLine(7, 7, 8, 8));
        });
        ASSERT_TRUE(data.LoadBytes(AsBytes(bytes)));
        ASSERT_EQ(data.dimensions.size(), 1u);
        ASSERT_EQ(data.lines.size(), 1u);  // the stream stays in step after the dimension
        EXPECT_EQ(data.lines[0].startX, 7);
        const TEntJwwSunpo& d = data.dimensions[0];
        EXPECT_EQ(d.line.endX, 10);
        EXPECT_EQ(d.line.common.layer, 1);
        EXPECT_EQ(d.text.text, "10");
        if (version == 420) {
            EXPECT_EQ(d.sxfMode, 3);
            EXPECT_EQ(d.auxLine2.startX, 10);
            EXPECT_EQ(d.point1.scale, 0);  // no code: scale 0, unlike a plain point
            EXPECT_EQ(d.point2.x, 10);
            EXPECT_EQ(d.point2.code, 7);
            EXPECT_EQ(d.point2.rotation, 0.5);
            EXPECT_EQ(d.point2.scale, 2);
            EXPECT_EQ(d.point4.y, 2);
            continue;
        }
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

TYPED_TEST(StreamForms, WideStringsOfVersion700BecomeShiftJisText)
{
    TEntJwwMoji t;
    t.common = Common();
    t.fontName = "\xEF\xBC\xAD\xEF\xBC\xB3";  // "ＭＳ"
    t.text = "a\tb\xEF\xBC\xA1";              // a control byte and a full-width A
    TypeParam data;
    const auto bytes = TFileOf<TypeParam>::Build(700, [&](TJwwStreamWriter& s) {
        s.Text(t).Line(MakeLine(1, 1, 2, 2));
        s.BeginBlockDef(MakeBlockDef(0, "\xE9\x83\xA8\xE5\x93\x81")).Line(MakeLine(0, 0, 1, 1)).EndBlockDef();
    });
    ASSERT_TRUE(data.LoadBytes(AsBytes(bytes)));
    ASSERT_EQ(data.texts.size(), 1u);
    EXPECT_EQ(data.texts[0].fontName, "\x82\x6C\x82\x72");
    EXPECT_EQ(data.texts[0].text, "ab\x82\x60");
    EXPECT_EQ(data.lines.size(), 1u);
    ASSERT_EQ(data.blockDefs.size(), 1u);
    EXPECT_EQ(data.blockDefs[0].name, "\x95\x94\x95\x69");
    EXPECT_EQ(data.blockDefs[0].records.lines.size(), 1u);
}
