#include <gtest/gtest.h>

#include "formats/jwk/jwkunit.h"
#include "support/JwkWriter.h"
#include "support/OldFormatChecks.h"
#include "support/ReaderLoads.h"

namespace {

LineRecord Line(float x, uint8_t layer)
{
    LineRecord r;
    r.X1 = x; r.Y1 = 1; r.X2 = x + 1; r.Y2 = 2;
    r.LineType = 1; r.PenColor = 3; r.Layer = layer; r.Flags2 = 0x20;
    return r;
}

ArcRecord Arc(float radius)
{
    ArcRecord r;
    r.CenterX = 1; r.CenterY = 2; r.Radius = radius;
    r.Flattening = 0.75f; r.StartAngle = 45; r.EndAngle = 135.5f; r.Tilt = -30;
    r.LineType = 2; r.PenColor = 4; r.Layer = 200; r.Flags = 0x40;
    return r;
}

PointRecord Point(float x)
{
    PointRecord r;
    r.X = x; r.Y = -x; r.Layer = 7; r.PenColor = 9; r.Flags = 0x20;
    return r;
}

JwkWriter MixedSymbol()
{
    JwkWriter w;
    w.Lines = {Line(518, 0), Line(2, 1)};
    w.Arcs = {Arc(5)};
    w.Points = {Point(1), Point(2), Point(3)};
    w.Texts.push_back({1, 2, 3, 4, {1, 2, 3, 4}, "door", {}});
    w.Texts.push_back({5, 6, 7, 8, {}, "\x83\x68\x83\x41\x01", {}});
    return w;
}

}  // namespace

TEST(JwkHeader, NineValuesGivePointsBeforeTextsAndTheBodyStartsAt400)
{
    JwkWriter w;
    w.Lines = {Line(10, 0), Line(20, 1)};
    w.Arcs = {Arc(3)};
    w.Points = {Point(1), Point(2), Point(3)};
    w.Block1Text = "2,1,3,0,0,0,0,0,1";

    TJwkData data;
    EXPECT_TRUE(data.LoadBytes(AsBytes(w.Build())));

    EXPECT_EQ(w.LinesStart(), 400u);
    EXPECT_EQ(data.Header.Scale, 1.0f);
    EXPECT_EQ(data.Lines, w.Lines);
    EXPECT_EQ(data.Arcs, w.Arcs);
    EXPECT_EQ(data.Points, w.Points);
    EXPECT_EQ(data.TextCount(), 0u);
}

TEST(JwkLoad, KeepsStoredCoordinatesAndResolvesTextsByOffset)
{
    JwkWriter w = MixedSymbol();
    w.Texts.push_back({0, 0, 0, 0, {}, "", 1});      // inside "door"
    w.Texts.push_back({0, 0, 0, 0, {}, "", 11});     // the block's length
    w.Texts.push_back({0, 0, 0, 0, {}, "", 0xFFFF});

    TJwkData data;
    EXPECT_TRUE(data.LoadBytes(AsBytes(w.Build())));

    EXPECT_EQ(data.Lines[0].X1, 518.0f);   // no unit factor
    EXPECT_EQ(data.Arcs[0], Arc(5));
    ASSERT_EQ(data.TextCount(), 5u);
    EXPECT_EQ(data.Texts[0].Text, "door");
    EXPECT_EQ(data.Texts[0].Attributes, (std::array<uint8_t, 4>{1, 2, 3, 4}));
    EXPECT_EQ(data.Texts[0].X2, 3.0f);
    EXPECT_EQ(data.Texts[1].Text, "\x83\x68\x83\x41");   // control byte removed
    EXPECT_EQ(data.Texts[1].Address, 5u);              // the ignored field plays no part
    EXPECT_EQ(data.Texts[2].Text, "oor");
    EXPECT_EQ(data.Texts[3].Text, "");
    EXPECT_EQ(data.Texts[4].Text, "");
}

TEST(JwkLoad, ATextBlockLengthOfZeroReadsNoTextBlock)
{
    JwkWriter w = MixedSymbol();
    w.DeclaredTextBlockLength = 0;

    TJwkData data;
    EXPECT_TRUE(data.LoadBytes(AsBytes(w.Build())));

    ASSERT_EQ(data.TextCount(), 2u);
    EXPECT_EQ(data.Texts[0].Text, "");
    EXPECT_EQ(data.Texts[1].Text, "");
    EXPECT_EQ(data.Texts[1].X1, 5.0f);
}

TEST(JwkLoadLayers, ShowsEveryLayer)
{
    TJwkData data = fixture::LoadedFrom<TJwkData>(MixedSymbol());
    TgraAttribute attributes;
    for (int i = 0; i < 256; ++i) attributes.SetLayerState(i, 3);

    data.LoadLayers(attributes);

    for (int i = 0; i < 256; ++i) EXPECT_EQ(attributes.LayerState(i), 1) << i;
}

// Absurd record counts: OldFormatReader.
TEST(JwkRobust, AbsurdTextBlockLengthsStayWithinTheFile)
{
    TJwkData data;
    JwkWriter longBlock = MixedSymbol();
    longBlock.DeclaredTextBlockLength = 2147483647;
    EXPECT_FALSE(data.LoadBytes(AsBytes(longBlock.Build())));
    ASSERT_EQ(data.TextCount(), 2u);
    EXPECT_EQ(data.Texts[1].X1, 5.0f);   // the records before the block stay
    EXPECT_EQ(data.Texts[1].Text, "");

    longBlock.DeclaredTextBlockLength = -3;
    EXPECT_TRUE(data.LoadBytes(AsBytes(longBlock.Build())));
    EXPECT_EQ(data.Texts[0].Text, "");
}

