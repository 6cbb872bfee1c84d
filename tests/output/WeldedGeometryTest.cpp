#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <thread>

#include "output/WeldedGeometry.h"

// A thread welds group after group in the memory of the ones before (large after small, small
// after large, twice over): each result is the one a new thread gets welding that group first,
// and the one a filter that keeps every Figure gives (the weld then decodes whole Figures),
// lifted Figures included.
TEST(WeldedGeometry, ReusedMemoryGivesWhatANewThreadGives)
{
    std::mt19937 random(5);
    TFigureStore store;
    for (int i = 0; i < 6000; ++i) {
        const int32_t layer = i % 5 == 0 ? 1 : i % 17 == 0 ? 2 : 0;  // groups of very different sizes
        const auto at = [&] { return static_cast<double>(random() % 40); };  // a coarse grid: many shared points
        switch (random() % 3) {
        case 0: store.AddLine(layer, 1, at(), at(), at(), at()); break;
        case 1: store.AddTriangle(layer, 1, at(), at(), at(), at(), at(), at()); break;
        default: store.AddQuad(layer, 1, at(), at(), at(), at(), at(), at(), at(), at()); break;
        }
        if (i % 50 == 0) store.AddTriangle3D(i / 50 % 3, 1, {at(), at(), 1 + at()}, {at(), at(), 0}, {at(), at(), at()});
    }
    const TFigureGroups groups = GroupFigures(store);
    ASSERT_EQ(groups.Groups.size(), 3u);
    const TWeldMemoryScope memory;
    for (int round = 0; round < 2; ++round) {
        for (const TFigureGroup& group : groups.Groups) {
            TWeldedGeometry first;
            std::thread([&] { first = WeldGroup(store, groups, group, 0.001); }).join();
            const TWeldedGeometry filtered = WeldGroup(store, groups, group, 0.001, [](const TFigure&) { return true; });
            const TWeldedGeometry& reused = WeldGroup(store, groups, group, 0.001);
            EXPECT_EQ(filtered.Segments, reused.Segments);
            EXPECT_EQ(filtered.Triangles, reused.Triangles);
            ASSERT_EQ(filtered.Vertices.size(), reused.Vertices.size());
            EXPECT_EQ(std::memcmp(filtered.Vertices.data(), reused.Vertices.data(), reused.Vertices.size() * sizeof(TFigPoint)), 0);
            EXPECT_EQ(reused.Segments, first.Segments);
            EXPECT_EQ(reused.Triangles, first.Triangles);
            ASSERT_EQ(reused.Vertices.size(), first.Vertices.size());
            EXPECT_EQ(std::memcmp(reused.Vertices.data(), first.Vertices.data(), first.Vertices.size() * sizeof(TFigPoint)), 0);
            EXPECT_LT(first.Vertices.size(), static_cast<size_t>(group.Points));  // points were shared
            EXPECT_TRUE(std::any_of(first.Vertices.begin(), first.Vertices.end(), [](const TFigPoint& p) { return p.z > 0; }));
        }
    }
}
