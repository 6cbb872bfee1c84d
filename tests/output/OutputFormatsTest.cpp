#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "support/ColladaCheck.h"
#include "support/GlbReader.h"
#include "support/JwwSamples.h"
#include "support/RunCommand.h"
#include "support/SharedData.h"
#include "support/TempDir.h"

// Every sample converted into the three formats must hold the same segments and triangles
// per geometry (layer, colour), in the same order: the compact COLLADA to the printed
// nanometre, the glTF file within float32 rounding of its centred positions.

namespace {

namespace fs = std::filesystem;

// Per geometry id: segments as 6 coordinates, triangles as 9, in document order.
struct TShapes {
    std::vector<std::vector<double>> Segments, Triangles;
};
using TDocumentShapes = std::map<std::string, TShapes>;

std::vector<double> NumbersBetween(const std::string& text, size_t from, const std::string& end)
{
    std::vector<double> numbers;
    std::istringstream in(text.substr(from, text.find(end, from) - from));
    for (double v; in >> v;) numbers.push_back(v);
    return numbers;
}

std::vector<double> Corners(const std::vector<double>& positions, const std::vector<double>& indices, size_t stride)
{
    std::vector<double> points;
    for (size_t i = 0; i < indices.size(); i += stride)
        for (size_t axis = 0; axis < 3; ++axis) points.push_back(positions.at(3 * size_t(indices[i]) + axis));
    return points;
}

void Split(const std::vector<double>& points, size_t size, std::vector<std::vector<double>>& into)
{
    for (size_t i = 0; i + size <= points.size(); i += size) into.emplace_back(points.begin() + i, points.begin() + i + size);
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

// Positions back in drawing axes and output units: the root's translation holds the centre.
TDocumentShapes ReadGlb(const std::string& file, std::string& rootName)
{
    using glb::TJson;
    const glb::TGlb glb = glb::ReadGlb(file);
    const TJson& gltf = glb.Json;
    const TJson& root = gltf["nodes"][0];
    rootName = root["name"].Text;
    double centre[3] = {0, 0, 0};
    if (root.Has("translation"))
        centre[0] = root["translation"][0].Number, centre[1] = -root["translation"][2].Number,
        centre[2] = root["translation"][1].Number;
    TDocumentShapes shapes;
    for (const TJson& mesh : gltf.Has("meshes") ? gltf["meshes"].Array : std::vector<TJson>{}) {
        for (const TJson& primitive : mesh["primitives"].Array) {
            std::vector<double> positions = glb::AccessorValues(glb, primitive["attributes"]["POSITION"].Index());
            for (size_t i = 0; i < positions.size(); ++i) positions[i] += centre[i % 3];
            const std::vector<double> indices = glb::AccessorValues(glb, primitive["indices"].Index());
            const bool lines = primitive["mode"].Number == 1;
            TShapes& into = shapes[mesh["name"].Text];
            Split(Corners(positions, indices, 1), lines ? 6 : 9, lines ? into.Segments : into.Triangles);
        }
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

}  // namespace

TEST(OutputFormats, EverySampleHoldsTheSameShapesInAllThreeFormats)
{
    const std::vector<fs::path> samples = jwwsamples::SampleFiles();
    if (samples.empty()) SKIP_WITHOUT_SHARED_DATA("no sample drawings");
    if (!ProgramExists("sh")) GTEST_SKIP() << "no shell";
    TTempDir dir;
    std::string inputs;
    for (const fs::path& sample : samples) inputs += " " + ShellQuote(sample.string());
    for (const char* format : {"dae", "dae-compact", "glb"}) {
        fs::create_directories(dir / format);
        std::string command = TESSARO_BINARY;
        command += " --include solids,points --marker 7 --format ";
        command += format;
        command += " --out " + ShellQuote((dir / format).string()) + inputs;
        const TCommandResult run = RunCommand(command);
        ASSERT_EQ(run.ExitCode, 0) << run.Output;
    }
    for (const fs::path& sample : samples) {
        SCOPED_TRACE(sample.filename().string());
        fs::path dae = sample.stem(), glb = sample.stem();
        dae += ".dae", glb += ".glb";
        bool distinct = true;
        const TDocumentShapes expected = ReadCollada(ReadFileBytes(dir / "dae" / dae), distinct);
        const TDocumentShapes compact = ReadCollada(ReadFileBytes(dir / "dae-compact" / dae), distinct);
        EXPECT_TRUE(distinct) << "a compact geometry repeats a position";
        EXPECT_EQ(Compare(compact, expected, [](double) { return 1e-12; }), "");
        std::string rootName;
        const TDocumentShapes gltf = ReadGlb(ReadFileBytes(dir / "glb" / glb), rootName);
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
}
