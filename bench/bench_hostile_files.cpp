// Files made to ask for unbounded work, each converted by the `tessaro` command beside this
// program with several option sets. Every run must end within 20 s and 1 GiB of peak memory with
// exit status 0 or 1. Prints one line per run: seconds, peak MiB, exit status, document bytes.
//
//   bench_hostile_files [--keep DIR]   (DIR keeps the files and documents)
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "support/JwkWriter.h"
#include "support/JwsWriter.h"
#include "support/JwwWriter.h"

namespace {

namespace fs = std::filesystem;
using namespace jwwfixture;

constexpr double kMaxSeconds = 20;
constexpr double kMaxMiB = 1024;

// Each level's definition places the next one `fanOut` times; the last holds `members`.
void Nest(TJwwStreamWriter& s, int levels, int fanOut, const std::string& lastName,
          const std::function<void(TJwwStreamWriter&)>& members)
{
    s.Block(MakeInsert(0, 0, 0));
    for (int level = 0; level < levels; ++level) {
        s.BeginBlockDef(MakeBlockDef(static_cast<uint32_t>(level), "level"));
        for (int i = 0; i < fanOut; ++i) s.Block(MakeInsert(static_cast<uint32_t>(level + 1), i * 10.0, 0));
        s.EndBlockDef();
    }
    s.BeginBlockDef(MakeBlockDef(static_cast<uint32_t>(levels), lastName));
    members(s);
    s.EndBlockDef();
}

std::vector<uint8_t> LongNamePlacedOften()
{
    TJwwFileWriter w(600);
    Nest(w.stream, 18, 2, std::string(60000, 'n'), [](TJwwStreamWriter& s) { s.Line(MakeLine(0, 0, 1, 0)); });
    return w.Build();
}

std::vector<uint8_t> CirclesPlacedOften()
{
    jwsfixture::TJwsFileWriter w(600);
    Nest(w.stream, 18, 2, "circles", [](TJwwStreamWriter& s) {
        for (int i = 0; i < 8; ++i) s.Arc(MakeArc(i * 100.0, 0, 1000, 0, 0));
    });
    return w.Build();
}

std::vector<uint8_t> HugeCirclesByLength()
{
    JwkWriter w;
    for (int i = 0; i < 30000; ++i) {
        ArcRecord arc;
        arc.CenterX = static_cast<float>(i);
        arc.Radius = 1e7f;
        arc.Flattening = 1;
        arc.EndAngle = 360;
        arc.PenColor = 1;
        w.Arcs.push_back(arc);
    }
    return w.Build();
}

std::vector<uint8_t> ZeroArcsUnderNonUniformScale()
{
    TJwwFileWriter w(600);
    TJwwStreamWriter& s = w.stream;
    s.Block(MakeInsert(0, 0, 0, 1, 3));
    s.BeginBlockDef(MakeBlockDef(0, "outer"));
    for (int i = 0; i < 2000; ++i) s.Block(MakeInsert(1, i, 0, 2, 1, 0.3));
    s.EndBlockDef();
    s.BeginBlockDef(MakeBlockDef(1, "zero arcs"));
    for (int i = 0; i < 1000; ++i) s.Arc(MakeArc(i, 0, 0, 0.5, 1));
    s.EndBlockDef();
    return w.Build();
}

std::vector<uint8_t> LongChainPlacedOften()
{
    TJwwFileWriter w(600);
    TJwwStreamWriter& s = w.stream;
    for (int i = 0; i < 10000; ++i) s.Block(MakeInsert(0, i, 0));
    for (uint32_t d = 0; d < 2000; ++d) {
        s.BeginBlockDef(MakeBlockDef(d, "chain"));
        s.Block(MakeInsert(d + 1 < 2000 ? d + 1 : 0, 1, 0));  // the last places the first again
        s.Line(MakeLine(0, 0, 1, 1));
        s.EndBlockDef();
    }
    return w.Build();
}

// Filled circles of one pen, apart from each other: at 3,600 segments an arc they make more
// triangles than the figure budget holds, the largest store and single geometry a file can
// ask for.
std::vector<uint8_t> FilledCirclesPastTheBudget()
{
    TJwwFileWriter w(600);
    for (int i = 0; i < 3000; ++i) {
        TEntJwwSolid disc;
        disc.common = Common(0, 0, 1, 101);
        disc.x1 = i * 100.0, disc.x2 = 40, disc.y2 = 1, disc.x4 = 2 * 3.14159265358979323846;
        w.stream.Solid(disc);
    }
    return w.Build();
}

std::vector<uint8_t> ManyFillColours()
{
    TJwwFileWriter w(600);
    TJwwStreamWriter& s = w.stream;
    for (int i = 0; i < 400; ++i) s.Block(MakeInsert(0, i * 10.0, 0));
    s.BeginBlockDef(MakeBlockDef(0, "fills"));
    for (uint32_t i = 0; i < 5000; ++i) {
        TEntJwwSolid solid;
        solid.common = Common(0, 0, 10);
        solid.x2 = 1, solid.x3 = 1, solid.y3 = 1, solid.y4 = 1;
        solid.fillColor = i * 3001u & 0xFFFFFF;
        s.Solid(solid);
    }
    s.EndBlockDef();
    return w.Build();
}

std::vector<uint8_t> AbsurdMagnitudes()
{
    TJwwFileWriter w(600);
    Nest(w.stream, 18, 2, "far", [](TJwwStreamWriter& s) { s.Line(MakeLine(-1e300, 1e300, 1e300, -1e300)); });
    return w.Build();
}

struct TRun {
    double seconds = 0, peakMiB = 0;
    int status = -1;
};

TRun Convert(const fs::path& tessaro, const std::vector<std::string>& arguments, const fs::path& home)
{
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) {
        // A run over the bounds is stopped well before it could hurt the machine.
        const rlimit cpu{60, 60}, memory{3ull << 30, 3ull << 30}, fileSize{4ull << 30, 4ull << 30};
        setrlimit(RLIMIT_CPU, &cpu);
        setrlimit(RLIMIT_AS, &memory);
        setrlimit(RLIMIT_FSIZE, &fileSize);
        setenv("HOME", home.c_str(), 1);
        setenv("XDG_CONFIG_HOME", (home / ".config").c_str(), 1);
        std::freopen("/dev/null", "w", stdout);
        std::freopen("/dev/null", "w", stderr);
        std::vector<char*> argv{const_cast<char*>(tessaro.c_str())};
        for (const std::string& a : arguments) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execv(tessaro.c_str(), argv.data());
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    TRun run;
    run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    run.peakMiB = static_cast<double>(usage.ru_maxrss) / 1024.0;
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return run;
}

}  // namespace

