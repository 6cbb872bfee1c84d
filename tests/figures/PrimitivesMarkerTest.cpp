#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <vector>

#include "figures/Primitives.h"

namespace {

TConversionContext WithMarker(int32_t shape, double size = 1)
{
    TConversionContext ctx;
    ctx.Options.ArcMode = TArcMode::ByCount;
    ctx.Options.ArcDivisions = 12;
    ctx.Options.PointMarkerShape = shape;
    ctx.Options.PointMarkerSize = size;
    return ctx;
}

void ExpectLine(const TFigure& f, double x1, double y1, double x2, double y2)
{
    EXPECT_EQ(f.Kind, fkLine);
    EXPECT_DOUBLE_EQ(f.Points[0].x, x1);
    EXPECT_DOUBLE_EQ(f.Points[0].y, y1);
    EXPECT_DOUBLE_EQ(f.Points[1].x, x2);
    EXPECT_DOUBLE_EQ(f.Points[1].y, y2);
}

double TriangleArea(const TFigure& f)
{
    const TFigPoint* p = f.Points;
    return ((p[1].x - p[0].x) * (p[2].y - p[0].y) - (p[1].y - p[0].y) * (p[2].x - p[0].x)) / 2;
}

}  // namespace

TEST(AddPointMarker, LineShapesAtScale100InTheirFigureOrder)
{
    // Segments (x1, y1, x2, y2) of plus, cross, square and diamond around (10, 20) times 100.
    const std::vector<std::array<double, 4>> shapes[] = {
        {{950, 2000, 1050, 2000}, {1000, 2050, 1000, 1950}},
        {{950, 1950, 1050, 2050}, {950, 2050, 1050, 1950}},
        {{950, 1950, 1050, 1950}, {1050, 1950, 1050, 2050}, {1050, 2050, 950, 2050}, {950, 2050, 950, 1950}},
        {{950, 2000, 1000, 1950}, {1000, 1950, 1050, 2000}, {1050, 2000, 1000, 2050}, {1000, 2050, 950, 2000}},
    };
    for (int32_t shape = 0; shape < 4; ++shape) {
        SCOPED_TRACE(shape);
        TConversionContext ctx = WithMarker(shape);
        AddPointMarker(ctx, {2, 9}, 100, 10, 20);
        const auto& expected = shapes[shape];
        ASSERT_EQ(ctx.Store.FigureCount, static_cast<int>(expected.size()));
        for (size_t i = 0; i < expected.size(); ++i) {
            const TFigure& f = ctx.Store.Figures[i];
            ExpectLine(f, expected[i][0], expected[i][1], expected[i][2], expected[i][3]);
            EXPECT_EQ(f.Layer, 2);
            EXPECT_EQ(f.Color, 9);
        }
    }
}

TEST(AddPointMarker, FilledShapesCoverTheSquareAndTheDiamond)
{
    TConversionContext square = WithMarker(5, 2);
    AddPointMarker(square, {0, 1}, 10, 1, 1);
    ASSERT_EQ(square.Store.FigureCount, 2);
    EXPECT_EQ(square.Store.Figures[0].Kind, fkTriangle);
    EXPECT_DOUBLE_EQ(TriangleArea(square.Store.Figures[0]) + TriangleArea(square.Store.Figures[1]), 400);

    TConversionContext diamond = WithMarker(6, 2);
    AddPointMarker(diamond, {0, 1}, 10, 1, 1);
    ASSERT_EQ(diamond.Store.FigureCount, 2);
    EXPECT_DOUBLE_EQ(TriangleArea(diamond.Store.Figures[0]) + TriangleArea(diamond.Store.Figures[1]), 200);
    EXPECT_DOUBLE_EQ(diamond.Store.Figures[0].Points[0].x, 0);  // the left corner leads both
    EXPECT_DOUBLE_EQ(diamond.Store.Figures[1].Points[0].x, 0);
}

TEST(AddPointMarker, CirclesFollowTheDivisionOptions)
{
    TConversionContext ring = WithMarker(4);
    AddPointMarker(ring, {0, 1}, 100, 10, 20);
    ASSERT_EQ(ring.Store.FigureCount, 12);
    ExpectLine(ring.Store.Figures[0], 1050, 2000, ring.Store.Figures[0].Points[1].x,
               ring.Store.Figures[0].Points[1].y);
    EXPECT_EQ(ring.Store.Figures[11].Kind, fkLine);

    TConversionContext disc = WithMarker(7);
    disc.Options.ArcMode = TArcMode::ByLength;  // by length: the count uses the half size before scale
    disc.Options.ArcLength = 0.1;
    disc.Options.ArcLengthMinDivisions = 4;
    AddPointMarker(disc, {0, 1}, 100, 10, 20);
    EXPECT_EQ(disc.Store.FigureCount, 31);  // 2 pi * 0.5 / 0.1 = 31.4
    EXPECT_EQ(disc.Store.Figures[0].Kind, fkTriangle);
    EXPECT_DOUBLE_EQ(disc.Store.Figures[0].Points[0].x, 1000);
}

TEST(AddPointMarker, ShapesOutsideTheListDrawNothing)
{
    for (int32_t shape : {-1, 8, 1000}) {
        TConversionContext ctx = WithMarker(shape);
        AddPointMarker(ctx, {0, 1}, 1, 0, 0);
        EXPECT_EQ(ctx.Store.FigureCount, 0) << shape;
    }
}
