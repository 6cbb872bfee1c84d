// Converting a large JWW drawing end to end, as the driver does for one file: read, pen colours,
// layer states, walk, write. The drawing holds 1,000,000 lines and 100,000 arcs (a quarter of
// them whole circles) over 64 layers (four layer groups of 16) in 16 pens (1..8, 101..108),
// at the scale 1:100; the arcs are broken into 12 segments each, so the document has 2.2 million
// segments.
//
// The drawing is written by a child process (`bench_convert_jww --write-drawing PATH`, which
// can also be run alone to time the command-line tool on it), so the peak memory reported here
// is the conversion's, not the generator's.
#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "XorShift.h"
#include "app/DocumentFile.h"
#include "support/JwwWriter.h"

namespace {

namespace fs = std::filesystem;

constexpr int kLines = 1'000'000;
constexpr int kArcs = 100'000;
constexpr int kLayers = 64;
constexpr uint16_t kPens[16] = {1, 2, 3, 4, 5, 6, 7, 8, 101, 102, 103, 104, 105, 106, 107, 108};
constexpr double kPi = 3.14159265358979323846;

const fs::path kDrawing = fs::temp_directory_path() / "tessaro-bench-large.jww";
const fs::path kDocument = fs::temp_directory_path() / "tessaro-bench-large.dae";

// Every 11th entity is an arc, so every class is introduced among the first objects.
std::vector<uint8_t> LargeDrawing()
{
    jwwfixture::TJwwFileWriter file(600);
    file.header.groupScales.fill(100);
    TXorShift random;
    auto next = [&random] { return random.Next(); };
    auto coordinate = [&next] { return static_cast<double>(next() % 4'000'000) / 1000.0 - 500.0; };
    int lines = 0, arcs = 0;
    for (int i = 0; lines < kLines || arcs < kArcs; ++i) {
        const int layer = i % kLayers;
        const TEntJwwCommon c = jwwfixture::Common(static_cast<uint16_t>(layer % 16), static_cast<uint16_t>(layer / 16),
                                                   kPens[(i / kLayers) % 16]);
        if (i % 11 == 10 && arcs < kArcs) {
            TEntJwwEnko arc = jwwfixture::MakeArc(coordinate(), coordinate(), 1 + static_cast<double>(next() % 5000) / 100,
                                                  static_cast<double>(next() % 628) / 100,
                                                  static_cast<double>(next() % 628 + 1) / 100, c);
            arc.fullCircle = arcs % 4 == 0;
            if (arcs % 8 == 1) {
                arc.flatness = 0.5;
                arc.tiltAngle = kPi / 6;
            }
            file.stream.Arc(arc);
            ++arcs;
        } else if (lines < kLines) {
            file.stream.Line(jwwfixture::MakeLine(coordinate(), coordinate(), coordinate(), coordinate(), c));
            ++lines;
        }
    }
    return file.Build();
}

int WriteDrawing(const char* path)
{
    const std::vector<uint8_t> bytes = LargeDrawing();
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.close();
    return out ? 0 : 1;
}

double PeakResidentMB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;  // kilobytes on Linux
}

void BM_ConvertLargeJww(benchmark::State& state)
{
    uintmax_t documentBytes = 0;
    TConversionOptions options;
    options.Threads = ThreadsForOneFile();  // as the program does
    for (auto _ : state) {
        TEngine engine;
        const TConversionResult result = ConvertToFile(engine, kDrawing, TInputFormat::Jww, options, kDocument);
        if (!result.Clean()) state.SkipWithError("the drawing did not convert cleanly");
        documentBytes = fs::file_size(kDocument);
    }
    state.SetBytesProcessed(static_cast<int64_t>(documentBytes) * state.iterations());
    state.counters["input_MB"] = static_cast<double>(fs::file_size(kDrawing)) / 1e6;
    state.counters["output_MB"] = static_cast<double>(documentBytes) / 1e6;
    state.counters["peak_RSS_MB"] = PeakResidentMB();
}
BENCHMARK(BM_ConvertLargeJww)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && std::strcmp(argv[1], "--write-drawing") == 0) return WriteDrawing(argv[2]);

    std::error_code error;
    const fs::path self = fs::read_symlink("/proc/self/exe", error);
    if (error) return 1;
    std::string command = "'";
    command += self.string();
    command += "' --write-drawing '";
    command += kDrawing.string();
    command += "'";
    if (std::system(command.c_str()) != 0) {
        std::fprintf(stderr, "bench_convert_jww: cannot write %s\n", kDrawing.c_str());
        return 1;
    }

    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    fs::remove(kDrawing, error);
    fs::remove(kDocument, error);
    return 0;
}
