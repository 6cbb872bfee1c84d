#include <gtest/gtest.h>

#include "attributes/UnitGraAtt.h"

TEST(AttributeTable, NewTableShowsEveryLayerAndAnswersOneOutsideTheRange)
{
    TgraAttribute table;
    for (int layer = 0; layer < 256; ++layer) EXPECT_EQ(table.LayerState(layer), 1);
    EXPECT_EQ(table.LayerState(-1), 1);
    EXPECT_EQ(table.LayerState(256), 1);
}

TEST(AttributeTable, InvalidStatesAreStoredAsOneAndOutOfRangeLayersIgnored)
{
    TgraAttribute table;
    table.SetLayerState(5, 0);
    EXPECT_EQ(table.LayerState(5), 1);
    table.SetLayerState(5, 3);
    EXPECT_EQ(table.LayerState(5), 3);
    EXPECT_TRUE(table.LayerHidden(5));
    table.SetLayerState(5, 4);
    EXPECT_EQ(table.LayerState(5), 1);
    table.SetLayerState(256, 3);
    table.SetLayerState(-1, 3);
    EXPECT_EQ(table.LayerState(255), 1);
    EXPECT_EQ(table.LayerState(0), 1);
    table.SetLayerState(255, 2);
    table.ResetLayers();
    EXPECT_EQ(table.LayerState(255), 1);
}

TEST(AttributeTable, PenIndexMapsBothPenRanges)
{
    EXPECT_EQ(TgraAttribute::PenIndex(1), 0);
    EXPECT_EQ(TgraAttribute::PenIndex(9), 8);
    EXPECT_EQ(TgraAttribute::PenIndex(101), 9);
    EXPECT_EQ(TgraAttribute::PenIndex(356), 264);
    for (int pen : {0, 10, 100, 357, -1, -101}) EXPECT_EQ(TgraAttribute::PenIndex(pen), -1) << pen;
}

TEST(AttributeTable, SetPenColorIgnoresNumbersWithoutEntry)
{
    TgraAttribute table;
    TgraAttribute untouched;
    table.SetPenColor(100, 0x123456);
    table.SetPenColor(357, 0x123456);
    table.SetPenColor(0, 0x123456);
    for (int e = 0; e < 265; ++e) EXPECT_EQ(table.PenColor(e), untouched.PenColor(e)) << e;
    table.SetPenColor(101, 0x123456);
    EXPECT_EQ(table.PenColor(9), 0x123456u);
}

TEST(AttributeTable, DefaultColoursFollowTheBackground)
{
    TgraAttribute table;
    EXPECT_EQ(table.PenColor(0), MakeColor(0, 192, 192));
    EXPECT_EQ(table.PenColor(7), MakeColor(255, 0, 128));
    EXPECT_EQ(table.PenColor(24), MakeColor(128, 128, 128));
    EXPECT_EQ(table.PenColor(1), MakeColor(0, 0, 0));
    EXPECT_EQ(table.PenColor(30), MakeColor(0, 0, 0));

    table.SetBackground(1);
    EXPECT_EQ(table.PenColor(1), MakeColor(0, 0, 0));  // switching alone does not recolour
    table.ResetPenColors();
    EXPECT_EQ(table.PenColor(1), MakeColor(255, 255, 255));
    EXPECT_EQ(table.PenColor(30), MakeColor(255, 255, 255));
    EXPECT_EQ(table.PenColor(9), MakeColor(255, 255, 255));
    EXPECT_EQ(table.PenColor(16), MakeColor(255, 255, 255));
    EXPECT_EQ(table.PenColor(5), MakeColor(32, 32, 255));
    EXPECT_EQ(table.PenColor(8), MakeColor(192, 128, 128));
    EXPECT_EQ(table.PenColor(10), MakeColor(255, 0, 0));  // same in both modes

    table.SetBackground(0);
    table.ResetPenColors();
    EXPECT_EQ(table.PenColor(1), MakeColor(0, 0, 0));
    EXPECT_EQ(table.PenColor(30), MakeColor(0, 0, 0));
}

TEST(AttributeTable, EntriesOutsideTheTableGiveTheBackgroundColour)
{
    TgraAttribute table;
    EXPECT_EQ(table.PenColor(-1), MakeColor(255, 255, 255));
    EXPECT_EQ(table.PenColor(265), MakeColor(255, 255, 255));
    table.SetBackground(1);
    EXPECT_EQ(table.PenColor(265), MakeColor(0, 0, 0));
    table.SetBackground(2);  // not a mode: nothing changes
    EXPECT_EQ(table.BackgroundMode(), 1);
}
