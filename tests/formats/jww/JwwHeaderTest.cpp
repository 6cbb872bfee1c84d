// The file header: signature, version-dependent block sizes, layer states and pen colours.
#include <gtest/gtest.h>

#include "formats/jww/jwwunit.h"
#include "support/JwwWriter.h"
#include "support/ReaderLoads.h"
#include "support/TempDir.h"

using namespace jwwfixture;

namespace {

// A drawing of `version` with distinctive values at both ends of the header and one line.
TJwwFileWriter MarkedDrawing(int32_t version)
{
    TJwwFileWriter w(version);
    w.header.memo = "memo\r\nline two";
    w.header.groupScales[0] = 50;
    w.header.layerNames[53] = "layer 3-5";
    w.header.groupNames[15] = "group F";
    w.header.shadowExtra = 7.5;
    w.header.zoomMark1 = {2.0, 3.0};
    w.header.drawingTime = 1234;
    w.header.textWidth = 3.25;
    w.stream.Line(MakeLine(1, 2, 3, 4, Common(5, 3, 2)));
    return w;
}

}  // namespace

TEST(JwwHeader, SignatureMustMatchExactlyAndAnEightByteFileHasNoVersion)
{
    TTempDir dir;
    WriteFileBytes(dir / "exact.jww", "JwwData.");
    WriteFileBytes(dir / "lower.jww", std::string_view("jwwdata.\0\0", 10));
    WriteFileBytes(dir / "short.jww", "Jww");
    TJwwData jww;
    EXPECT_TRUE(jww.CheckSignature(dir / "exact.jww"));
    EXPECT_FALSE(jww.CheckSignature(dir / "lower.jww"));
    EXPECT_FALSE(jww.CheckSignature(dir / "short.jww"));
    EXPECT_FALSE(jww.CheckSignature(dir / "missing.jww"));
    EXPECT_FALSE(jww.LoadFile(dir / "exact.jww"));
    EXPECT_TRUE(jww.lines.empty());
    EXPECT_TRUE(jww.layerGroups.empty());
    EXPECT_FALSE(jww.LoadFile(dir / "missing.jww"));
    EXPECT_FALSE(jww.LoadFile(dir.Path()));  // a folder is no drawing
}

TEST(JwwHeader, EveryVersionFormIsConsumedExactly)
{
    // Block sizes change at 223, 225, 230, 231, 300 and 420; 221 and 226..229 have no
    // display flags; 351 adds lineWidth to every record.
    for (int32_t version : {220, 221, 223, 225, 226, 229, 230, 231, 300, 350, 351, 419, 420, 600, 700}) {
        SCOPED_TRACE(version);
        TJwwFileWriter w = MarkedDrawing(version);
        TJwwData jww;
        ASSERT_TRUE(jww.LoadBytes(AsBytes(w.Build())));
        EXPECT_EQ(jww.header.version, version);
        EXPECT_EQ(jww.header.memo, "memoline two");
        EXPECT_EQ(jww.DrawingScale(), 50);
        EXPECT_EQ(jww.layers[53].name, "layer 3-5");  // group 3, layer 5
        EXPECT_EQ(jww.layerGroups[15].name, "group F");
        EXPECT_EQ(jww.header.zoomMarks[0].magnification, 2.0);
        EXPECT_EQ(jww.header.zoomMarks[0].x, 3.0);
        EXPECT_EQ(jww.header.textWidth, 3.25);
        const bool longDisplay = version == 223 || version == 225 || version >= 230;
        EXPECT_EQ(jww.header.drawingTime, longDisplay ? 1234 : 0);
        EXPECT_EQ(jww.header.shadow[3], version >= 300 ? 7.5 : 0.0);  // read from 231, kept from 300
        ASSERT_EQ(jww.lines.size(), 1u);
        EXPECT_EQ(jww.lines[0].endY, 4);
        EXPECT_EQ(jww.lines[0].common.layer, 5);
        EXPECT_EQ(jww.lines[0].common.layerGroup, 3);
        EXPECT_EQ(jww.streamEnd, w.Build().size());
    }
}

TEST(JwwHeader, VersionBelow220StopsAfterTheVersion)
{
    TJwwFileWriter w(219);
    w.stream.Line(MakeLine(0, 0, 1, 1));
    TJwwData jww;
    EXPECT_FALSE(jww.LoadBytes(AsBytes(w.Build())));
    EXPECT_EQ(jww.header.signature, "JwwData.");
    EXPECT_EQ(jww.header.version, 219);
    EXPECT_TRUE(jww.lines.empty());
    EXPECT_TRUE(jww.pens.empty());
}

