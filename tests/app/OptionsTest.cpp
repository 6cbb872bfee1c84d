#include <gtest/gtest.h>

#include "app/Options.h"

namespace {

struct TRead {
    TControlsState Controls;
    TConversionOptions Options;
    double Scale = 0;
};

TRead Read(TControlsState controls)
{
    TRead r{controls, {}, 0};
    ReadOptions(r.Controls, r.Options, r.Scale);
    return r;
}

// The three count boxes share one clamp; each must also show the clamped value.
TEST(ReadOptions, DivisionCountsAreClampedTo3Through3600AndShownClamped)
{
    const std::pair<const char*, const char*> cases[] = {
        {"2", "3"}, {"5000", "3600"}, {"abc", "3"}, {"", "3"}, {"+12", "12"}, {"3600", "3600"}, {"1,5", "3"},
    };
    for (const auto& [typed, shown] : cases) {
        TControlsState controls;
        controls.Edit3 = controls.Edit5 = controls.Edit7 = typed;
        const TRead r = Read(controls);
        EXPECT_EQ(r.Controls.Edit3, shown) << typed;
        EXPECT_EQ(r.Controls.Edit5, shown) << typed;
        EXPECT_EQ(r.Controls.Edit7, shown) << typed;
        EXPECT_EQ(r.Options.ArcDivisions, std::stoi(shown));
        EXPECT_EQ(r.Options.ArcAngleMinDivisions, std::stoi(shown));
        EXPECT_EQ(r.Options.ArcLengthMinDivisions, std::stoi(shown));
    }
}

// Types each text into one edit box; expects the option's value and the box showing it.
void ExpectClamped(std::string TControlsState::*edit, double TConversionOptions::*option,
                   std::initializer_list<std::tuple<const char*, double, const char*>> cases)
{
    for (const auto& [typed, value, shown] : cases) {
        TControlsState controls;
        controls.*edit = typed;
        const TRead r = Read(controls);
        EXPECT_DOUBLE_EQ(r.Options.*option, value) << typed;
        EXPECT_EQ(r.Controls.*edit, shown) << typed;
    }
}

TEST(ReadOptions, MarkerSizeZeroBecomesOneAndSizeAndArcLengthAreClamped)
{
    ExpectClamped(&TControlsState::Edit2, &TConversionOptions::PointMarkerSize,
                  {{"0", 1.0, "1"}, {"", 1.0, "1"}, {"-5", 0.00001, "1E-5"}, {"20000", 10000.0, "10000"},
                   {"2.5", 2.5, "2.5"}, {"1,5", 1.0, "1"}, {".5", 0.5, "0.5"}});
    ExpectClamped(&TControlsState::Edit6, &TConversionOptions::ArcLength,
                  {{"0", 0.001, "0.001"}, {"1500", 1000.0, "1000"}, {"2.5", 2.5, "2.5"}});
}

TEST(ReadOptions, AngleIsClampedInDegreesAndTurnedIntoRadiansLast)
{
    const std::tuple<const char*, const char*, double> cases[] = {{"0.05", "0.1", 0.1}, {"120", "90", 90}, {"10", "10", 10}};
    for (const auto& [typed, shown, degrees] : cases) {
        TControlsState controls;
        controls.Edit4 = typed;
        const TRead r = Read(controls);
        EXPECT_EQ(r.Controls.Edit4, shown);
        EXPECT_DOUBLE_EQ(r.Options.ArcAngle, degrees * 3.14159265358979323846 / 180);
    }
}

TEST(ReadOptions, CoordinateFactorComesFromTheScaleItemAndIsOneWithoutSelection)
{
    const std::pair<int, double> cases[] = {{0, 1.0}, {1, 10.0}, {2, 100.0}, {3, 1000.0}, {-1, 1.0}, {7, 1.0}};
    for (const auto& [index, scale] : cases) {
        TControlsState controls;
        controls.ComboBox1ItemIndex = index;
        EXPECT_EQ(Read(controls).Scale, scale) << index;
    }
}

TEST(ReadOptions, MarkerShapeIsTheItemIndexWithoutRangeTest)
{
    TControlsState controls;
    controls.ComboBox2ItemIndex = 7;
    EXPECT_EQ(Read(controls).Options.PointMarkerShape, 7);
    controls.ComboBox2ItemIndex = -1;
    EXPECT_EQ(Read(controls).Options.PointMarkerShape, -1);
}

TEST(ReadOptions, ArcModeFollowsTheRadioButtonsWithTheLastCheckedWinning)
{
    TControlsState controls;
    controls.RadioButton5 = false;
    EXPECT_EQ(Read(controls).Options.ArcMode, 0);  // none checked reads as by count
    controls.RadioButton6 = true;
    EXPECT_EQ(Read(controls).Options.ArcMode, 1);
    controls.RadioButton7 = true;
    EXPECT_EQ(Read(controls).Options.ArcMode, 2);
}

TEST(ReadOptions, CheckBoxesBecomeTheSixInclusionFlags)
{
    TControlsState controls;
    controls.CheckBox1 = false;
    controls.CheckBox3 = false;
    controls.CheckBox6 = true;
    const TConversionOptions o = Read(controls).Options;
    EXPECT_FALSE(o.IncludeHiddenLayers);
    EXPECT_TRUE(o.IncludeAuxiliary);
    EXPECT_FALSE(o.IncludeDimensions);
    EXPECT_TRUE(o.IncludeHatching);
    EXPECT_TRUE(o.IncludePoints);
    EXPECT_TRUE(o.IncludeSolids);
}

}  // namespace
