#include <gtest/gtest.h>

#include "figures/FigureList.h"

// Across several chunks, every kind, and pens inside and outside 16 bits (kept exactly, in
// their own table), segments added through AddSegment as well as Add, texts' among them:
// each Figure reads back as it was added, ForEachPoint gives its points, and clearing frees
// the chunks.
TEST(FigureList, EveryFigureReadsBackAsAddedAcrossChunks)
{
    constexpr int32_t kKinds[3] = {fkLine, fkTriangle, fkQuad};
    const auto layerOf = [](int32_t i) { return i % 7 == 0 ? -i : i % 5 == 0 ? 70000 + i : i % 256; };
    const auto colorOf = [](int32_t i) { return i % 11 == 0 ? 0x10000 + i : i % 5266 + 1; };
    const auto pointOf = [](int32_t i, int k) { return TPlanePoint{i + 0.25 * k, -i - 0.5 * k}; };
    const int32_t count = static_cast<int32_t>(2 * TFigureList::kChunkSize + 3);
    TFigureList list;
    for (int32_t i = 0; i < count; ++i) {
        const TPlanePoint points[4] = {pointOf(i, 0), pointOf(i, 1), pointOf(i, 2), pointOf(i, 3)};
        if (i % 3 == 0 && i % 2 == 0) list.AddSegment(layerOf(i), colorOf(i), points, i % 4 == 0);
        else list.Add(kKinds[i % 3], layerOf(i), colorOf(i), points, i % 3 == 0 && i % 4 == 1);
    }
    ASSERT_EQ(list.size(), static_cast<std::size_t>(count));
    int32_t i = 0;
    for (const TFigure& f : list) {
        ASSERT_EQ(f.Kind, kKinds[i % 3]) << i;
        ASSERT_EQ(f.Layer, layerOf(i)) << i;
        ASSERT_EQ(f.Color, colorOf(i)) << i;
        ASSERT_EQ(f.Text, i % 3 == 0 && i % 4 <= 1) << i;
        int point = 0;
        list.ForEachPoint(static_cast<std::size_t>(i), f.Kind, [&](double x, double y, double z) {
            EXPECT_TRUE(x == f.Points[point].x && y == f.Points[point].y && z == f.Points[point].z) << i;
            ++point;
        });
        ASSERT_EQ(point, FigurePointCount(f.Kind)) << i;
        const int used = f.Kind == fkQuad ? 4 : f.Kind == fkTriangle ? 3 : 2;
        for (int k = 0; k < 4; ++k) {
            const TPlanePoint p = k < used ? pointOf(i, k) : TPlanePoint{};
            ASSERT_EQ(f.Points[k].x, p.x) << i;
            ASSERT_EQ(f.Points[k].y, p.y) << i;
            ASSERT_EQ(f.Points[k].z, 0.0) << i;
        }
        ++i;
    }
    EXPECT_EQ(i, count);
    EXPECT_THROW(list.at(static_cast<std::size_t>(count)), std::out_of_range);
    list.clear();
    EXPECT_TRUE(list.empty());
    EXPECT_EQ(list.capacity(), 0u);
}