int main(int argc, char** argv)
{
    const fs::path tessaro = fs::canonical("/proc/self/exe").parent_path() / "tessaro";
    const bool keep = argc == 3 && std::string(argv[1]) == "--keep";
    const fs::path dir = keep ? fs::path(argv[2]) : fs::temp_directory_path() / "tessaro-hostile";
    fs::create_directories(dir / "home");

    const struct {
        const char* name;
        std::vector<uint8_t> (*make)();
    } files[] = {
        {"long-name.jww", LongNamePlacedOften},      {"circles.jws", CirclesPlacedOften},
        {"huge-circles.jwk", HugeCirclesByLength},   {"zero-arcs.jww", ZeroArcsUnderNonUniformScale},
        {"chain.jww", LongChainPlacedOften},         {"fill-colours.jww", ManyFillColours},
        {"far.jww", AbsurdMagnitudes},               {"discs.jww", FilledCirclesPastTheBudget},
    };
    const std::vector<std::vector<std::string>> optionSets = {
        {},
        {"--arcs", "count:3600", "--include", "hidden,aux,dims,hatch,points,solids"},
        {"--arcs", "length:0.001:3600", "--include", "solids"},
        {"--arcs", "angle:0.1", "--marker", "7", "--include", "points,solids"},
        // The welded forms hold more per Figure than the store does.
        {"--format", "dae-compact", "--arcs", "count:3600", "--include", "solids"},
        {"--format", "glb", "--arcs", "count:3600", "--include", "solids"},
    };

    int failures = 0;
    std::printf("%-18s %-55s %8s %9s %5s %12s\n", "file", "options", "seconds", "peak MiB", "exit", "bytes");
    for (const auto& file : files) {
        const fs::path input = dir / file.name;
        const std::vector<uint8_t> bytes = file.make();
        std::ofstream(input, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                      static_cast<std::streamsize>(bytes.size()));
        for (const auto& options : optionSets) {
            std::vector<std::string> arguments = options;
            arguments.insert(arguments.end(), {"--out", dir.string(), input.string()});
            const TRun run = Convert(tessaro, arguments, dir / "home");
            fs::path document = input;
            const bool glb = std::find(options.begin(), options.end(), "glb") != options.end();
            document.replace_extension(glb ? ".glb" : ".dae");
            std::error_code error;
            const auto size = fs::file_size(document, error);
            std::string shown;
            for (const std::string& o : options) shown += o + " ";
            const bool ok = run.seconds < kMaxSeconds && run.peakMiB < kMaxMiB && (run.status == 0 || run.status == 1);
            failures += ok ? 0 : 1;
            std::printf("%-18s %-55s %8.2f %9.0f %5d %12llu%s\n", file.name, shown.c_str(), run.seconds, run.peakMiB,
                        run.status, error ? 0ull : static_cast<unsigned long long>(size), ok ? "" : "  OVER");
            std::fflush(stdout);
            fs::remove(document, error);
        }
    }
    if (!keep) fs::remove_all(dir);
    std::printf("%s: %d of %zu runs over a bound\n", failures ? "FAIL" : "ok", failures,
                std::size(files) * optionSets.size());
    return failures ? 1 : 0;
}
