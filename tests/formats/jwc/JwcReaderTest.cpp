#include <gtest/gtest.h>

#include "formats/jwc/jwcrecords.h"
#include "formats/jwc/jwcunit.h"
#include "support/JwcWriter.h"
#include "support/OldFormatChecks.h"
#include "support/ReaderLoads.h"

using fixture::MakeArc;
using fixture::MakeLine;
using fixture::MakePoint;

namespace {

JwcWriter MixedDrawing()
{
    JwcWriter w = fixture::MixedFile<JwcWriter>();
    w.LayerNames[0] = "wall";
    w.GroupNames[15] = "last group";
    return w;
}

TJwcData Load(const JwcWriter& writer) { return fixture::LoadedFrom<TJwcData>(writer); }

}  // namespace

TEST(JwcLayout, TheFixedHeaderEndsAt2421WithFloatScalesAnd2389Without)
{
    JwcWriter w;
    EXPECT_EQ(w.ScalesStart(), 1797u);
    EXPECT_EQ(w.LinesStart(), 2421u);
    w.FloatScales = false;
    EXPECT_EQ(w.LinesStart(), 2389u);
}

TEST(JwcLoad, ReadsTheSameDrawingWithFloatAndWithWordScales)
{
    JwcWriter w = MixedDrawing();
    w.GroupScales[0] = 50;
    w.GroupScales[1] = 12.5f;   // only a float32 scale keeps the fraction
    w.GroupScales[15] = 3;

    TJwcData withF = Load(w);
    w.FloatScales = false;
    TJwcData withoutF = Load(w);

    EXPECT_TRUE(withF.FloatScales);
    EXPECT_FALSE(withoutF.FloatScales);
    EXPECT_EQ(withF.DrawingScale(), 50.0);
    EXPECT_EQ(withoutF.DrawingScale(), 50.0);
    EXPECT_EQ(withF.LayerGroups[1].Scale, 12.5f);
    EXPECT_EQ(withoutF.LayerGroups[1].Scale, 12.0f);
    EXPECT_EQ(withoutF.LayerGroups[15].Scale, 3.0f);
    for (const TJwcData* data : {&withF, &withoutF}) {
        EXPECT_EQ(data->Lines, withF.Lines);
        EXPECT_EQ(data->Arcs, withF.Arcs);
        EXPECT_EQ(data->Texts, withF.Texts);
        EXPECT_EQ(data->Points, withF.Points);
        EXPECT_EQ(data->Layers[0].Name, "wall");
        EXPECT_EQ(data->LayerGroups[15].Name, "last group");
    }
    EXPECT_EQ(withF.LineCount(), 5u);
    EXPECT_EQ(withF.Lines[4], MakeLine(4, 5, 6, 7, 5, 4));
}

TEST(JwcLoad, DecodesLineArcPointAndTextRecords)
{
    JwcWriter w;
    LineRecord line = MakeLine(1.5f, -2, 300, 400.25f, 9, 0x35);
    line.LineType = 9; line.Unused = 7; line.Flags1 = 0x20; line.Flags2 = 0x21;
    w.Lines.push_back(line);
    ArcRecord arc = MakeArc(-10, 20, 7.5f);
    arc.Flattening = 0.5f; arc.StartAngle = 30; arc.EndAngle = 270.5f; arc.Tilt = -45.25f;
    arc.Flags = 0x60; arc.Layer = 0xFF;
    w.Arcs.push_back(arc);
    PointRecord point = MakePoint(8, 9);
    point.Flags = 0x40; point.Unused = 1;
    w.Points.push_back(point);
    w.Texts.push_back({1, 2, 3, 4, {9, 8, 7, 6}, "A\tB\x82", {}});

    TJwcData data = Load(w);

    ASSERT_EQ(data.LineCount(), 1u);
    EXPECT_EQ(data.Lines[0], line);
    ASSERT_EQ(data.ArcCount(), 1u);
    EXPECT_EQ(data.Arcs[0], arc);
    ASSERT_EQ(data.PointCount(), 1u);
    EXPECT_EQ(data.Points[0], point);
    ASSERT_EQ(data.TextCount(), 1u);
    const TextRecord& text = data.Texts[0];
    EXPECT_EQ(text.Text, "AB");   // control byte and dangling lead byte removed
    EXPECT_EQ(text.Address, w.TextBlockStart());
    EXPECT_EQ(text.Attributes, (std::array<uint8_t, 4>{9, 8, 7, 6}));
    EXPECT_EQ(text.X2, 3.0f);
}

