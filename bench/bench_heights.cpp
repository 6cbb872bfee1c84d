// What heights cost, converted in memory, best of `bench_heights [RUNS]` (default 3), dae and glb
// (`bench_heights --write-squares PATH` writes the second drawing):
//   1. the large drawing of bench_convert_jww (1,000,000 lines, 100,000 arcs, no height texts)
//      with --heights against without: reading the texts for marks that are not there;
//   2. 25,000 closed squares of 100,000 lines with a height text at both ends of every line
//      (200,000 texts), with --heights (every line lifted, every square roofed) against flat.
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "engine/Engine.h"
#include "support/JwwWriter.h"
#include "support/RunCommand.h"
#include "support/TempDir.h"

namespace {

namespace fs = std::filesystem;

std::vector<uint8_t> MarkedSquares()
{
    jwwfixture::TJwwFileWriter file(600);
    file.header.groupScales.fill(100);
    for (int square = 0; square < 25'000; ++square) {
        const double x = (square % 160) * 50.0, y = (square / 160) * 50.0;
        const double cx[] = {x, x + 40, x + 40, x}, cy[] = {y, y, y + 40, y + 40};
        const TEntJwwCommon c = jwwfixture::Common(static_cast<uint16_t>(square % 16), 0, static_cast<uint16_t>(1 + square % 8));
        for (int i = 0; i < 4; ++i) file.stream.Line(jwwfixture::MakeLine(cx[i], cy[i], cx[(i + 1) % 4], cy[(i + 1) % 4], c));
        for (int i = 0; i < 8; ++i) {
            TEntJwwMoji t;
            t.common = c;
            t.startX = cx[(i + i / 4) % 4];
            t.startY = cy[(i + i / 4) % 4];
            t.sizeX = t.sizeY = 2;
            t.text = square % 2 ? "3.2" : "2.8,6.1";
            file.stream.Text(t);
        }
    }
    return file.Build();
}

double PeakMB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024;
}

// The best time of each of flat and lifted, alternating, and the lifted document's shapes.
void Compare(const char* name, const std::vector<uint8_t>& bytes, int runs)
{
    TEngine engine;
    for (const TOutputFormat format : {TOutputFormat::Dae, TOutputFormat::Glb}) {
        double best[2] = {1e9, 1e9};
        TConversionResult lifted;
        for (int run = 0; run < runs; ++run)
            for (int heights = 0; heights < 2; ++heights) {
                TConversionOptions options;
                options.Format = format;
                options.Heights = heights ? THeightUnit::Metres : THeightUnit::Off;
                TMemorySink document;
                const auto start = std::chrono::steady_clock::now();
                TConversionResult result = engine.Convert(std::as_bytes(std::span(bytes)), TInputFormat::Jww, options, document);
                const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
                best[heights] = std::min(best[heights], took.count());
                if (heights) lifted = std::move(result);
            }
        std::printf("%-22s %-4s flat %.3f s, --heights %.3f s (%.3f times; %zu segments, %zu triangles); peak %.0f MB\n",
                    name, format == TOutputFormat::Dae ? "dae" : "glb", best[0], best[1], best[1] / best[0],
                    lifted.Segments, lifted.Triangles, PeakMB());
    }
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && std::string(argv[1]) == "--write-squares") {  // to time the command line on it
        const std::vector<uint8_t> bytes = MarkedSquares();
        WriteFileBytes(argv[2], std::string(bytes.begin(), bytes.end()));
        return 0;
    }
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    const fs::path large = fs::temp_directory_path() / "tessaro-bench-heights-large.jww";
    const std::string write = (fs::path(argv[0]).parent_path() / "bench_convert_jww").string() + " --write-drawing '" +
                              large.string() + "'";
    if (RunCommand(write).ExitCode != 0) {
        std::fprintf(stderr, "could not write the large drawing\n");
        return 1;
    }
    const std::string text = ReadFileBytes(large);
    fs::remove(large);
    std::printf("best of %d\n", runs);
    Compare("1,000,000 lines", std::vector<uint8_t>(text.begin(), text.end()), runs);
    Compare("100,000 marked lines", MarkedSquares(), runs);
    return 0;
}
