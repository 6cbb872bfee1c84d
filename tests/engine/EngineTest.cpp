// The engine's one call against the file front end, on every real sample in every format, and
// the bounds a conversion reports.
#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "app/DocumentFile.h"
#include "support/Conversion.h"
#include "support/JwsSamples.h"
#include "support/JwwSamples.h"
#include "support/JwkWriter.h"
#include "support/JwwWriter.h"
#include "support/SharedData.h"
#include "support/TempDir.h"

namespace {

namespace fs = std::filesystem;

// Triangles of a COLLADA document: the sum of its <triangles count="N">.
size_t TrianglesOf(const std::string& document)
{
    static const std::regex triangles("<triangles count=\"([0-9]+)\"");
    size_t n = 0;
    for (auto it = std::sregex_iterator(document.begin(), document.end(), triangles); it != std::sregex_iterator(); ++it)
        n += std::stoul((*it)[1]);
    return n;
}

}  // namespace

// Every sample (and the figure file made from it) in every format and with solids in or out:
// the bytes converted in memory are those the file front end writes, and what the result says
// was made is what the document holds (a segment per <lines>, a node per layer).
TEST(Engine, ConvertInMemoryGivesTheFileFrontEndsDocumentAndCountsIt)
{
    const std::vector<fs::path> samples = jwwsamples::SampleFiles();
    if (samples.empty()) SKIP_WITHOUT_SHARED_DATA("no sample drawings in " << TESSARO_SHARED_DIR);
    TTempDir dir;
    TEngine engine;
    for (const fs::path& drawing : samples) {
        const jwssamples::TJwsSample figure = jwssamples::JwsFromDrawing(drawing);
        const fs::path figureFile = dir / (drawing.stem().string() + ".jws");
        WriteFileBytes(figureFile, std::string(figure.bytes.begin(), figure.bytes.end()));
        for (const fs::path& input : {drawing, figureFile}) {
            for (const TOutputFormat format :
                 {TOutputFormat::Dae, TOutputFormat::DaeCompact, TOutputFormat::Glb, TOutputFormat::Dxf}) {
                for (const bool solids : {false, true}) {
                    SCOPED_TRACE(input.string() + " format " + std::to_string(static_cast<int>(format)));
                    TConversionOptions options;
                    options.Format = format;
                    options.Include.Solids = solids;
                    const TConverted converted = ConvertDrawingFile(input, options);
                    const fs::path output = dir / "document";
                    fs::remove(output);
                    const TConversionResult written = ConvertToFile(engine, input, InputFormatOf(input), options, output);
                    ASSERT_TRUE(converted.Result.Written && written.Written);
                    EXPECT_EQ(converted.Result.Read.status, written.Read.status);
                    EXPECT_EQ(WithoutStamps(converted.Document), WithoutStamps(ReadFileBytes(output)));
                    if (format != TOutputFormat::Dae) continue;
                    EXPECT_EQ(converted.Result.Segments, CountOf(converted.Document, "<lines count=\"1\""));
                    EXPECT_EQ(converted.Result.Triangles, TrianglesOf(converted.Document));
                    EXPECT_EQ(converted.Result.Layers, static_cast<int>(CountOf(converted.Document, "<node ")));
                }
            }
        }
    }
}

// A walk that reaches the figure budget stops there: the document holds what was drawn and the
// result says so; the next file on the same engine starts with the whole budget again.
TEST(Engine, FigureBudgetStopsTheWalkAndTheNextFileHasItWhole)
{
    jwwfixture::TJwwFileWriter many(600);
    for (int i = 0; i < 10; ++i) many.stream.Line(jwwfixture::MakeLine(i, 0, i, 100));
    const std::vector<uint8_t> bytes = many.Build();
    TEngine engine;
    TConversionOptions options;
    options.FigureBudget = 4;
    TMemorySink first, second;
    const TConversionResult cut = engine.Convert(std::as_bytes(std::span(bytes)), TInputFormat::Jww, options, first);
    EXPECT_TRUE(cut.BudgetReached && cut.Written && cut.Read);
    EXPECT_EQ(cut.Segments, 4u);
    EXPECT_EQ(CountOf(first.Bytes, "<lines count=\"1\""), 4u);
    options.FigureBudget = 0;
    const TConversionResult whole = engine.Convert(std::as_bytes(std::span(bytes)), TInputFormat::Jww, options, second);
    EXPECT_TRUE(whole.Clean());
    EXPECT_EQ(whole.Segments, 10u);
}

// The format from the first bytes, whatever the name says; a file that cannot be read says so
// (bytes of no format are the C interface's test).
TEST(Engine, FormatIsDetectedFromTheSignature)
{
    const std::pair<std::string, TInputFormat> cases[] = {
        {"JwwData.", TInputFormat::Jww},        {"JwsData", TInputFormat::Jws},
        {"jw_cad(c)data.......", TInputFormat::Jwc}, {"jw_cad(c)sym........", TInputFormat::Jwk},
        {"JwwData", TInputFormat::None},        {"", TInputFormat::None},
    };
    for (const auto& [head, format] : cases)
        EXPECT_EQ(DetectFormat(std::as_bytes(std::span(head.data(), head.size()))), format) << head;
    // A file that cannot be opened is told apart from one of another format.
    TEngine engine;
    TMemorySink sink;
    EXPECT_EQ(engine.ConvertFile("no such folder/plan.jww", TInputFormat::Jww, {}, sink).Read.status,
              TReadStatus::Unreadable);
}

// What a front end building on the document needs of the drawing: its scale (a symbol file's
// is 1, whatever its header says) and the layers it hides, by their own state or their group's.
TEST(Engine, ResultTellsTheDrawingsScaleAndHiddenLayers)
{
    jwwfixture::TJwwFileWriter file(600);
    file.header.groupScales.fill(50);
    file.header.layerStates[2 * 16 + 3] = 0;
    file.header.groupStates[5] = 0;
    const std::vector<uint8_t> jww = file.Build();
    TMemorySink sink;
    const TConversionResult drawing = Convert(std::as_bytes(std::span(jww)), TInputFormat::Jww, {}, sink);
    EXPECT_EQ(drawing.DrawingScale, 50);
    std::bitset<jw::kLayerCount> hidden;
    hidden.set(2 * 16 + 3);
    for (int n = 0; n < 16; ++n) hidden.set(5 * 16 + n);
    EXPECT_EQ(drawing.HiddenLayers, hidden);

    JwkWriter symbol;
    symbol.Scale = "20";
    const std::vector<uint8_t> jwk = symbol.Build();
    const TConversionResult symbols = Convert(std::as_bytes(std::span(jwk)), TInputFormat::Jwk, {}, sink);
    EXPECT_TRUE(symbols.SignatureMatched);
    EXPECT_EQ(symbols.DrawingScale, 1);
    EXPECT_TRUE(symbols.HiddenLayers.none());
}
