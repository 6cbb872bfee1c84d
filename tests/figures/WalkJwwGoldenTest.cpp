#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "support/ColladaCheck.h"
#include "support/Conversion.h"
#include "support/JwwSamples.h"
#include "support/RunCommand.h"
#include "support/SharedData.h"
#include "support/TempDir.h"

// The sample drawings converted end to end, one fresh conversion per file as the driver runs it
// (attribute table in the dark background at start), compared with the expected documents.

namespace {

namespace fs = std::filesystem;

using TOptionSetter = std::function<void(TConversionOptions&)>;

void DefaultOptions(TConversionOptions&) {}

// The engine's conversion on three threads however small the drawing (the command line
// converts the samples on one); a damaged file is converted as far as it was read.
void ConvertSample(const fs::path& sample, const TOptionSetter& setOptions, const fs::path& out)
{
    TConversionOptions options;
    options.Threads = 3;
    options.MinFiguresForThreads = 0;
    setOptions(options);
    const TConverted converted = ConvertDrawingFile(sample, options);
    ASSERT_TRUE(converted.Result.SignatureMatched);
    WriteFileBytes(out, converted.Document);
}

fs::path GoldenDir() { return jwwsamples::SharedDir() / "golden"; }

fs::path SampleNamed(const std::string& stem)
{
    return jwwsamples::SharedDir() / "samples" / "jww" / jwwsamples::Utf8Path(stem + ".jww");
}

// Converts and compares; the converted document is left at `out` for further checks.
void ExpectConvertedEquals(const fs::path& sample, const fs::path& golden, const TOptionSetter& setOptions,
                           const fs::path& out)
{
    SCOPED_TRACE(golden.string());
    std::error_code error;
    ASSERT_TRUE(fs::exists(golden, error)) << "no expected document";
    ConvertSample(sample, setOptions, out);
    ASSERT_TRUE(fs::exists(out, error)) << "no document written";
    EXPECT_EQ(CompareColladaDocuments(ReadFileBytes(out), ReadFileBytes(golden)), "");
}

struct TVariant {
    const char* sample;
    const char* golden;  // under golden/variants/
    TOptionSetter options;
};

std::vector<TVariant> Variants()
{
    return {
        {"サンプル", "サンプル.v1.dae",
         [](TConversionOptions& c) {
             c.CoordinateScale = 1000.0;
             c.ArcMode = TArcMode::ByLength;
             c.ArcLength = 5.0;
             c.ArcLengthMinDivisions = 6;
             c.PointMarkerShape = 7;
             c.PointMarkerSize = 2.0;
         }},
        {"木造平面例", "木造平面例.v2.dae",
         [](TConversionOptions& c) {
             c.Include.HiddenLayers = false;
             c.Include.Auxiliary = false;
             c.Include.Points = false;
             c.ArcMode = TArcMode::ByAngle;
             c.ArcAngleDegrees = 5.0;
             c.ArcAngleMinDivisions = 8;
         }},
        {"3blocks", "3blocks.v3.dae",
         [](TConversionOptions& c) {
             c.CoordinateScale = 10.0;
             c.PointMarkerShape = 4;
             c.ArcMode = TArcMode::ByCount;
             c.ArcDivisions = 36;
         }},
        {"Ａマンション平面例", "Ａマンション平面例.v4.dae",
         [](TConversionOptions& c) {
             c.Include.Dimensions = false;
             c.Include.Hatching = false;
             c.Include.Solids = true;
             c.PointMarkerShape = 5;
             c.CoordinateScale = 100.0;
         }},
        {"Test7", "Test7.v5.dae",
         [](TConversionOptions& c) {
             c.Include.HiddenLayers = false;
             c.PointMarkerShape = 3;
             c.PointMarkerSize = 0.5;
             c.ArcMode = TArcMode::ByCount;
             c.ArcDivisions = 3;
         }},
    };
}

void IncludeSolids(TConversionOptions& c) { c.Include.Solids = true; }

// The built command, copied into `dir` so that it starts from the default settings and its
// settings file stays in the test's own folder.
fs::path PrivateBinary(const TTempDir& dir)
{
    const fs::path binary = dir / "tessaro";
    fs::copy_file(TESSARO_BINARY, binary);
    return binary;
}

TCommandResult RunBinary(const fs::path& binary, const std::string& arguments)
{
    return RunCommand("HOME=" + ShellQuote(binary.parent_path().string()) + " " + ShellQuote(binary.string()) + " " +
                      arguments);
}

}  // namespace

TEST(JwwGolden, EverySampleWithDefaultOptionsEqualsItsExpectedDocument)
{
    const std::vector<fs::path> samples = jwwsamples::SampleFiles();
    if (samples.empty()) SKIP_WITHOUT_SHARED_DATA("no sample drawings in " << TESSARO_SHARED_DIR);
    TTempDir dir;
    for (const fs::path& sample : samples)
        ExpectConvertedEquals(sample, GoldenDir() / jwwsamples::Utf8Path(sample.stem().string() + ".dae"), DefaultOptions,
                              dir / "out.dae");
}

