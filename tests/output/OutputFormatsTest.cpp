#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "support/ColladaCheck.h"
#include "support/GlbShapes.h"
#include "support/JwwSamples.h"
#include "support/RunCommand.h"
#include "support/SharedData.h"
#include "support/TempDir.h"

// Every sample converted into the three formats must hold the same segments and triangles
// per geometry (layer, colour), in the same order: the compact COLLADA to the printed
// nanometre, the glTF file within float32 rounding of its centred positions.

namespace {

namespace fs = std::filesystem;
using glb::Corners;
using glb::Split;
using glb::TDocumentShapes;
using glb::TShapes;

std::vector<double> NumbersBetween(const std::string& text, size_t from, const std::string& end)
{
    std::vector<double> numbers;
    std::istringstream in(text.substr(from, text.find(end, from) - from));
    for (double v; in >> v;) numbers.push_back(v);
    return numbers;
}

// Reads either COLLADA layout; also answers whether every position of a geometry is distinct.
TDocumentShapes ReadCollada(const std::string& text, bool& positionsDistinct)
{
    TDocumentShapes shapes;
    positionsDistinct = true;
    for (size_t g = text.find("<geometry id=\""); g != std::string::npos; g = text.find("<geometry id=\"", g + 1)) {
        const std::string id = text.substr(g + 14, text.find('"', g + 14) - g - 14);
        const size_t end = text.find("</geometry>", g);
        const std::vector<double> positions = NumbersBetween(text, text.find(">", text.find("<float_array", g)) + 1, "<");
        std::set<std::vector<double>> distinct;
        for (size_t i = 0; i + 3 <= positions.size(); i += 3) distinct.insert({positions.begin() + i, positions.begin() + i + 3});
        positionsDistinct = positionsDistinct && distinct.size() * 3 == positions.size();
        for (size_t t = text.find("<triangles", g); t < end; t = text.find("<triangles", t + 1))
            Split(Corners(positions, NumbersBetween(text, text.find("<p>", t) + 3, "</p>"), 2), 9, shapes[id].Triangles);
        for (size_t l = text.find("<lines", g); l < end; l = text.find("<lines", l + 1))
            Split(Corners(positions, NumbersBetween(text, text.find("<p>", l) + 3, "</p>"), 1), 6, shapes[id].Segments);
    }
    return shapes;
}

// "" when both hold the same shapes, coordinates within tolerance(coordinate).
template <typename Tolerance>
std::string Compare(const TDocumentShapes& actual, const TDocumentShapes& expected, Tolerance tolerance)
{
    for (const auto& [id, shapes] : expected) {
        const TShapes none;
        const TShapes& got = actual.count(id) ? actual.at(id) : none;
        for (auto list : {&TShapes::Segments, &TShapes::Triangles}) {
            if ((got.*list).size() != (shapes.*list).size())
                return id + ": " + std::to_string((got.*list).size()) + " shapes, expected " +
                       std::to_string((shapes.*list).size());
            for (size_t s = 0; s < (shapes.*list).size(); ++s)
                for (size_t c = 0; c < (shapes.*list)[s].size(); ++c)
                    if (std::fabs((got.*list)[s][c] - (shapes.*list)[s][c]) > tolerance((shapes.*list)[s][c]))
                        return id + ": shape " + std::to_string(s) + " differs";
        }
    }
    return "";
}

// The sample's three documents in `dir` (dae/, dae-compact/, glb/) hold the same shapes.
void CheckSameShapes(const fs::path& dir, const fs::path& sample)
{
    SCOPED_TRACE(sample.filename().string());
    fs::path dae = sample.stem(), glb = sample.stem();
    dae += ".dae", glb += ".glb";
    bool distinct = true;
    const TDocumentShapes expected = ReadCollada(ReadFileBytes(dir / "dae" / dae), distinct);
    const TDocumentShapes compact = ReadCollada(ReadFileBytes(dir / "dae-compact" / dae), distinct);
    EXPECT_TRUE(distinct) << "a compact geometry repeats a position";
    EXPECT_EQ(Compare(compact, expected, [](double) { return 1e-12; }), "");
    std::string rootName;
    const TDocumentShapes gltf = glb::ReadShapes(ReadFileBytes(dir / "glb" / glb), rootName);
    // float32 positions relative to the centre: at most half a unit in the last place of
    // a distance below twice the largest coordinate.
    double largest = 0;
    for (const auto& [id, shapes] : expected)
        for (auto list : {&TShapes::Segments, &TShapes::Triangles})
            for (const auto& shape : shapes.*list)
                for (double v : shape) largest = std::max(largest, std::fabs(v));
    EXPECT_EQ(Compare(gltf, expected, [largest](double) { return 2.5e-7 * largest + 1e-9; }), "");
    EXPECT_EQ(jwwsamples::Utf8Path(rootName), sample.stem());
    if (const auto problems = CheckColladaDocument(dir / "dae-compact" / dae)) {
        EXPECT_EQ(*problems, "");
    }
}

}  // namespace

TEST(OutputFormats, EverySampleHoldsTheSameShapesInAllThreeFormats)
{
    const std::vector<fs::path> samples = jwwsamples::SampleFiles();
    if (samples.empty()) SKIP_WITHOUT_SHARED_DATA("no sample drawings");
    if (!ProgramExists("sh")) GTEST_SKIP() << "no shell";
    std::string inputs;
    for (const fs::path& sample : samples) inputs += " " + ShellQuote(sample.string());
    // Flat, and lifted by the drawings' height texts.
    for (const char* options : {" --include solids,points --marker 7", " --include solids,points --heights"}) {
        SCOPED_TRACE(options);
        TTempDir dir;
        for (const char* format : {"dae", "dae-compact", "glb"}) {
            fs::create_directories(dir / format);
            std::string command = TESSARO_BINARY;
            command += options;
            command += " --format ";
            command += format;
            command += " --out " + ShellQuote((dir / format).string()) + inputs;
            const TCommandResult run = RunCommand(command);
            ASSERT_EQ(run.ExitCode, 0) << run.Output;
        }
        for (const fs::path& sample : samples) CheckSameShapes(dir.Path(), sample);
    }
}