TEST(JwcUnitFactor, FollowsThePaperCodeAndTheUnitCount)
{
    EXPECT_DOUBLE_EQ(TJwcData::ComputeUnitFactor(3, 420), 1.0);
    EXPECT_DOUBLE_EQ(TJwcData::ComputeUnitFactor(2, 0), 594.0 / 518);
    EXPECT_DOUBLE_EQ(TJwcData::ComputeUnitFactor(5, 420), 1.0);
    EXPECT_DOUBLE_EQ(TJwcData::ComputeUnitFactor(5, 0), 1.0);
    EXPECT_DOUBLE_EQ(TJwcData::ComputeUnitFactor(14, 1000), 100.0);
    EXPECT_DOUBLE_EQ(TJwcData::ComputeUnitFactor(15, 1000), 1.0);  // the first code past the table
}

TEST(JwcUnitFactor, ScalesCoordinatesAndRadiiButNotAnglesScalesOrFlattening)
{
    JwcWriter w;
    w.PaperCode = 2;
    w.UnitCount = 0;   // taken as 518
    w.GroupScales[0] = 100;
    w.Lines.push_back(MakeLine(518, 259, -518, 0));
    ArcRecord arc = MakeArc(518, 0, 259);
    arc.Flattening = 0.25f; arc.StartAngle = 90; arc.EndAngle = 180; arc.Tilt = 10;
    w.Arcs.push_back(arc);
    w.Points.push_back(MakePoint(1036, 518));
    w.Texts.push_back({518, 0, 0, 0, {}, "t", {}});

    TJwcData data = Load(w);

    EXPECT_EQ(data.Header.UnitCount, 518);
    EXPECT_DOUBLE_EQ(data.UnitFactor, 594.0 / 518);
    const ArcRecord& a = data.Arcs[0];
    const float scaled[] = {data.Lines[0].X1, data.Lines[0].Y1, data.Lines[0].X2, a.CenterX, a.Radius,
                            data.Points[0].X, data.Points[0].Y, data.Texts[0].X1};
    const float millimetres[] = {594, 297, -594, 594, 297, 1188, 594, 594};
    for (size_t i = 0; i < std::size(scaled); ++i) EXPECT_FLOAT_EQ(scaled[i], millimetres[i]) << i;
    const std::vector<float> kept = {a.Flattening, a.StartAngle, a.Tilt};
    EXPECT_EQ(kept, (std::vector<float>{0.25f, 90, 10}));
    EXPECT_EQ(data.DrawingScale(), 100.0);
}

TEST(JwcUnitFactor, UnknownPaperCodeLeavesStoredUnitsAsMillimetres)
{
    for (int units : {0, 420}) {
        JwcWriter w;
        w.PaperCode = 5;
        w.UnitCount = units;
        w.Lines.push_back(MakeLine(123.5f, 0, 0, 0));
        TJwcData data = Load(w);
        EXPECT_EQ(data.UnitFactor, 1.0) << units;
        EXPECT_EQ(data.Lines[0].X1, 123.5f) << units;
    }
}

TEST(JwcHeaderValues, SplitKeepsTheLastValueAndDefaultsTheMissingOnes)
{
    EXPECT_EQ(SplitHeaderValues("1,2,3", 4), (std::vector<std::string>{"1", "2", "3", "0"}));
    EXPECT_EQ(SplitHeaderValues("1,2,", 4), (std::vector<std::string>{"1", "2", "0", "0"}));
    EXPECT_EQ(SplitHeaderValues(",5", 3), (std::vector<std::string>{"", "5", "0"}));
    EXPECT_EQ(SplitHeaderValues("1,2,3,4", 2), (std::vector<std::string>{"1", "2"}));
    EXPECT_EQ(SplitHeaderValues("", 2), (std::vector<std::string>{"0", "0"}));
}