TEST(JwwGolden, SamplesWithSolidsIncludedEqualTheirExpectedDocuments)
{
    std::error_code error;
    const fs::path solids = GoldenDir() / "solids";
    if (!fs::is_directory(solids, error)) SKIP_WITHOUT_SHARED_DATA("no expected documents in " << TESSARO_SHARED_DIR);
    TTempDir dir;
    int compared = 0;
    for (const auto& entry : fs::directory_iterator(solids, error)) {
        if (entry.path().extension() != ".dae") continue;
        ExpectConvertedEquals(SampleNamed(entry.path().stem().string()), entry.path(), IncludeSolids,
                              dir / "out.dae");
        ++compared;
    }
    EXPECT_GT(compared, 0);
}

TEST(JwwGolden, OptionVariantsEqualTheirExpectedDocuments)
{
    if (jwwsamples::SampleFiles().empty()) SKIP_WITHOUT_SHARED_DATA("no sample drawings in " << TESSARO_SHARED_DIR);
    TTempDir dir;
    for (const TVariant& v : Variants())
        ExpectConvertedEquals(SampleNamed(v.sample), GoldenDir() / "variants" / jwwsamples::Utf8Path(v.golden),
                              v.options, dir / "out.dae");
}

// Every document converted from a sample, in each option setting with an expected document,
// is valid COLLADA 1.4.1 and loads cleanly in assimp.
TEST(JwwGolden, EveryConvertedSampleValidatesAndLoadsInAssimp)
{
    const std::vector<fs::path> samples = jwwsamples::SampleFiles();
    if (samples.empty()) SKIP_WITHOUT_SHARED_DATA("no sample drawings in " << TESSARO_SHARED_DIR);
    TTempDir dir;
    std::vector<std::pair<fs::path, TOptionSetter>> runs;
    for (const fs::path& sample : samples) {
        runs.emplace_back(sample, DefaultOptions);
        runs.emplace_back(sample, IncludeSolids);
    }
    for (const TVariant& v : Variants()) runs.emplace_back(SampleNamed(v.sample), v.options);
    for (const auto& [sample, options] : runs) {
        SCOPED_TRACE(sample.string());
        const fs::path out = dir / "out.dae";
        ConvertSample(sample, options, out);
        const std::optional<std::string> problems = CheckColladaDocument(out);
        if (!problems) GTEST_SKIP() << "neither xmllint with the COLLADA schema nor assimp is installed";
        EXPECT_EQ(*problems, "");
    }
}

// The same documents through the command line: one batch converts every sample in turn (what
// one file leaves behind must not reach the next), and the variants take their options from
// the command line.
TEST(JwwGolden, CommandLineBatchWritesTheExpectedDocuments)
{
#ifdef _WIN32
    GTEST_SKIP() << "runs the command through a POSIX shell; scripts/windows-test.sh checks the Windows programs";
#endif
    const std::vector<fs::path> samples = jwwsamples::SampleFiles();
    if (samples.empty()) SKIP_WITHOUT_SHARED_DATA("no sample drawings in " << TESSARO_SHARED_DIR);
    TTempDir dir;
    const fs::path binary = PrivateBinary(dir);
    const fs::path out = dir / "out";
    fs::create_directory(out);
    std::string files;
    for (const fs::path& sample : samples) files.append(" ").append(ShellQuote(sample.string()));
    const TCommandResult batch = RunBinary(binary, "--out " + ShellQuote(out.string()) + files);
    ASSERT_EQ(batch.ExitCode, 0) << batch.Output;
    for (const fs::path& sample : samples) {
        const std::string name = sample.stem().string() + ".dae";
        SCOPED_TRACE(name);
        EXPECT_EQ(CompareColladaDocuments(ReadFileBytes(out / name), ReadFileBytes(GoldenDir() / name)), "");
    }

    const std::pair<const char*, const char*> variants[] = {
        {"variants/サンプル.v1.dae", "--scale 1000 --arcs length:5:6 --marker 7 --marker-size 2"},
        {"variants/木造平面例.v2.dae", "--exclude hidden,aux,points --arcs angle:5:8"},
        {"variants/3blocks.v3.dae", "--scale 10 --marker 4 --arcs count:36"},
        {"variants/Ａマンション平面例.v4.dae", "--exclude dims,hatch --include solids --marker 5 --scale 100"},
        {"variants/Test7.v5.dae", "--exclude hidden --marker 3 --marker-size 0.5 --arcs count:3"},
        {"solids/Ａマンション平面例.dae", "--include solids"},
    };
    for (const auto& [golden, options] : variants) {
        SCOPED_TRACE(golden);
        const fs::path expected = GoldenDir() / golden;
        const std::string stem = expected.stem().stem().string();  // without the variant's mark
        const TCommandResult run =
            RunBinary(binary, std::string(options) + " --out " + ShellQuote(out.string()) + " " +
                                  ShellQuote(SampleNamed(stem).string()));
        ASSERT_EQ(run.ExitCode, 0) << run.Output;
        EXPECT_EQ(CompareColladaDocuments(ReadFileBytes(out / (stem + ".dae")), ReadFileBytes(expected)), "");
    }
}
