// A drawing shown on the background the engine gives for it (BackgroundAfter) shows its lines:
// real samples and a shadow diagram of each screen, whichever background the batch starts
// with, and a figure file, which carries no pens, on the one the light/dark option picks. The
// measure is the share of the drawn pixels whose colour differs from the background; the
// pictures stay in the build folder's test-pictures/ for eyes.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <optional>

#include "app/BatchPaths.h"
#include "support/Conversion.h"
#include "support/JwsWriter.h"
#include "support/JwwSamples.h"
#include "support/ShadowDiagram.h"
#include "support/TopViewPng.h"

namespace {

struct TDrawing {
    std::string Name;
    std::vector<uint8_t> Bytes;
    TInputFormat Format = TInputFormat::Jww;
    std::optional<TBackground> Own;  // the background of the drawing's own pens, when known
};

uint32_t Rgb(TBackground background) { return background == TBackground::Light ? 0xFFFFFF : 0x000000; }

std::vector<uint8_t> FigureFile()
{
    jwsfixture::TJwsFileWriter file(600);
    for (int i = 0; i <= 10; ++i) file.stream.Line(jwwfixture::MakeLine(0, 10.0 * i, 100, 10.0 * i, jwwfixture::Common(0, 0, 2)));
    return file.Build();
}

std::vector<TDrawing> Drawings()
{
    std::vector<TDrawing> drawings = {
        {"shadow-light", jwwfixture::BuildShadowDiagram(true), TInputFormat::Jww, TBackground::Light},
        {"shadow-dark", jwwfixture::BuildShadowDiagram(false), TInputFormat::Jww, TBackground::Dark},
        {"figure-file", FigureFile(), TInputFormat::Jws, std::nullopt},
    };
    for (const auto& sample : jwwsamples::SampleFiles()) {
        std::ifstream in(sample, std::ios::binary);
        drawings.push_back({Utf8Of(sample.stem()), {std::istreambuf_iterator<char>(in), {}}, TInputFormat::Jww, {}});
    }
    return drawings;
}

}  // namespace

TEST(BackgroundPictures, EveryDrawingShowsItsLinesOnTheBackgroundItIsShownOn)
{
    for (const TDrawing& drawing : Drawings()) {
        for (const TBackground start : {TBackground::Light, TBackground::Dark}) {
            TConversionOptions options;
            options.Format = TOutputFormat::Glb;
            options.Background = start == TBackground::Light ? TBackgroundChoice::Light : TBackgroundChoice::Dark;
            const TConverted converted = ConvertDrawing(drawing.Bytes, drawing.Format, options);
            const TBackground shown = converted.Result.BackgroundAfter;
            const std::string name = drawing.Name + (start == TBackground::Light ? "-from-light" : "-from-dark");
            EXPECT_EQ(shown, drawing.Own.value_or(drawing.Format == TInputFormat::Jww ? shown : start)) << name;
            const double share = WriteTopViewPng(converted.Document, TestPicturePath("background-" + name + ".png"), 800, Rgb(shown));
            EXPECT_GT(share, 0.9) << name << ": the drawing's lines vanish on its background";
            // The measure tells: on the other background, a shadow diagram is its cyan rays alone.
            const uint32_t other = Rgb(shown == TBackground::Light ? TBackground::Dark : TBackground::Light);
            if (drawing.Own) {
                const auto png = TestPicturePath("background-" + name + "-on-the-other.png");
                EXPECT_LT(WriteTopViewPng(converted.Document, png, 400, other), 0.2) << name;
            }
        }
    }
}
