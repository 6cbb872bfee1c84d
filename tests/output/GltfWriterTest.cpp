#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "output/NodeNames.h"
#include "support/Conversion.h"
#include "support/GlbReader.h"
#include "support/JwwSamples.h"
#include "support/SharedData.h"

namespace {

using glb::TJson;

// The one place the test touches files: the written document's bytes.
std::vector<uint8_t> GlbBytesOf(TConversionContext& context)
{
    context.Options.Format = TOutputFormat::Glb;
    const std::string bytes = DocumentOf(context);
    EXPECT_FALSE(bytes.empty());
    return {bytes.begin(), bytes.end()};
}

// The node tree as text: "name(child,child)", a mesh node followed by ":" and its mesh's name.
std::string Tree(const TJson& gltf, size_t n)
{
    const TJson& node = gltf["nodes"][n];
    std::string text = node["name"].Text;
    if (node.Has("mesh")) text += ":" + gltf["meshes"][node["mesh"].Index()]["name"].Text;
    if (!node.Has("children")) return text;
    const std::vector<TJson>& children = node["children"].Array;
    for (size_t c = 0; c < children.size(); ++c) text.append(c == 0 ? "(" : ",").append(Tree(gltf, children[c].Index()));
    return text + ")";
}

}  // namespace

// Layer 3 of group 0 holds 21845 separate triangles (65535 vertices, the most 16-bit indices
// can number, 65535 itself being the primitive restart value); layer 5 of group 2 holds 32768
// separate segments (65536 vertices) in one colour, and a triangle with one of its edges in
// another.
TEST(GltfWriter, NamesNodesBoundsPositionsAndWidensIndicesPast65535Vertices)
{
    TConversionContext context;
    context.Store.ResetPalette(context.Attributes);
    for (int i = 0; i < 21845; ++i) context.Store.AddTriangle(3, 2, 2 * i, -i % 7, 2 * i + 1, 0, 2 * i, 500);
    for (int i = 0; i < 32768; ++i) context.Store.AddLine(2 * 16 + 5, 5, i, 1000 + i % 11, i + 0.5, 3000);
    context.Store.AddTriangle(2 * 16 + 5, 9, -10, -10, -5, -10, -10, -4);
    context.Store.AddLine(2 * 16 + 5, 9, -10, -10, -5, -10);
    context.Names.Drawing = "plan";
    context.Names.Groups[0] = "ground";
    context.Names.Layers[3] = "walls";

    const std::vector<uint8_t> bytes = GlbBytesOf(context);
    const glb::TGlb file = glb::ReadGlb(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    const TJson& gltf = file.Json;
    EXPECT_EQ(Tree(gltf, gltf["scenes"][0]["nodes"][0].Index()),
              "plan(ground(walls(layer3-C2:layer3-C2)),"
              "2(2-5(layer37-C5:layer37-C5,layer37-C9:layer37-C9)))");

    struct TExpected {
        std::string Mesh;
        size_t Vertices;
        std::vector<int> Modes;
        int IndexType;
    };
    const std::vector<TExpected> expected = {
        {"layer3-C2", 65535, {4}, 5123}, {"layer37-C5", 65536, {1}, 5125}, {"layer37-C9", 3, {1, 4}, 5123}};
    ASSERT_EQ(gltf["meshes"].Array.size(), expected.size());
    for (size_t m = 0; m < expected.size(); ++m) {
        const TJson& mesh = gltf["meshes"][m];
        SCOPED_TRACE(mesh["name"].Text);
        EXPECT_EQ(mesh["name"].Text, expected[m].Mesh);
        std::vector<int> modes;
        for (const TJson& primitive : mesh["primitives"].Array) {
            modes.push_back(static_cast<int>(primitive["mode"].Number));
            const size_t positions = primitive["attributes"]["POSITION"].Index();
            const TJson& accessor = gltf["accessors"][positions];
            EXPECT_EQ(accessor["count"].Index(), expected[m].Vertices);
            const std::vector<double> xyz = glb::AccessorValues(file, positions);
            std::vector<double> low(xyz.begin(), xyz.begin() + 3), high = low, min, max;
            for (size_t v = 0; v < xyz.size(); ++v)
                low[v % 3] = std::min(low[v % 3], xyz[v]), high[v % 3] = std::max(high[v % 3], xyz[v]);
            for (size_t axis = 0; axis < 3; ++axis)
                min.push_back(accessor["min"][axis].Number), max.push_back(accessor["max"][axis].Number);
            EXPECT_EQ(min, low);
            EXPECT_EQ(max, high);
            const size_t indexAccessor = primitive["indices"].Index();
            EXPECT_EQ(gltf["accessors"][indexAccessor]["componentType"].Number, expected[m].IndexType);
            const std::vector<double> indices = glb::AccessorValues(file, indexAccessor);
            EXPECT_LT(*std::max_element(indices.begin(), indices.end()), expected[m].Vertices);
        }
        EXPECT_EQ(modes, expected[m].Modes);
    }
}

TEST(GltfWriter, ATakenNodeNameGetsItsPositionThenANumber)
{
    TUniqueNames names;
    for (const auto& [wanted, position, expected] : std::vector<std::array<std::string, 3>>{
             {"plan", "", "plan"}, {"walls", "0", "walls"}, {"walls", "2-5", "walls (2-5)"},
             {"walls", "2-5", "walls (2-5) 2"}, {"plan", "", "plan 2"}, {"walls (2-5) 2", "3-1", "walls (2-5) 2 (3-1)"}})
        EXPECT_EQ(names.Claim(wanted, position), expected);
}

// A made-up drawing whose own names clash with each other, with the root, with unnamed layers'
// positions and with the colour nodes, and every sample's glTF document with and without its
// solids: no two nodes share a name.
TEST(GltfWriter, NoTwoNodesShareAName)
{
    const auto nodeNames = [](const std::string& document) {
        const glb::TJson gltf = glb::ReadGlb(document).Json;
        std::multiset<std::string> names;
        for (const glb::TJson& node : gltf["nodes"].Array) names.insert(node["name"].Text);
        return names;
    };
    TConversionContext context;
    context.Store.ResetPalette(context.Attributes);
    for (int32_t h : {0, 1, 16, 17, 18, 0xAF}) context.Store.AddLine(h, 2, 0, 0, h, 1);
    context.Names.Drawing = "0";
    context.Names.Layers[0] = context.Names.Layers[1] = context.Names.Groups[0xA] = "walls";
    context.Names.Layers[16] = "1-1";
    context.Names.Layers[18] = "layer175-C2";
    context.Options.Format = TOutputFormat::Glb;
    EXPECT_EQ(nodeNames(DocumentOf(context)),
              (std::multiset<std::string>{"0", "0 (0)", "1", "walls", "walls (0-0)", "walls (0-1)", "1-1", "1-1 (1-1)",
                                          "layer175-C2", "A-F", "layer0-C2", "layer1-C2", "layer16-C2", "layer17-C2",
                                          "layer18-C2", "layer175-C2 (A-F)"}));

    const std::vector<std::filesystem::path> samples = jwwsamples::SampleFiles();
    if (samples.empty()) SKIP_WITHOUT_SHARED_DATA("no sample drawings in " << TESSARO_SHARED_DIR);
    for (const std::filesystem::path& sample : samples)
        for (const bool solids : {false, true}) {
            SCOPED_TRACE(sample.filename().string() + (solids ? " with solids" : ""));
            TConversionOptions options;
            options.Format = TOutputFormat::Glb;
            options.Include.Solids = solids;
            const std::multiset<std::string> names = nodeNames(ConvertDrawingFile(sample, options).Document);
            EXPECT_GT(names.size(), 1u);
            for (const std::string& name : names) EXPECT_EQ(names.count(name), 1u) << name;
        }
}
