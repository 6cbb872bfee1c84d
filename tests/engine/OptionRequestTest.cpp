#include <gtest/gtest.h>

#include <tuple>

#include "app/ControlsTable.h"
#include "engine/OptionRequest.h"

namespace {

using R = TOptionRequest;
using O = TConversionOptions;

// Every number a user types, as text in and value out: the clamp MakeOptions applies once, and
// the text the window shows afterwards (ShowClampedNumbers writes it into the edit boxes).
TEST(MakeOptions, EveryNumberIsClampedOnceAndShownClamped)
{
    struct TCase {
        std::string R::*typed;
        const char* text;
        double value;
        const char* shown;
    };
    const auto count = [](const O& o, std::string R::*field) -> double {
        if (field == &R::ArcDivisions) return o.ArcDivisions;
        if (field == &R::ArcAngleMinDivisions) return o.ArcAngleMinDivisions;
        if (field == &R::ArcLengthMinDivisions) return o.ArcLengthMinDivisions;
        if (field == &R::MarkerSize) return o.PointMarkerSize;
        if (field == &R::ArcAngle) return o.ArcAngleDegrees;
        return o.ArcLength;
    };
    const TCase cases[] = {
        {&R::ArcDivisions, "2", 3, "3"},          {&R::ArcDivisions, "5000", 3600, "3600"},
        {&R::ArcDivisions, "abc", 3, "3"},        {&R::ArcDivisions, "+12", 12, "12"},
        {&R::ArcAngleMinDivisions, "", 3, "3"},   {&R::ArcLengthMinDivisions, "1,5", 3, "3"},
        {&R::ArcLengthMinDivisions, "3600", 3600, "3600"},
        {&R::MarkerSize, "0", 1, "1"},            {&R::MarkerSize, "", 1, "1"},
        {&R::MarkerSize, "-5", 0.00001, "1E-5"},  {&R::MarkerSize, "20000", 10000, "10000"},
        {&R::MarkerSize, ".5", 0.5, "0.5"},       {&R::MarkerSize, "1,5", 1, "1"},
        {&R::ArcAngle, "0.05", 0.1, "0.1"},       {&R::ArcAngle, "120", 90, "90"},
        {&R::ArcAngle, "0", 0.1, "0.1"},          {&R::ArcLength, "0", 0.001, "0.001"},
        {&R::ArcLength, "1500", 1000, "1000"},    {&R::ArcLength, "2.50", 2.5, "2.5"},
    };
    const std::pair<std::string R::*, std::string TControlsState::*> boxes[] = {
        {&R::MarkerSize, &TControlsState::Edit2},           {&R::ArcDivisions, &TControlsState::Edit3},
        {&R::ArcAngle, &TControlsState::Edit4},             {&R::ArcAngleMinDivisions, &TControlsState::Edit5},
        {&R::ArcLength, &TControlsState::Edit6},            {&R::ArcLengthMinDivisions, &TControlsState::Edit7},
    };
    for (const TCase& c : cases) {
        R request;
        request.*c.typed = c.text;
        EXPECT_DOUBLE_EQ(count(MakeOptions(request), c.typed), c.value) << c.text;
        for (const auto& [field, box] : boxes) {
            if (field != c.typed) continue;
            TControlsState controls;
            controls.*box = c.text;
            EXPECT_EQ(RequestOf(controls).*field, c.text);
            ShowClampedNumbers(controls);
            EXPECT_EQ(controls.*box, c.shown) << c.text;
        }
    }
}

// The lists' items and the controls' choices: out-of-list items read as the first scale and
// no marker; the arc mode follows the last checked button; the angle is turned into radians
// from the clamped degrees.
TEST(MakeOptions, ChoicesReadAsTheWindowShowsThem)
{
    const std::tuple<int32_t, double, int32_t, int32_t> items[] = {
        {0, 1, 0, 0}, {1, 10, 7, 7}, {2, 100, -1, -1}, {3, 1000, 8, -1}, {-1, 1, 3, 3}, {7, 1, 5, 5}};
    for (const auto& [scaleItem, scale, markerItem, marker] : items) {
        R request;
        request.ScaleItem = scaleItem;
        request.MarkerShape = markerItem;
        const O options = MakeOptions(request);
        EXPECT_EQ(options.CoordinateScale, scale) << scaleItem;
        EXPECT_EQ(options.PointMarkerShape, marker) << markerItem;
    }
    TControlsState controls;
    controls.RadioButton5 = false;
    EXPECT_EQ(RequestOf(controls).ArcMode, TArcMode::ByCount);  // none checked reads as by count
    controls.RadioButton6 = true;
    EXPECT_EQ(RequestOf(controls).ArcMode, TArcMode::ByAngle);
    controls.RadioButton7 = true;
    EXPECT_EQ(RequestOf(controls).ArcMode, TArcMode::ByLength);
    controls.CheckBox3 = false;
    controls.CheckBox6 = true;
    controls.OutputFormat = -1;
    EXPECT_FALSE(MakeOptions(RequestOf(controls)).Include.Texts);
    controls.CheckBox7 = true;
    const O o = MakeOptions(RequestOf(controls));
    EXPECT_TRUE(o.Include.Texts);
    EXPECT_FALSE(o.Include.Dimensions);
    EXPECT_TRUE(o.Include.HiddenLayers && o.Include.Auxiliary && o.Include.Hatching && o.Include.Points && o.Include.Solids);
    EXPECT_EQ(o.Format, TOutputFormat::Dae);
    R angle;
    angle.ArcAngle = "120";
    EXPECT_DOUBLE_EQ(MakeOptions(angle).ArcAngleRadians(), 90 * 3.14159265358979323846 / 180);
}

}  // namespace
