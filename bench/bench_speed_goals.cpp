// The speed goals in one run, on the large drawing of bench_convert_jww (1,000,000 lines and
// 100,000 arcs of 12 segments: 2.2 million segments):
//   1. each format's whole conversion (the tessaro program) against `cat` of its document;
//   2. the conversion's peak memory against the drawing's size;
//   3. segments per second of the compact and glTF forms against `assimp export` writing
//      COLLADA from an OBJ file of 1,000,000 segments (skipped when assimp is not installed);
//   4. a batch with --jobs 2 against --jobs 1: bench_batch_jobs, run from here.
// Every time is the best of a few runs (`bench_speed_goals [RUNS]`, default 3), which keeps
// the machine's other load out of the ratios as far as it can; the load averages are printed.
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "XorShift.h"
#include "support/RunCommand.h"

namespace {

namespace fs = std::filesystem;

constexpr double kSegments = 2'200'000;      // the drawing's: 1,000,000 + 100,000 x 12
constexpr int kAssimpSegments = 1'000'000;

struct TRun {
    bool ok = false;
    double seconds = 0;
    double peakMB = 0;
};

// Runs argv[0] (looked up in PATH) with stdout to `out` (or /dev/null), stderr discarded.
TRun Run(const std::vector<std::string>& args, const char* out = "/dev/null")
{
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child < 0) return {};
    if (child == 0) {
        const int target = open(out, O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int null = open("/dev/null", O_WRONLY);
        if (target < 0 || null < 0) _exit(126);
        dup2(target, 1);
        dup2(null, 2);
        std::vector<char*> argv;
        for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execvp(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    if (wait4(child, &status, 0, &usage) != child) return {};
    TRun run;
    run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    run.peakMB = static_cast<double>(usage.ru_maxrss) / 1024.0;
    run.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return run;
}

// The best (shortest) of `runs` runs; its peak is the largest seen.
TRun Best(int runs, const std::vector<std::string>& args, const char* out = "/dev/null")
{
    TRun best;
    for (int i = 0; i < runs; ++i) {
        const TRun run = Run(args, out);
        if (!run.ok) return run;
        best.seconds = best.ok ? std::min(best.seconds, run.seconds) : run.seconds;
        best.peakMB = std::max(best.peakMB, run.peakMB);
        best.ok = true;
    }
    return best;
}

// An OBJ file of `count` separate segments in the plane z = 0.
void WriteObjSegments(const fs::path& path, int count)
{
    std::ofstream out(path);
    TXorShift random;
    for (int i = 0; i < 2 * count; ++i)
        out << "v " << random.Next() % 4'000'000 / 1000.0 << ' ' << random.Next() % 4'000'000 / 1000.0 << " 0\n";
    for (int i = 0; i < count; ++i) out << "l " << 2 * i + 1 << ' ' << 2 * i + 2 << '\n';
}

bool OnPath(const char* program)
{
    return std::system(("command -v " + std::string(program) + " >/dev/null 2>&1").c_str()) == 0;
}

struct TFormat {
    const char* name;
    const char* extension;
    double goal;  // conversion time / copy time
};
constexpr TFormat kFormats[] = {{"dae", ".dae", 3}, {"dae-compact", ".dae", 2}, {"glb", ".glb", 2}};

}  // namespace

namespace {

// Goals 1 and 2 for one format; answers the conversion's time (0 when it failed).
double MeasureFormat(const TFormat& format, int runs, const fs::path& bin, const fs::path& work,
                     const fs::path& drawing)
{
    const fs::path out = work / format.name;
    fs::create_directories(out);
    const TRun convert = Best(runs, {(bin / "tessaro").string(), "--format", format.name, "--out", out.string(),
                                     drawing.string()});
    const fs::path document = out / (drawing.stem().string() + format.extension);
    const TRun copy = Best(runs, {"cat", document.string()}, (work / "copy").c_str());
    if (!convert.ok || !copy.ok) {
        std::printf("%-12s conversion or copy failed\n", format.name);
        return 0;
    }
    const double inputMB = static_cast<double>(fs::file_size(drawing)) / (1 << 20);
    const double ratio = convert.seconds / copy.seconds, memory = convert.peakMB / inputMB;
    std::printf("%-12s %7.1f MB doc  convert %6.2f s  cat %5.2f s  time/cat %5.2fx (goal <= %.0fx %s)  "
                "peak %6.1f MB = %4.2fx input (goal < 4x %s)\n",
                format.name, static_cast<double>(fs::file_size(document)) / (1 << 20), convert.seconds, copy.seconds,
                ratio, format.goal, ratio <= format.goal ? "met" : "missed", convert.peakMB, memory,
                memory < 4 ? "met" : "missed");
    fs::remove(document);
    return convert.seconds;
}

// Goal 3: assimp's segments per second writing COLLADA from OBJ; 0 when assimp is missing.
double AssimpSegmentsPerSecond(int runs, const fs::path& work)
{
    if (!OnPath("assimp")) return 0;
    const fs::path obj = work / "segments.obj";
    WriteObjSegments(obj, kAssimpSegments);
    const TRun run = Best(runs, {"assimp", "export", obj.string(), (work / "segments.dae").string()});
    if (!run.ok) return 0;
    std::printf("assimp export OBJ -> COLLADA: %d segments in %.2f s\n", kAssimpSegments, run.seconds);
    return kAssimpSegments / run.seconds;
}

}  // namespace

int main(int argc, char** argv)
{
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    std::error_code error;
    const fs::path bin = fs::read_symlink("/proc/self/exe", error).parent_path();
    std::string pattern = (fs::temp_directory_path() / "tessaro-speed-XXXXXX").string();
    if (error || !mkdtemp(pattern.data())) return 1;
    const fs::path work = pattern, drawing = work / "large.jww";
    setenv("HOME", work.c_str(), 1);  // no saved settings: the defaults (12 segments an arc)
    if (!Run({(bin / "bench_convert_jww").string(), "--write-drawing", drawing.string()}).ok) return 1;

    double load[3] = {0, 0, 0};
    getloadavg(load, 3);
    std::printf("input %.1f MB, %.0f segments, best of %d runs, load average %.2f %.2f %.2f on %ld cores\n",
                static_cast<double>(fs::file_size(drawing)) / (1 << 20), kSegments, runs, load[0], load[1], load[2],
                sysconf(_SC_NPROCESSORS_ONLN));
    double seconds[3];
    for (int i = 0; i < 3; ++i) seconds[i] = MeasureFormat(kFormats[i], runs, bin, work, drawing);
    if (const double assimp = AssimpSegmentsPerSecond(runs, work); assimp > 0) {
        for (int i = 1; i < 3; ++i)
            if (seconds[i] > 0)
                std::printf("%-12s %.0f segments/s = %.1fx assimp's %.0f (goal >= 10x %s)\n", kFormats[i].name,
                            kSegments / seconds[i], kSegments / seconds[i] / assimp, assimp,
                            kSegments / seconds[i] / assimp >= 10 ? "met" : "missed");
    } else {
        std::printf("segments per second against assimp: skipped (assimp export is not available)\n");
    }
    fs::remove_all(work, error);
    std::printf("batch with --jobs 2 against --jobs 1 (bench_batch_jobs):\n");
    std::fflush(stdout);
    return std::system(ShellQuote((bin / "bench_batch_jobs").string()).c_str()) == 0 ? 0 : 1;
}