TEST(JwwHeader, ResetRestoresTheDefaultsThatAreNotZero)
{
    TJwwData jww;
    ASSERT_TRUE(jww.LoadBytes(AsBytes(MarkedDrawing(600).Build())));
    jww.Clear();
    EXPECT_EQ(jww.header.printScale, 1.0);
    EXPECT_EQ(jww.header.markSpacingY, 1.0);
    EXPECT_EQ(jww.header.view[0], 1.0);
    EXPECT_EQ(jww.header.view[3], 1.0);
    EXPECT_EQ(jww.header.zoomMarks[7].magnification, 1.0);
    EXPECT_EQ(jww.header.zoomMarks[7].layer, -1);
    EXPECT_EQ(jww.header.version, 0);
    EXPECT_TRUE(jww.header.memo.empty());
    EXPECT_TRUE(jww.lines.empty());
    EXPECT_TRUE(jww.layerGroups.empty());
}

TEST(JwwHeader, LayerStatesFollowGroupStateFirst)
{
    TJwwFileWriter w(600);
    w.header.groupStates[0] = 0;  // hidden group: every layer hidden
    w.header.groupStates[1] = 1;  // shown-only group: every layer locked
    w.header.groupStates[2] = 2;  // then the layer's own state decides
    w.header.layerStates[2 * 16 + 0] = 0;
    w.header.layerStates[2 * 16 + 1] = 1;
    w.header.layerStates[2 * 16 + 2] = 2;
    w.header.layerStates[2 * 16 + 3] = 3;
    TJwwData jww;
    ASSERT_TRUE(jww.LoadBytes(AsBytes(w.Build())));
    TgraAttribute attributes;
    jww.LoadLayers(attributes);
    EXPECT_EQ(attributes.LayerState(5), 3);
    EXPECT_EQ(attributes.LayerState(16 + 5), 2);
    EXPECT_EQ(attributes.LayerState(32), 3);
    EXPECT_EQ(attributes.LayerState(33), 2);
    EXPECT_EQ(attributes.LayerState(34), 1);
    EXPECT_EQ(attributes.LayerState(35), 1);
}

TEST(JwwHeader, PensImportScreenColoursAndJudgeTheBackground)
{
    struct Case {
        uint32_t background;
        int startMode, expectedMode;
    };
    for (Case c : {Case{MakeColor(10, 10, 10), 0, 1}, Case{MakeColor(240, 250, 255), 1, 0},
                   Case{MakeColor(128, 128, 128), 1, 1}, Case{MakeColor(128, 128, 128), 0, 0}}) {
        TJwwFileWriter w(600);
        w.header.penColors[0] = c.background;
        w.header.penColors[3] = MakeColor(1, 2, 3);
        w.header.colorExColors[5] = MakeColor(4, 5, 6);
        TJwwData jww;
        ASSERT_TRUE(jww.LoadBytes(AsBytes(w.Build())));
        TgraAttribute attributes;
        attributes.SetBackground(c.startMode);
        jww.ImportPens(attributes);
        EXPECT_EQ(attributes.BackgroundMode(), c.expectedMode);
        EXPECT_EQ(attributes.PenColor(TgraAttribute::PenIndex(3)), MakeColor(1, 2, 3));
        EXPECT_EQ(attributes.PenColor(TgraAttribute::PenIndex(105)), MakeColor(4, 5, 6));
    }
}

TEST(JwwHeader, PensThatWereNeverReadLeaveTheTableAlone)
{
    // A version-419 drawing has no extended colours: pens 101..356 keep their defaults.
    TJwwFileWriter old(419);
    old.header.penColors[0] = MakeColor(0, 0, 0);
    old.header.penColors[1] = MakeColor(9, 9, 9);
    TJwwData jww;
    ASSERT_TRUE(jww.LoadBytes(AsBytes(old.Build())));
    TgraAttribute attributes;
    const uint32_t sxfDefault = attributes.PenColor(TgraAttribute::PenIndex(101));
    jww.ImportPens(attributes);
    EXPECT_EQ(attributes.PenColor(TgraAttribute::PenIndex(1)), MakeColor(9, 9, 9));
    EXPECT_EQ(attributes.PenColor(TgraAttribute::PenIndex(101)), sxfDefault);

    // A drawing that ends before its pens changes nothing, the background mode included.
    std::vector<uint8_t> bytes = TJwwFileWriter(600).Build();
    bytes.resize(2000);
    ASSERT_FALSE(jww.LoadBytes(AsBytes(bytes)));
    TgraAttribute untouched;
    untouched.SetBackground(0);
    untouched.ResetPenColors();
    const uint32_t pen1 = untouched.PenColor(0);
    jww.ImportPens(untouched);
    EXPECT_EQ(untouched.BackgroundMode(), 0);
    EXPECT_EQ(untouched.PenColor(0), pen1);
}

TEST(JwwHeader, ExtendedColourNamesAreReadInTheWideForm)
{
    TJwwFileWriter w(700);
    w.header.colorExName = "\xE8\x89\xB2";  // a kanji (colour)
    w.header.layerNames[0] = "\xE5\xA3\x81";  // another (wall)
    TJwwData jww;
    ASSERT_TRUE(jww.LoadBytes(AsBytes(w.Build())));
    EXPECT_EQ(jww.colorsEx[256].name, "\x90\x46");
    EXPECT_EQ(jww.layers[0].name, "\x95\xC7");
}
