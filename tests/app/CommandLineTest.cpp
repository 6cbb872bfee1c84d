#include <gtest/gtest.h>

#include <functional>
#include <string_view>
#include <tuple>

#include "app/CommandLine.h"

namespace {

using TAction = TCommandLine::TAction;
using K = TDestination::TKind;

TOptionRequest Applied(const TCommandLine& commandLine) { return commandLine.Applied(TOptionRequest{}); }

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

TEST(CommandLine, DestinationOptionsTheLastWins)
{
    std::optional<TDestination> destination = ParseCommandLine({"--out", "/tmp/x y", "a.jww"}).Destination;
    ASSERT_TRUE(destination);
    EXPECT_EQ(destination->Kind, K::GivenFolder);
    EXPECT_EQ(destination->GivenFolder, "/tmp/x y");
    destination = ParseCommandLine({"--out=/o", "--beside", "a.jww"}).Destination;
    EXPECT_EQ(destination->Kind, K::BesideInput);
    EXPECT_FALSE(ParseCommandLine({"a.jww"}).Destination);
    EXPECT_EQ(ParseCommandLine({"--out", "", "a.jww"}).Action, TAction::UsageError);
    EXPECT_EQ(ParseCommandLine({"a.jww", "--out"}).Action, TAction::UsageError);
}

// Each option changes exactly its fields of a saved request (numbers as typed, unclamped),
// later options over earlier ones; words outside an option's choices are usage errors.
TEST(CommandLine, OptionsChangeOnlyTheirFieldsOfTheRequest)
{
    using R = TOptionRequest;
    const std::pair<std::vector<std::string>, std::function<void(R&)>> cases[] = {
        {{"--exclude=hidden,dims,points", "--include=solids", "--exclude", "aux", "--include", "points"},
         [](R& r) { r.Include.HiddenLayers = r.Include.Dimensions = r.Include.Auxiliary = false, r.Include.Solids = true; }},
        {{"--exclude=hatch"}, [](R& r) { r.Include.Hatching = false; }},
        {{"--scale", "1000", "--marker=7"}, [](R& r) { r.ScaleItem = 3, r.MarkerShape = 7; }},
        {{"--scale=1", "--marker", "0"}, [](R& r) { r.ScaleItem = 0, r.MarkerShape = 0; }},
        {{"--marker-size", "-5", "--arcs", "count:5000"},
         [](R& r) { r.MarkerSize = "-5", r.ArcMode = TArcMode::ByCount, r.ArcDivisions = "5000"; }},
        {{"--arcs", "angle:5:8"}, [](R& r) { r.ArcMode = TArcMode::ByAngle, r.ArcAngle = "5", r.ArcAngleMinDivisions = "8"; }},
        {{"--arcs=length:0.5"}, [](R& r) { r.ArcMode = TArcMode::ByLength, r.ArcLength = "0.5"; }},
        {{"--format", "glb"}, [](R& r) { r.Format = TOutputFormat::Glb; }},
        {{"-f", "dxf", "--exclude", "texts"},
         [](R& r) { r.Format = TOutputFormat::Dxf, r.Include.Texts = false, r.TextsExcluded = true; }},
        {{"--format=dae-compact", "--background", "dark"},
         [](R& r) { r.Format = TOutputFormat::DaeCompact, r.Background = TBackgroundChoice::Dark; }},
        {{"--background=light"}, [](R& r) { r.Background = TBackgroundChoice::Light; }},
    };
    R saved;
    saved.ArcMode = TArcMode::ByLength;  // so that every mode is a change
    saved.MarkerShape = 2;
    for (const auto& [options, change] : cases) {
        std::vector<std::string> arguments = options;
        arguments.push_back("a.jww");
        const TCommandLine commandLine = ParseCommandLine(arguments);
        ASSERT_EQ(commandLine.Action, TAction::Convert) << options[0];
        R expected = saved;
        change(expected);
        EXPECT_EQ(commandLine.Applied(saved), expected) << options[0];
    }
    const std::pair<const char*, std::vector<const char*>> bad[] = {
        {"--scale", {"5", "x10", "", "10.0"}},
        {"--marker", {"8", "-1", "x", ""}},
        {"--marker-size", {"abc", "1,5", "", "1e"}},
        {"--arcs", {"count", "count:", "count:1.5", "angle:x:4", "length:1:2:3", "spiral:4", "count:4:4"}},
        {"--include", {"text", ""}},
        {"--format", {"gltf"}},
        {"--background", {"grey"}},
        {"--jobs", {"-1", "257", "two"}},
    };
    for (const auto& [option, words] : bad)
        for (const char* word : words)
            EXPECT_EQ(ParseCommandLine({option, word, "a.jww"}).Action, TAction::UsageError) << option << " " << word;
    EXPECT_EQ(Applied(ParseCommandLine({"--marker-size", "1e3", "a.jww"})).MarkerSize, "1e3");
    EXPECT_EQ(ParseCommandLine({"--marker-size", ".5", "a.jww"}).Action, TAction::Convert);
}

TEST(CommandLine, JobsTakeTheirCount)
{
    EXPECT_EQ(ParseCommandLine({"a.jww"}).Jobs, 1u);
    EXPECT_EQ(ParseCommandLine({"--jobs", "0", "a.jww"}).Jobs, 0u);
    EXPECT_EQ(ParseCommandLine({"--jobs=256", "a.jww"}).Jobs, 256u);
    EXPECT_EQ(ParseCommandLine({"--format", "a.jww"}).Action, TAction::UsageError);
}

// A short option, its value apart or joined, reads as its long form; errors stay errors.
TEST(CommandLine, ShortOptionsReadAsTheirLongForms)
{
    const auto read = [](std::vector<std::string> arguments) {
        arguments.push_back("b.jww");
        const TCommandLine c = ParseCommandLine(arguments);
        const TDestination destination = c.Destination.value_or(TDestination{});
        return std::tuple(c.Action, c.Files, c.Jobs, Applied(c), destination.Kind, destination.GivenFolder);
    };
    const std::pair<std::vector<std::string>, std::vector<std::string>> cases[] = {
        {{"-o", "out", "-f", "glb"}, {"--out", "out", "--format", "glb"}},
        {{"-oout", "-fdae-compact"}, {"--out=out", "--format=dae-compact"}},
        {{"-o", "-j", "-j", "2"}, {"--out", "-j", "--jobs", "2"}},
        {{"-j0", "--beside"}, {"--jobs=0", "--beside"}},
        {{"-f", "gltf"}, {"--format", "gltf"}},
        {{"-jx"}, {"--jobs=x"}},
        {{"-o", ""}, {"--out", ""}},
        {{"a.jww", "-o"}, {"a.jww", "--out"}},
    };
    for (const auto& [shortForm, longForm] : cases) EXPECT_EQ(read(shortForm), read(longForm)) << shortForm[0];
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