TEST(JwcHeaderValues, AShortBlockLeavesCodesAtZeroAndNonNumbersReadAsZero)
{
    JwcWriter w;
    for (int i = 0; i < 3; ++i) w.Lines.push_back(MakeLine(518, 0, 0, 0));
    w.Points.push_back(MakePoint(518, 518));
    w.Block1Text = "3,x,,1";   // no paper code, no unit count: code 0 with 518 units

    TJwcData data = Load(w);

    EXPECT_EQ(data.Header.LineCount, 3);
    EXPECT_EQ(data.Header.ArcCount, 0);
    EXPECT_EQ(data.Header.PaperCode, 0);
    EXPECT_EQ(data.LineCount(), 3u);
    EXPECT_EQ(data.ArcCount(), 0u);
    EXPECT_EQ(data.TextCount(), 0u);
    ASSERT_EQ(data.PointCount(), 1u);
    EXPECT_DOUBLE_EQ(data.UnitFactor, 1189.0 / 518);
    EXPECT_FLOAT_EQ(data.Points[0].Y, 1189);
}

TEST(JwcTexts, ResolveSegmentedAddressesAndRefuseThoseOutsideTheBlock)
{
    JwcWriter w;
    w.TextSegment = 0x0FFF;
    w.TextOffset = 0x000C;
    w.Texts.push_back({0, 0, 0, 0, {}, "first", {}});
    w.Texts.push_back({0, 0, 0, 0, {}, "second", {}});
    uint32_t start = w.TextBlockStart();
    w.Texts.push_back({0, 0, 0, 0, {}, "", start + 2});          // inside the first string
    w.Texts.push_back({0, 0, 0, 0, {}, "", start - 1});          // before the block
    w.Texts.push_back({0, 0, 0, 0, {}, "", start + 13});         // the block's end address
    w.Texts.push_back({0, 0, 0, 0, {}, "", 0xFFFF * 16 + 0xFFFF});
    w.Points.push_back(MakePoint(1, 2));

    TJwcData data = Load(w);

    EXPECT_EQ(data.Header.TextStart, 0x0FFFu * 16 + 0x000C);
    EXPECT_EQ(data.Header.TextEnd, data.Header.TextStart + 13);
    ASSERT_EQ(data.TextCount(), 6u);
    EXPECT_EQ(data.Texts[0].Text, "first");
    EXPECT_EQ(data.Texts[1].Text, "second");
    EXPECT_EQ(data.Texts[2].Text, "rst");
    EXPECT_EQ(data.Texts[3].Text, "");
    EXPECT_EQ(data.Texts[4].Text, "");
    EXPECT_EQ(data.Texts[5].Text, "");
    ASSERT_EQ(data.PointCount(), 1u);
    EXPECT_EQ(data.Points[0].Y, 2.0f);   // the body after the block stays aligned
}

TEST(JwcTexts, AnEndAddressBelowTheStartMeansNoTextBlock)
{
    JwcWriter w;
    w.Texts.push_back({0, 0, 0, 0, {}, "", 0x100});
    w.Points.push_back(MakePoint(3, 4));
    w.Block3Text = "0100:0000,00FF:0000";

    TJwcData data = Load(w);

    ASSERT_EQ(data.TextCount(), 1u);
    EXPECT_EQ(data.Texts[0].Text, "");
    ASSERT_EQ(data.PointCount(), 1u);
    EXPECT_EQ(data.Points[0], MakePoint(3, 4));
}

