#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

#include "output/FigureGroups.h"

// On a store with layers and colours in and out of range (and kinds of 2, 3 and 4 points), the
// groups agree with the store's own census layer by layer, and hold exactly the Figures of
// their pair, in store order, with their points counted; the members' box is the same on any
// number of threads, the first of equal values (+0 before -0) kept as one pass would keep it.
TEST(FigureGroups, AgreeWithTheStoreCensusAndHoldTheirOwnFigures)
{
    std::mt19937 random(3);
    TFigureStore store;
    store.AddLine(1, 1, 0.0, 7, 1, 7);  // +0 first; every other x is at least 1
    for (int i = 1; i < 100000; ++i) {
        const int32_t layer = static_cast<int32_t>(random() % 40) - 2 + (i % 97 == 0 ? 230 : 0);
        const int32_t color = i % 51 == 0 ? static_cast<int32_t>(random() % 3) * 5267 - 1 : 1 + static_cast<int32_t>(random() % 9);
        switch (random() % 3) {
        case 0: store.AddLine(layer, color, i, 0, i + 1, 1); break;
        case 1: store.AddTriangle(layer, color, 1, 0, 2, 0, 1, i); break;
        default: store.AddQuad(layer, color, 1, 0, 2, 0, 2, i, 1, i); break;
        }
    }
    store.AddLine(300, 1, -1e9, -1e9, 1e9, 1e9);  // out of range: drawn nowhere, outside the box
    store.AddLine(1, 1, -0.0, -5, 3, std::numeric_limits<double>::infinity());  // the last part's only zero
    store.AddLine3D(1, 1, {2, 0, 1}, {2, 0, 7});  // heights: the extremes on the later points
    store.AddTriangle3D(1, 1, {2, 0, 0}, {2, 0, 0}, {2, 0, -3});
    TMemberBounds bounds;
    const TFigureGroups groups = GroupFigures(store, 1, &bounds);
    EXPECT_TRUE(bounds.Any && !bounds.EveryPointFinite);
    EXPECT_EQ(bounds.Low[0], 0.0);
    EXPECT_FALSE(std::signbit(bounds.Low[0]));
    EXPECT_EQ(bounds.Low[1], -5.0);
    EXPECT_GT(bounds.High[0], 99000.0);
    EXPECT_EQ(bounds.Low[2], -3.0);
    EXPECT_EQ(bounds.High[2], 7.0);
    for (const unsigned threads : {2u, 3u}) {  // parts of the store read on several threads
        TMemberBounds partedBounds;
        const TFigureGroups parted = GroupFigures(store, threads, &partedBounds);
        EXPECT_EQ(parted.Groups, groups.Groups);
        EXPECT_EQ(parted.Members, groups.Members);
        for (int axis = 0; axis < 3; ++axis) {
            EXPECT_EQ(std::signbit(partedBounds.Low[axis]), std::signbit(bounds.Low[axis]));
            EXPECT_EQ(partedBounds.Low[axis], bounds.Low[axis]);
            EXPECT_EQ(partedBounds.High[axis], bounds.High[axis]);
        }
        EXPECT_EQ(partedBounds.EveryPointFinite, bounds.EveryPointFinite);
    }
    store.CountLayers();
    std::array<int32_t, kFigLayerCount> layerCounts{};
    for (const TFigureGroup& g : groups.Groups) layerCounts[static_cast<size_t>(g.Layer)] += static_cast<int32_t>(g.Counted);
    EXPECT_EQ(layerCounts, store.LayerCounts);
    for (int32_t h = 0; h < kFigLayerCount; ++h) {
        store.CountColors(h, kDrawnKindMask);
        for (const TFigureGroup& g : groups.Groups) {
            if (g.Layer != h) continue;
            EXPECT_EQ(static_cast<int32_t>(g.Counted), store.ColorCounts[static_cast<size_t>(g.Color)]);
        }
    }
    size_t members = 0;
    for (const TFigureGroup& g : groups.Groups) {
        uint32_t points = 0, previous = 0;
        for (uint32_t m : MembersOf(groups, g)) {
            const TFigurePen pen = store.Figures.PenOf(m);
            EXPECT_TRUE(pen.Layer == g.Layer && pen.Color == g.Color);
            EXPECT_TRUE(m >= previous);
            previous = m;
            points += static_cast<uint32_t>(FigurePointCount(pen.Kind));
        }
        EXPECT_EQ(points, g.Points);
        members += MembersOf(groups, g).size();
    }
    size_t exact = 0;
    for (size_t i = 0; i < store.Figures.size(); ++i) exact += IsGroupMember(store.Figures.PenOf(i));
    EXPECT_EQ(members, exact);
}
