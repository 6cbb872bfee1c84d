#include <gtest/gtest.h>

#include <set>
#include <string_view>

#include "app/CommandLine.h"
#include "app/ControlsTable.h"

namespace {

using TAction = TCommandLine::TAction;

TControlsState Applied(const TCommandLine& commandLine)
{
    TControlsState controls;
    commandLine.Overrides.ApplyTo(controls);
    return controls;
}

TEST(CommandLine, NoArgumentsOrNoFilesIsAUsageError)
{
    EXPECT_EQ(ParseCommandLine({}).Action, TAction::UsageError);
    EXPECT_EQ(ParseCommandLine({"--beside"}).Action, TAction::UsageError);
}

TEST(CommandLine, HelpAndVersionWinOverEverythingElse)
{
    EXPECT_EQ(ParseCommandLine({"a.jww", "--help"}).Action, TAction::Help);
    EXPECT_EQ(ParseCommandLine({"-h"}).Action, TAction::Help);
    EXPECT_EQ(ParseCommandLine({"--version", "--bogus"}).Action, TAction::Version);
}

TEST(CommandLine, FilesKeepTheirOrderAroundOptionsAndAfterDoubleDash)
{
    const TCommandLine c = ParseCommandLine({"a.jww", "--beside", "b.JWS", "--", "--out", "-"});
    ASSERT_EQ(c.Action, TAction::Convert);
    EXPECT_EQ(c.Files, (std::vector<std::string>{"a.jww", "b.JWS", "--out", "-"}));
}

TEST(CommandLine, DestinationOptionsSelectTheirRadioButtonAndTheLastWins)
{
    TControlsState controls = Applied(ParseCommandLine({"--out", "/tmp/x y", "a.jww"}));
    EXPECT_TRUE(controls.RadioButton4);
    EXPECT_FALSE(controls.RadioButton1);
    EXPECT_EQ(controls.Edit1, "/tmp/x y");

    controls = Applied(ParseCommandLine({"--out=/o", "--beside", "a.jww"}));
    EXPECT_TRUE(controls.RadioButton3);
    EXPECT_FALSE(controls.RadioButton4);
    EXPECT_EQ(ParseCommandLine({"--out", "", "a.jww"}).Action, TAction::UsageError);
    EXPECT_EQ(ParseCommandLine({"a.jww", "--out"}).Action, TAction::UsageError);
}

TEST(CommandLine, ScaleAndMarkerTakeOnlyWhatTheListsOffer)
{
    TControlsState controls = Applied(ParseCommandLine({"--scale", "1000", "--marker=7", "a.jww"}));
    EXPECT_EQ(controls.ComboBox1ItemIndex, 3);
    EXPECT_EQ(controls.ComboBox2ItemIndex, 7);
    controls = Applied(ParseCommandLine({"--scale=1", "--marker", "0", "a.jww"}));
    EXPECT_EQ(controls.ComboBox1ItemIndex, 0);
    EXPECT_EQ(controls.ComboBox2ItemIndex, 0);
    for (const char* bad : {"5", "x10", "", "10.0"}) {
        EXPECT_EQ(ParseCommandLine({"--scale", bad, "a.jww"}).Action, TAction::UsageError) << bad;
    }
    for (const char* bad : {"8", "-1", "x", ""}) {
        EXPECT_EQ(ParseCommandLine({"--marker", bad, "a.jww"}).Action, TAction::UsageError) << bad;
    }
}

TEST(CommandLine, NumbersGoIntoTheEditTextsUnclamped)
{
    const TControlsState controls = Applied(ParseCommandLine({"--marker-size", "-5", "--arcs", "count:5000", "a.jww"}));
    EXPECT_EQ(controls.Edit2, "-5");
    EXPECT_EQ(controls.Edit3, "5000");
    EXPECT_TRUE(controls.RadioButton5);
    for (const char* bad : {"abc", "1,5", "", "1e"}) {
        EXPECT_EQ(ParseCommandLine({"--marker-size", bad, "a.jww"}).Action, TAction::UsageError) << bad;
    }
    EXPECT_EQ(ParseCommandLine({"--marker-size", ".5", "a.jww"}).Action, TAction::Convert);
    EXPECT_EQ(ParseCommandLine({"--marker-size", "1e3", "a.jww"}).Action, TAction::Convert);
}

TEST(CommandLine, ArcsChooseTheModeWithItsValues)
{
    TControlsState controls = Applied(ParseCommandLine({"--arcs", "angle:5:8", "a.jww"}));
    EXPECT_TRUE(controls.RadioButton6);
    EXPECT_FALSE(controls.RadioButton5 || controls.RadioButton7);
    EXPECT_EQ(controls.Edit4, "5");
    EXPECT_EQ(controls.Edit5, "8");

    controls = Applied(ParseCommandLine({"--arcs=length:0.5", "a.jww"}));
    EXPECT_TRUE(controls.RadioButton7);
    EXPECT_EQ(controls.Edit6, "0.5");
    EXPECT_EQ(controls.Edit7, "4");  // the saved least count stays

    for (const char* bad : {"count", "count:", "count:1.5", "angle:x:4", "length:1:2:3", "spiral:4", "count:4:4"}) {
        EXPECT_EQ(ParseCommandLine({"--arcs", bad, "a.jww"}).Action, TAction::UsageError) << bad;
    }
}

TEST(CommandLine, IncludeAndExcludeSetTheKindCheckBoxes)
{
    const TControlsState controls =
        Applied(ParseCommandLine({"--exclude", "hidden,dims,points", "--include=solids", "--exclude", "aux",
                                  "--include", "points", "a.jww"}));
    EXPECT_FALSE(controls.CheckBox1);
    EXPECT_FALSE(controls.CheckBox2);
    EXPECT_FALSE(controls.CheckBox3);
    EXPECT_TRUE(controls.CheckBox4);
    EXPECT_TRUE(controls.CheckBox5);
    EXPECT_TRUE(controls.CheckBox6);
    EXPECT_EQ(ParseCommandLine({"--include", "text", "a.jww"}).Action, TAction::UsageError);
    EXPECT_EQ(ParseCommandLine({"--include", "", "a.jww"}).Action, TAction::UsageError);
}

// Each option sets exactly its controls over a saved state, and between them the options
// reach every control of the table but the window placement and the My Documents button.
TEST(CommandLine, OptionsSetOnlyTheirControlsAndReachEveryControl)
{
    using TLines = std::vector<std::pair<int, std::string_view>>;  // settings line (1-based), its text
    const std::pair<std::vector<std::string>, TLines> cases[] = {
        {{"--out", "/o"}, {{10, "1"}, {11, "/o"}}},
        {{"--beside"}, {{9, "1"}}},
        {{"--exclude=hidden"}, {{12, "0"}}}, {{"--exclude=aux"}, {{13, "0"}}},    {{"--exclude=dims"}, {{14, "0"}}},
        {{"--exclude=hatch"}, {{15, "0"}}},  {{"--exclude=points"}, {{16, "0"}}}, {{"--include=solids"}, {{17, "1"}}},
        {{"--scale", "100", "--marker", "5"}, {{18, "2"}, {19, "5"}}},
        {{"--marker-size", "0.25"}, {{20, "0.25"}}},
        {{"--arcs", "count:36"}, {{21, "1"}, {24, "36"}}},
        {{"--arcs", "angle:2.5:8"}, {{22, "1"}, {25, "2.5"}, {26, "8"}}},
        {{"--arcs", "length:0.5:9"}, {{23, "1"}, {27, "0.5"}, {28, "9"}}},
        {{"--format", "glb"}, {{29, "2"}}},
    };
    TControlsState saved;
    SetFromText(kControlsTable[22], saved, "1");  // arcs by length, so that every mode is a change
    std::set<const TControlEntry*> reached;
    for (const auto& [options, lines] : cases) {
        std::vector<std::string> arguments = options;
        arguments.push_back("a.jww");
        TControlsState applied = saved;
        ParseCommandLine(arguments).Overrides.ApplyTo(applied);
        TControlsState expected = saved;
        for (const auto& [line, text] : lines) SetFromText(kControlsTable[line - 1], expected, text);
        EXPECT_EQ(applied, expected) << options[0];
        for (const TControlEntry& entry : kControlsTable) {
            if (TextOf(entry, applied) != TextOf(entry, saved)) reached.insert(&entry);
        }
    }
    for (const TControlEntry& entry : kControlsTable) {
        const bool noOption = entry.Kind == TControlKind::Placement || entry.Bool == &TControlsState::RadioButton2;
        EXPECT_NE(reached.contains(&entry), noOption) << "settings line " << &entry - kControlsTable + 1;
    }
}

TEST(CommandLine, BackgroundAndJobsTakeTheirChoices)
{
    EXPECT_EQ(ParseCommandLine({"--background", "dark", "a.jww"}).Background, 1);
    EXPECT_EQ(ParseCommandLine({"--background=light", "a.jww"}).Background, 0);
    EXPECT_FALSE(ParseCommandLine({"a.jww"}).Background);
    EXPECT_EQ(ParseCommandLine({"a.jww"}).Jobs, 1u);
    EXPECT_EQ(ParseCommandLine({"--jobs", "0", "a.jww"}).Jobs, 0u);
    EXPECT_EQ(ParseCommandLine({"--jobs=256", "a.jww"}).Jobs, 256u);
    for (const char* bad : {"--format=gltf", "--background=grey", "--format", "--jobs=-1", "--jobs=257", "--jobs=two"})
        EXPECT_EQ(ParseCommandLine({bad, "a.jww"}).Action, TAction::UsageError) << bad;
}

TEST(CommandLine, UnknownOptionsAreUsageErrors)
{
    const TCommandLine c = ParseCommandLine({"--fast", "a.jww"});
    EXPECT_EQ(c.Action, TAction::UsageError);
    EXPECT_NE(c.Error.find("--fast"), std::string::npos);
    EXPECT_EQ(ParseCommandLine({"-x", "a.jww"}).Action, TAction::UsageError);
    EXPECT_EQ(ParseCommandLine({"--beside=yes", "a.jww"}).Action, TAction::UsageError);
}

}  // namespace
