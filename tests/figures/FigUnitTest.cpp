#include <gtest/gtest.h>

#include "attributes/UnitGraAtt.h"
#include "figures/FigUnit.h"
#include "figures/WalkJwwModel.h"

#ifdef __linux__
#include <fstream>
#include <new>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace {

void ExpectPoint(const TFigPoint& p, double x, double y)
{
    EXPECT_EQ(p.x, x);
    EXPECT_EQ(p.y, y);
    EXPECT_EQ(p.z, 0.0);
}

}  // namespace

TEST(FigureStore, EmptyStoreHasNoCounts)
{
    TFigureStore store;
    store.CountLayers();
    store.CountColors(-1, 15);
    for (int32_t c : store.LayerCounts) EXPECT_EQ(c, 0);
    for (int32_t c : store.ColorCounts) EXPECT_EQ(c, 0);
}

TEST(FigureStore, GrowingKeepsEarlierFiguresAndClearingFreesThem)
{
    TFigureStore store;
    for (int i = 0; i < 200; ++i) store.AddLine(i % 256, 1, i, -i, 0, 0);
    store.AddLine(7, 3, 201, 202, 203, 204);
    EXPECT_EQ(store.FigureCount, 201);
    ExpectPoint(store.Figures[150].Points[0], 150, -150);
    const TFigure& last = store.Figures[200];
    EXPECT_EQ(last.Kind, fkLine);
    EXPECT_EQ(last.Layer, 7);
    EXPECT_EQ(last.Color, 3);
    ExpectPoint(last.Points[1], 203, 204);
    ExpectPoint(last.Points[2], 0, 0);
    store.ClearFigures();
    EXPECT_EQ(store.FigureCount, 0);
    EXPECT_EQ(store.Figures.capacity(), 0u);
}

TEST(FigureStore, ClockwiseTriangleIsStoredTurned)
{
    TFigureStore store;
    store.AddTriangle(0, 1, 0, 0, 0, 1, 1, 0);  // clockwise
    store.AddTriangle(0, 1, 0, 0, 1, 0, 0, 1);  // counter-clockwise
    store.AddTriangle(0, 1, 0, 0, 1, 1, 2, 2);  // collinear
    const TFigure f[3] = {store.Figures[0], store.Figures[1], store.Figures[2]};
    EXPECT_EQ(f[0].Kind, fkTriangle);
    ExpectPoint(f[0].Points[1], 1, 0);
    ExpectPoint(f[0].Points[2], 0, 1);
    ExpectPoint(f[1].Points[1], 1, 0);
    ExpectPoint(f[1].Points[2], 0, 1);
    ExpectPoint(f[2].Points[1], 1, 1);
    ExpectPoint(f[2].Points[2], 2, 2);
}

TEST(FigureStore, ClockwiseQuadrilateralIsStoredAsP1P4P3P2)
{
    TFigureStore store;
    store.AddQuad(0, 1, 0, 0, 0, 1, 1, 1, 1, 0);
    const TFigure& f = store.Figures[0];
    EXPECT_EQ(f.Kind, fkQuad);
    ExpectPoint(f.Points[0], 0, 0);
    ExpectPoint(f.Points[1], 1, 0);
    ExpectPoint(f.Points[2], 1, 1);
    ExpectPoint(f.Points[3], 0, 1);
}

TEST(FigureStore, OrientationUsesOnlyTheSignOfTheCrossProduct)
{
    EXPECT_TRUE(IsCounterClockwise(0, 0, 1, 0, 0, 1));
    EXPECT_FALSE(IsCounterClockwise(0, 0, 0, 1, 1, 0));
    EXPECT_TRUE(IsCounterClockwise(0, 0, 1, 1, 2, 2));
    EXPECT_TRUE(IsCounterClockwise(0, 0, 1e-9, 0, 0, 1e-9));    // tiny but positive
    EXPECT_FALSE(IsCounterClockwise(0, 0, 0, 1e-9, 1e-9, 0));   // tiny but negative
}

TEST(FigureStore, ColourCensusSelectsLayerAndKinds)
{
    TFigureStore store;
    store.AddLine(5, 2, 0, 0, 1, 1);
    store.AddTriangle(5, 2, 0, 0, 1, 0, 0, 1);
    store.AddQuad(5, 3, 0, 0, 1, 0, 1, 1, 0, 1);
    store.AddLine(6, 2, 0, 0, 1, 1);

    store.CountColors(5, 13);
    EXPECT_EQ(store.ColorCounts[2], 2);
    EXPECT_EQ(store.ColorCounts[3], 1);

    store.CountColors(-1, 15);
    EXPECT_EQ(store.ColorCounts[2], 3);

    store.CountColors(5, 8);
    EXPECT_EQ(store.ColorCounts[2], 0);
    EXPECT_EQ(store.ColorCounts[3], 1);
}

TEST(FigureStore, CensusFoldsOutOfRangeLayersAndColours)
{
    TFigureStore store;
    store.AddLine(300, 5000, 0, 0, 1, 1);
    store.AddLine(-1, 0, 0, 0, 1, 1);
    store.AddLine(2, 6000, 0, 0, 1, 1);
    EXPECT_EQ(store.Figures[0].Layer, 300);  // stored unchanged
    store.CountLayers();
    EXPECT_EQ(store.LayerCounts[0], 2);
    EXPECT_EQ(store.LayerCounts[2], 1);
    store.CountColors(0, 13);
    EXPECT_EQ(store.ColorCounts[5000], 1);
    EXPECT_EQ(store.ColorCounts[1], 1);
    store.CountColors(-1, -1);
    EXPECT_EQ(store.ColorCounts[1], 2);
}

