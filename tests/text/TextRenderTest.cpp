// Renders of two real drawings with their texts, top view on the drawing's own background, for
// eyes: saved as test-pictures/text-render-<drawing>.png in the build folder. The test asks that something was
// drawn, and that the segments the texts add are exactly those under the glTF "text" nodes;
// whether the texts read upright, unmirrored and beside what they label is looked at in the
// pictures.
#include <gtest/gtest.h>

#include "support/Conversion.h"
#include "support/GlbReader.h"
#include "support/JwwSamples.h"
#include "support/SharedData.h"
#include "support/TopViewPng.h"

namespace {

// The line segments of the meshes below the nodes named "text".
size_t TextNodeSegments(const std::string& document)
{
    const glb::TGlb g = glb::ReadGlb(document);
    size_t segments = 0;
    auto meshSegments = [&](const glb::TJson& node) {
        if (!node.Has("mesh")) return;
        for (const glb::TJson& p : g.Json["meshes"][node["mesh"].Index()]["primitives"].Array)
            if (p["mode"].Number == 1) segments += g.Json["accessors"][p["indices"].Index()]["count"].Index() / 2;
    };
    for (const glb::TJson& node : g.Json["nodes"].Array)
        if (node["name"].Text == "text")
            for (const glb::TJson& child : node["children"].Array) meshSegments(g.Json["nodes"][child.Index()]);
    return segments;
}

}  // namespace

TEST(TextRender, TwoSamplesWithTheirTexts)
{
    for (const char* name : {"サンプル", "木造平面例"}) {
        const auto input = jwwsamples::SharedDir() / "samples" / "jww" / jwwsamples::Utf8Path(std::string(name) + ".jww");
        if (!std::filesystem::exists(input)) SKIP_WITHOUT_SHARED_DATA("no sample " << name);
        TConversionOptions options;
        options.Include.Texts = true;
        options.Format = TOutputFormat::Glb;
        const TConverted converted = ConvertDrawingFile(input, options);
        ASSERT_TRUE(converted.Result.Clean()) << name;
        options.Include.Texts = false;
        const size_t without = ConvertDrawingFile(input, options).Result.Segments;
        EXPECT_EQ(TextNodeSegments(converted.Document), converted.Result.Segments - without) << name;
        const auto png = TestPicturePath(std::string("text-render-") + name + ".png");
        const uint32_t background = converted.Result.BackgroundAfter == TBackground::Light ? 0xFFFFFF : 0x000000;
        EXPECT_GT(WriteTopViewPng(converted.Document, png, 1600, background), 0.9) << png;
    }
}
