// What texts cost: a drawing of 100,000 texts of 10 characters each (half-width letters and
// digits, kana and kanji, at four sizes and angles over 16 layers), converted in memory into
// each document format with texts left out and with --text, best of `bench_texts [RUNS]`
// (default 3), in the formats named after it (default glb dae-compact dae; "none" for the
// texts' own work alone). Prints the time --text adds, the segments the texts make, and the process's
// peak memory after each (glyphs are flattened once per font and size and then reused, so the
// memory grows with the segments, not with the glyphs). The figure budget is lifted, as the
// texts make more Figures than one file may by default.
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "engine/Engine.h"
#include "figures/TextFigures.h"
#include "support/JwwWriter.h"

namespace {

constexpr int kTexts = 100'000;
// Ten characters: ABC123 (half-width), あい (kana), 漢字 (kanji), in Shift_JIS.
const std::string kText = "ABC123\x82\xA0\x82\xA2\x8A\xBF\x8E\x9A";

std::vector<uint8_t> Drawing()
{
    jwwfixture::TJwwFileWriter drawing(600);
    for (int i = 0; i < kTexts; ++i) {
        TEntJwwMoji t;
        t.common = jwwfixture::Common(static_cast<uint16_t>(i % 16), 0, static_cast<uint16_t>(1 + i % 8));
        t.startX = (i % 300) * 40.0;
        t.startY = (i / 300) * 10.0;
        t.sizeX = t.sizeY = 2.0 + (i % 4);
        t.spacing = 0.5;
        t.angle = (i % 4) * 30.0;
        t.fontName = "\x82\x6C\x82\x72 \x83\x53\x83\x56\x83\x62\x83\x4E";  // ＭＳ ゴシック
        t.text = kText;
        drawing.stream.Text(t);
    }
    return drawing.Build();
}

// The texts' own work, without reading or writing: every text laid out and its glyphs placed
// into a figure store.
double DrawTexts(size_t& segments)
{
    TConversionContext ctx;
    ctx.Store.FigureBudget = 1'000'000'000;
    const std::string font = "\x82\x6C\x82\x72 \x83\x53\x83\x56\x83\x62\x83\x4E";
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < kTexts; ++i) {
        const double size = 2.0 + (i % 4);
        AddText(ctx, {i % 16, 1 + i % 8}, 1.0,
                {(i % 300) * 40.0, (i / 300) * 10.0, size, size, 0.5, (i % 4) * 30.0, kText, font});
    }
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    segments = ctx.Store.Segments;
    return took.count();
}

double PeakMB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024;
}

}  // namespace

int main(int argc, char** argv)
{
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    const char* names[] = {"dae", "dae-compact", "glb"};
    std::vector<TOutputFormat> formats;
    for (int i = 2; i < argc; ++i)
        for (int f = 0; f < 3; ++f)
            if (std::string(argv[i]) == names[f]) formats.push_back(static_cast<TOutputFormat>(f));
    if (argc <= 2) formats = {TOutputFormat::Glb, TOutputFormat::DaeCompact, TOutputFormat::Dae};
    const std::vector<uint8_t> bytes = Drawing();
    const auto drawing = std::as_bytes(std::span(bytes));
    std::printf("%d texts of 10 characters, a drawing of %.1f MB; best of %d\n", kTexts, bytes.size() / 1e6, runs);
    size_t drawn = 0;
    double walk = 1e9;
    for (int run = 0; run < runs; ++run) walk = std::min(walk, DrawTexts(drawn));
    std::printf("the texts alone into a figure store: %.3f s, %zu segments; peak %.0f MB\n", walk, drawn, PeakMB());
    TEngine engine;
    for (const TOutputFormat format : formats) {
        double seconds[2] = {1e9, 1e9};
        size_t segments[2] = {0, 0};
        for (int run = 0; run < runs; ++run) {
            for (int texts = 0; texts < 2; ++texts) {
                TConversionOptions options;
                options.Format = format;
                options.Include.Texts = texts == 1;
                options.FigureBudget = 1'000'000'000;
                TMemorySink document;
                const auto start = std::chrono::steady_clock::now();
                const TConversionResult result = engine.Convert(drawing, TInputFormat::Jww, options, document);
                const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
                if (!result.Clean() || result.TextsWithoutFont > 0) {
                    std::fprintf(stderr, "the conversion failed, or found no font\n");
                    return 1;
                }
                seconds[texts] = std::min(seconds[texts], took.count());
                segments[texts] = result.Segments;
            }
        }
        std::printf("%-12s without texts %.3f s; with --text %.3f s (+%.3f s, %zu segments, %.1f per character); "
                    "peak %.0f MB\n",
                    names[static_cast<int>(format)], seconds[0], seconds[1], seconds[1] - seconds[0], segments[1],
                    static_cast<double>(segments[1]) / (kTexts * 10.0), PeakMB());
    }
    return 0;
}
