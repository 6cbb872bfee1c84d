// One batch converted on one thread and on three: every document byte for byte (the COLLADA
// stamps aside) and every printed line in the same order. Figure files, whose pens follow
// the background the drawings before them left, come after dark and light drawings and
// after a drawing whose grey pen 0 keeps the background it found; one drawing is listed
// twice (one document, written twice); a file that only has a drawing's extension comes
// after a drawing with a name.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/Batch.h"
#include "support/Conversion.h"
#include "support/JwsSamples.h"
#include "support/JwwSamples.h"
#include "support/JwwWriter.h"
#include "support/RunCommand.h"
#include "support/TempDir.h"

namespace fs = std::filesystem;

TEST(ParallelBatch, DocumentsAndPrintedLinesAreThoseOfTheRunInOrder)
{
    const std::vector<fs::path> samples = jwwsamples::SampleFiles();
    if (samples.empty() || !ProgramExists("sh")) GTEST_SKIP() << "no samples or no shell";
    TTempDir dir;
    std::string inputs;
    const auto add = [&inputs](const fs::path& input) { inputs.append(" ").append(ShellQuote(input.string())); };
    jwwfixture::TJwwFileWriter grey(600);
    grey.header.penColors[0] = 0x808080;
    const std::vector<uint8_t> greyBytes = grey.Build();
    fs::create_directories(dir / "in");
    WriteFileBytes(dir / "in" / "grey.jww", std::string_view(reinterpret_cast<const char*>(greyBytes.data()), greyBytes.size()));
    for (size_t i = 0; i < samples.size(); ++i) {
        const fs::path figure = dir / "in" / (std::to_string(i) + ".jws");
        const std::vector<uint8_t> bytes = jwssamples::JwsFromDrawing(samples[i]).bytes;
        WriteFileBytes(figure, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
        add(samples[i]);
        if (i == 0) add(dir / "in" / "grey.jww");
        add(figure);
    }
    WriteFileBytes(dir / "in" / "fake.jww", "not a drawing");
    add(samples[0]);
    add(dir / "in" / "fake.jww");

    for (const std::string format : {"dae", "dae-compact", "glb"}) {
        SCOPED_TRACE(format);
        std::vector<TCommandResult> runs;
        for (const std::string jobs : {"1", "3"}) {
            fs::create_directories(dir / (format + jobs));
            runs.push_back(RunCommand("XDG_CONFIG_HOME=" + ShellQuote((dir / "config").string()) + " " + TESSARO_BINARY +
                                      " --jobs " + jobs + " --format " + format + " --out " +
                                      ShellQuote((dir / (format + jobs)).string()) + inputs));
        }
        EXPECT_EQ(runs[0].ExitCode, 1);  // the fake drawing
        EXPECT_EQ(runs[1].ExitCode, runs[0].ExitCode);
        EXPECT_EQ(runs[1].Output, runs[0].Output);
        size_t documents = 0;
        for (const auto& entry : fs::directory_iterator(dir / (format + "1"))) {
            SCOPED_TRACE(entry.path().filename().string());
            const std::string parallel = ReadFileBytes(dir / (format + "3") / entry.path().filename());
            EXPECT_TRUE(WithoutStamps(parallel) == WithoutStamps(ReadFileBytes(entry.path()))) << "documents differ";
            ++documents;
        }
        EXPECT_EQ(documents, 2 * samples.size() + 2);
        // The fake drawing's document is named after it, not after the drawing before it.
        const std::string extension = format == "glb" ? "glb" : "dae";
        EXPECT_EQ(ReadFileBytes(dir / (format + "3") / ("fake." + extension)).find(samples[0].stem().string()),
                  std::string::npos);
    }
}

// Three drawings named alike in three folders make one document: the third's, as one at a
// time. With its arcs in 360 segments the second takes about ten times as long as the
// third, so a batch that let it write after the third would leave its document.
TEST(ParallelBatch, TheLastOfThreeInputsWithOneDocumentWritesIt)
{
    const fs::path samples = jwwsamples::SharedDir() / "samples" / "jww";
    const std::vector<fs::path> drawings = {samples / "Test5.jww",
                                            samples / jwwsamples::Utf8Path("Ａマンション平面例.jww"),
                                            samples / "out1_in2.jww"};
    if (!std::all_of(drawings.begin(), drawings.end(), [](const fs::path& d) { return fs::exists(d); }) ||
        !ProgramExists("sh"))
        GTEST_SKIP() << "no samples or no shell";
    TTempDir dir;
    std::string inputs;
    for (size_t i = 0; i < drawings.size(); ++i) {
        fs::create_directories(dir / std::to_string(i));
        fs::copy_file(drawings[i], dir / std::to_string(i) / "plan.jww");
        inputs.append(" ").append(ShellQuote((dir / std::to_string(i) / "plan.jww").string()));
    }
    const auto convert = [&dir](const std::string& jobs, const std::string& files) {
        fs::create_directories(dir / ("out" + jobs));
        return RunCommand("XDG_CONFIG_HOME=" + ShellQuote((dir / "config").string()) + " " + TESSARO_BINARY +
                          " --arcs count:360 --format glb --jobs " + jobs + " --out " +
                          ShellQuote((dir / ("out" + jobs)).string()) + files)
            .ExitCode;
    };
    ASSERT_EQ(convert("3", inputs), 0);
    ASSERT_EQ(convert("1", std::string(" ").append(ShellQuote((dir / "2" / "plan.jww").string()))), 0);
    EXPECT_TRUE(ReadFileBytes(dir / "out3" / "plan.glb") == ReadFileBytes(dir / "out1" / "plan.glb"));
}

// On worker threads a stop leaves, whenever it comes, the files started before it: each of
// them finished and reported in list order, and no document of a file after them.
TEST(ParallelBatch, AStopReportsEveryStartedFileInOrderAndStartsNoOther)
{
    struct TStopAfter final : TBatchReport {
        size_t After = 0;
        std::vector<fs::path> Done;
        bool StopRequested() override { return Done.size() >= After; }
        void FileStarting(size_t, size_t, const fs::path&) override {}
        void FileDone(const TFileOutcome& outcome) override { Done.push_back(outcome.Input); }
    };
    TTempDir dir;
    std::vector<fs::path> files;
    for (int i = 0; i < 40; ++i) {
        files.push_back(dir / "in" / (std::to_string(i) + ".jww"));
        fs::create_directories(files.back().parent_path());
        const std::vector<uint8_t> bytes = jwwfixture::TJwwFileWriter(600).Build();
        WriteFileBytes(files.back(), std::string(bytes.begin(), bytes.end()));
    }
    for (const size_t after : {0, 1}) {
        fs::remove_all(dir / "out");
        fs::create_directories(dir / "out");
        TStopAfter report;
        report.After = after;
        TConversionOptions options;
        EXPECT_FALSE(RunBatch(files, options, {dir / "out" / "", false}, 2, report));
        ASSERT_GE(report.Done.size(), after);
        for (size_t i = 0; i < files.size(); ++i) {
            if (i < report.Done.size()) {
                EXPECT_EQ(report.Done[i], files[i]);
            }
            EXPECT_EQ(fs::exists(dir / "out" / (std::to_string(i) + ".dae")), i < report.Done.size()) << i;
        }
    }
}
