#include <gtest/gtest.h>

#include <random>

#include "output/FigureGroups.h"

// On a store with layers and colours in and out of range (and kinds of 2, 3 and 4 points), the
// groups agree with the store's own census layer by layer, and hold exactly the Figures of
// their pair, in store order, with their points counted.
TEST(FigureGroups, AgreeWithTheStoreCensusAndHoldTheirOwnFigures)
{
    std::mt19937 random(3);
    TFigureStore store;
    for (int i = 0; i < 100000; ++i) {
        const int32_t layer = static_cast<int32_t>(random() % 40) - 2 + (i % 97 == 0 ? 230 : 0);
        const int32_t color = i % 51 == 0 ? static_cast<int32_t>(random() % 3) * 5267 - 1 : 1 + static_cast<int32_t>(random() % 9);
        switch (random() % 3) {
        case 0: store.AddLine(layer, color, i, 0, i + 1, 1); break;
        case 1: store.AddTriangle(layer, color, 0, 0, 1, 0, 0, i); break;
        default: store.AddQuad(layer, color, 0, 0, 1, 0, 1, i, 0, i); break;
        }
    }
    const TFigureGroups groups = GroupFigures(store);
    for (const unsigned threads : {2u, 3u}) {  // parts of the store read on several threads
        const TFigureGroups parted = GroupFigures(store, threads);
        EXPECT_EQ(parted.Groups, groups.Groups);
        EXPECT_EQ(parted.Members, groups.Members);
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
