// Renders of two real drawings with their texts, top view on a light background, for eyes:
// saved as text-render-<drawing>.png in the build folder. The test asks only that something
// was drawn; whether the texts read upright, unmirrored and beside what they label is looked
// at in the pictures.
#include <gtest/gtest.h>

#include "support/Conversion.h"
#include "support/JwwSamples.h"
#include "support/SharedData.h"
#include "support/TopViewPng.h"

TEST(TextRender, TwoSamplesWithTheirTexts)
{
    for (const char* name : {"サンプル", "木造平面例"}) {
        const auto input = jwwsamples::SharedDir() / "samples" / "jww" / jwwsamples::Utf8Path(std::string(name) + ".jww");
        if (!std::filesystem::exists(input)) SKIP_WITHOUT_SHARED_DATA("no sample " << name);
        TConversionOptions options;
        options.Include.Texts = true;
        options.Format = TOutputFormat::Glb;
        options.Background = TBackgroundChoice::Light;
        const TConverted converted = ConvertDrawingFile(input, options);
        ASSERT_TRUE(converted.Result.Clean()) << name;
        const auto png = std::filesystem::current_path() / jwwsamples::Utf8Path(std::string("text-render-") + name + ".png");
        EXPECT_GT(WriteTopViewPng(converted.Document, png, 1600), 0.01) << png;
    }
}