TEST(FigureStore, SecondColourCensusStartsFromZeroEverywhere)
{
    TFigureStore store;
    store.AddLine(0, 5266, 0, 0, 1, 1);
    store.AddLine(1, 300, 0, 0, 1, 1);
    store.CountColors(-1, 13);
    EXPECT_EQ(store.ColorCounts[5266], 1);
    store.CountColors(1, 13);
    EXPECT_EQ(store.ColorCounts[5266], 0);
    EXPECT_EQ(store.ColorCounts[300], 1);
}

TEST(Palette, ResetFillsThePenColoursInTableOrder)
{
    TgraAttribute attributes;
    attributes.SetPenColor(101, 0x123456);
    attributes.SetPenColor(356, 0x654321);
    TFigureStore store;
    store.AddPaletteColor(0xABCDEF);
    store.ResetPalette(attributes);
    EXPECT_EQ(store.PaletteCount, 265);
    EXPECT_EQ(store.Palette[1], attributes.PenColor(0));
    EXPECT_EQ(store.Palette[2], MakeColor(0, 0, 0));
    EXPECT_EQ(store.Palette[10], 0x123456u);
    EXPECT_EQ(store.Palette[265], 0x654321u);
    EXPECT_EQ(store.Palette[266], 0u);
    // Duplicate pen colours are all kept: indices stay tied to pen numbers.
    EXPECT_EQ(store.Palette[17], MakeColor(0, 0, 0));
}

TEST(Palette, EveryPenOfADrawingFindsItsOwnColour)
{
    TgraAttribute attributes;
    for (int pen = 1; pen <= 356; ++pen) attributes.SetPenColor(pen, static_cast<uint32_t>(pen));
    TFigureStore store;
    store.ResetPalette(attributes);
    for (int pen = 1; pen <= 356; ++pen) {
        if (pen > 9 && pen < 101) EXPECT_EQ(JwwPaletteIndex(pen), pen);  // not a pen colour: as it stands
        else EXPECT_EQ(store.Palette[static_cast<size_t>(JwwPaletteIndex(pen))], static_cast<uint32_t>(pen)) << pen;
    }
    EXPECT_EQ(JwwPaletteIndex(357), 357);
}

TEST(Palette, AddsNewColoursOnceAndFindsThemByValue)
{
    TgraAttribute attributes;
    TFigureStore store;
    store.ResetPalette(attributes);
    store.AddPaletteColor(0x0A0B0C);
    store.AddPaletteColor(0x0A0B0C);
    EXPECT_EQ(store.PaletteCount, 266);
    EXPECT_EQ(store.PaletteIndexOf(0x0A0B0C), 266);
    EXPECT_EQ(store.PaletteIndexOf(static_cast<int32_t>(MakeColor(0, 192, 0))), 3);  // pen 3
    EXPECT_EQ(store.PaletteIndexOf(0x777777), 7);
}

TEST(Palette, LookingUpZeroFindsTheFirstUnfilledEntry)
{
    TgraAttribute attributes;
    attributes.SetBackground(1);
    attributes.ResetPenColors();  // dark mode: no pen is black
    TFigureStore store;
    store.ResetPalette(attributes);
    EXPECT_EQ(store.PaletteIndexOf(0), store.PaletteCount + 1);
}

TEST(Palette, FullPaletteIgnoresNewColoursAndAnswersSevenForThem)
{
    TgraAttribute attributes;
    attributes.SetBackground(1);
    attributes.ResetPenColors();
    TFigureStore store;
    store.ResetPalette(attributes);
    for (int32_t rgb = 0x100000; store.PaletteCount < kPaletteSize; ++rgb) store.AddPaletteColor(rgb);
    EXPECT_EQ(store.PaletteCount, 5266);
    const uint32_t last = store.Palette[5266];
    store.AddPaletteColor(0x0F0F0F);
    EXPECT_EQ(store.PaletteCount, 5266);
    EXPECT_EQ(store.Palette[5266], last);
    EXPECT_EQ(store.PaletteIndexOf(0x0F0F0F), 7);
    EXPECT_EQ(store.PaletteIndexOf(0), 7);
    EXPECT_EQ(store.PaletteIndexOf(static_cast<int32_t>(last)), 5266);
}

#if defined(__linux__) && !defined(__SANITIZE_ADDRESS__)
TEST(FigureStore, FailedGrowthLeavesTheStoreConsistent)
{
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // Cap the address space a little above what is in use, then add until growth fails.
        long pages = 0;
        std::ifstream("/proc/self/statm") >> pages;
        const rlim_t limit = static_cast<rlim_t>(pages) * static_cast<rlim_t>(sysconf(_SC_PAGESIZE)) + (96u << 20);
        const rlimit cap{limit, limit};
        if (setrlimit(RLIMIT_AS, &cap) != 0) _exit(3);
        TFigureStore store;
        int32_t added = 0;
        try {
            for (;;) {
                store.AddLine(0, 1, added, 0, 0, 0);
                ++added;
            }
        } catch (const std::bad_alloc&) {
        }
        const bool consistent = store.FigureCount == added &&
                                static_cast<size_t>(store.FigureCount) == store.Figures.size() &&
                                store.Figures[static_cast<size_t>(added - 1)].Points[0].x == added - 1;
        _exit(consistent ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
}
#endif
