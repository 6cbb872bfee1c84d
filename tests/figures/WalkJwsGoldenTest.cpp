// Figure files made from the sample drawings (the drawing's entity stream behind a
// figure-file header with its version and group scales) convert, with the default options, to
// the geometries and visual scene of the drawing's own expected document. Only the effects may
// differ: a figure file has no pens of its own, so the default pen colours are used.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <string_view>

#include "support/ColladaCheck.h"
#include "support/Conversion.h"
#include "support/JwsSamples.h"
#include "support/JwwSamples.h"
#include "support/SharedData.h"
#include "support/TempDir.h"

namespace {

namespace fs = std::filesystem;

// The document from the geometry library to the end of the visual scenes.
std::string GeometryAndScene(const std::string& document)
{
    const size_t begin = document.find("<library_geometries>");
    const std::string_view endTag = "</library_visual_scenes>";
    const size_t end = document.find(endTag);
    if (begin == std::string::npos || end == std::string::npos || end < begin) return "<no geometries or scene>";
    return document.substr(begin, end + endTag.size() - begin);
}

}  // namespace

TEST(JwsGolden, FigureFilesFromTheSampleStreamsGiveTheDrawingsGeometriesAndScene)
{
    const auto drawings = jwwsamples::SampleFiles();
    if (drawings.empty()) SKIP_WITHOUT_SHARED_DATA("no sample drawings in " << TESSARO_SHARED_DIR);
    for (const fs::path& drawing : drawings) {
        SCOPED_TRACE(drawing.string());
        const fs::path golden = jwwsamples::SharedDir() / "golden" / jwwsamples::Utf8Path(drawing.stem().string() + ".dae");
        std::error_code error;
        ASSERT_TRUE(fs::exists(golden, error)) << "no expected document";
        const jwssamples::TJwsSample sample = jwssamples::JwsFromDrawing(drawing);
        ASSERT_FALSE(sample.bytes.empty());
        const TConverted figure = ConvertDrawing(sample.bytes, TInputFormat::Jws);
        ASSERT_TRUE(figure.Result.SignatureMatched);
        EXPECT_EQ(static_cast<bool>(figure.Result.Read), sample.drawingLoaded);
        const std::string converted = GeometryAndScene(figure.Document);
        EXPECT_NE(converted.find("<geometry "), std::string::npos) << "nothing drawn";
        EXPECT_EQ(CompareColladaDocuments(converted, GeometryAndScene(ReadFileBytes(golden))), "");
    }
}