TEST(JwcLoadLayers, AppliesTheGroupRulesBeforeTheLayerRules)
{
    JwcWriter w;
    // Group 0: second flag clear hides all its layers, whatever the layers say.
    w.GroupFlags2[0] = 0xFE;
    // Group 1: second flag set, first clear shows all its layers in state 2, even hidden ones.
    w.GroupFlags1[1] = 0;
    for (int i = 16; i < 32; ++i) w.LayerFlags2[i] = 0;
    // Group 2: both set, so the layers decide.
    w.LayerFlags2[32] = 0x02;               // hidden: bit 0 clear
    w.LayerFlags1[33] = 0x03;               // state 1
    w.LayerFlags1[34] = 0x00;               // state 2
    TJwcData data = Load(w);
    TgraAttribute attributes;
    for (int i = 0; i < 256; ++i) attributes.SetLayerState(i, 2);

    data.LoadLayers(attributes);

    for (int i = 0; i < 16; ++i) EXPECT_EQ(attributes.LayerState(i), 3) << i;
    for (int i = 16; i < 32; ++i) EXPECT_EQ(attributes.LayerState(i), 2) << i;
    EXPECT_EQ(attributes.LayerState(32), 3);
    EXPECT_EQ(attributes.LayerState(33), 1);
    EXPECT_EQ(attributes.LayerState(34), 2);
    for (int i = 35; i < 256; ++i) EXPECT_EQ(attributes.LayerState(i), 1) << i;
}

TEST(JwcLoad, AFileCutInsideTheArcsKeepsTheLinesAndZeroFillsTheRest)
{
    JwcWriter w = MixedDrawing();
    for (int i = 0; i < 10; ++i) w.Lines.push_back(MakeLine(i, 0, 0, 0));
    std::vector<uint8_t> bytes = w.Build();
    bytes.resize(w.ArcsStart() + 32 + 16);   // one arc and half of the second

    TJwcData data;
    EXPECT_FALSE(data.LoadBytes(AsBytes(bytes)));

    TJwcData full = Load(w);
    EXPECT_EQ(data.Lines, full.Lines);
    ASSERT_EQ(data.ArcCount(), 3u);
    EXPECT_EQ(data.Arcs[0], full.Arcs[0]);
    EXPECT_EQ(data.Arcs[1], ArcRecord{});
    EXPECT_EQ(data.Arcs[2], ArcRecord{});
    EXPECT_EQ(data.TextCount(), 2u);
    ASSERT_EQ(data.PointCount(), 4u);
    for (const PointRecord& p : data.Points) EXPECT_EQ(p, PointRecord{});
    EXPECT_EQ(data.DrawingScale(), 1.0);   // tables before the cut stay
}

// Float scales: OldFormatReader.
TEST(JwcTruncation, EveryPrefixOfADrawingWithWordScalesKeepsWhatWasRead)
{
    JwcWriter w = MixedDrawing();
    w.FloatScales = false;
    fixture::CheckRecordPrefixes<TJwcData>(w, [&](const TJwcData& part, const TJwcData& full, size_t cut) {
        if (w.LinesStart() <= cut) {
            ASSERT_EQ(part.DrawingScale(), full.DrawingScale()) << cut;
        }
    });
}

// Random byte changes anywhere in the file, header texts included, never make the reader
// read outside the file or allocate beyond what the file could hold.
TEST(JwcRobust, CorruptedBytesLoadWithinBounds)
{
    std::vector<uint8_t> original = MixedDrawing().Build();
    const char alphabet[] = "0123456789,:-$xF ";
    uint32_t state = 12345;
    auto next = [&] { state ^= state << 13; state ^= state >> 17; state ^= state << 5; return state; };
    for (int round = 0; round < 3000; ++round) {
        std::vector<uint8_t> bytes = original;
        for (int k = 0; k < 4; ++k) {
            size_t at = next() % bytes.size();
            // Header positions get characters that still parse; the body gets any byte.
            bytes[at] = at < 800 ? static_cast<uint8_t>(alphabet[next() % (sizeof alphabet - 1)])
                                 : static_cast<uint8_t>(next());
        }
        TJwcData data;
        ASSERT_LE(data.LoadBytes(AsBytes(bytes)).offset, bytes.size());
        size_t left = bytes.size() > 2389 ? bytes.size() - 2389 : 0;
        ASSERT_LE(data.LineCount() * 22, left);
        ASSERT_LE(data.ArcCount() * 32, left);
        ASSERT_LE(data.TextCount() * 24, left);
        ASSERT_LE(data.PointCount() * 12, left);
    }
}
