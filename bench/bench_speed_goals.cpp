// The speed goals in one run, on the large drawing of bench_convert_jww (1,000,000 lines and
// 100,000 arcs of 12 segments: 2.2 million segments):
//   1. each format's whole conversion (the tessaro program) against its floor: `cat` copying
//      the drawing and the document into one file, what any converter must at least read and
//      write;
//   2. the conversion's peak memory against the drawing's size;
//   3. segments per second of the compact and glTF forms against `assimp export` writing
//      COLLADA from an OBJ file of 1,000,000 segments (skipped when assimp is not installed);
//   4. a batch with --jobs 2 against --jobs 1: bench_batch_jobs, run from here.
// Every time is the best and the median of a few runs (`bench_speed_goals [RUNS [OTHER]]`,
// default 3), the conversion and its floor taking turns, which keeps the machine's other load
// out of the ratios as far as it can; the load averages are printed. Given OTHER, another
// build of tessaro, it converts in the same rounds too, so that two builds compare side by side.
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

// The runs of one command: the best and the median time, the largest peak.
struct TRuns {
    bool ok = true;
    std::vector<double> seconds;
    double peakMB = 0;
    void Add(const TRun& run)
    {
        ok = ok && run.ok;
        seconds.push_back(run.seconds);
        peakMB = std::max(peakMB, run.peakMB);
    }
    double Best() const { return seconds.empty() ? 0 : *std::min_element(seconds.begin(), seconds.end()); }
    double Median() const
    {
        std::vector<double> sorted = seconds;
        std::sort(sorted.begin(), sorted.end());
        return sorted.empty() ? 0 : sorted[sorted.size() / 2];
    }
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

// Goals 1 and 2 for one format; answers the conversion's best time (0 when it failed). With
// `other`, that program converts in the same rounds.
double MeasureFormat(const TFormat& format, int runs, const fs::path& bin, const fs::path& other, const fs::path& work,
                     const fs::path& drawing)
{
    const fs::path out = work / format.name, otherOut = work / (std::string(format.name) + "-other");
    fs::create_directories(out);
    fs::create_directories(otherOut);
    const fs::path document = out / (drawing.stem().string() + format.extension);
    const auto convert = [&](const fs::path& program, const fs::path& folder) {
        return Run({program.string(), "--format", format.name, "--out", folder.string(), drawing.string()});
    };
    TRuns conversion, floor, otherConversion;
    // The two builds take turns at going first, so that neither always follows the copy.
    for (int i = 0; i < runs; ++i) {
        if (!other.empty() && i % 2 == 1) otherConversion.Add(convert(other, otherOut));
        conversion.Add(convert(bin / "tessaro", out));
        if (!other.empty() && i % 2 == 0) otherConversion.Add(convert(other, otherOut));
        floor.Add(Run({"cat", drawing.string(), document.string()}, (work / "copy").c_str()));
    }
    if (!conversion.ok || !floor.ok || !otherConversion.ok) {
        std::printf("%-12s conversion or copy failed\n", format.name);
        return 0;
    }
    const double inputMB = static_cast<double>(fs::file_size(drawing)) / (1 << 20);
    const double ratio = conversion.Best() / floor.Best(), memory = conversion.peakMB / inputMB;
    std::printf("%-12s %7.1f MB doc  convert %5.2f s (median %5.2f)  floor %5.2f s (median %5.2f)  time/floor %5.2fx "
                "(median %5.2fx; goal <= %.0fx %s)  peak %6.1f MB = %4.2fx input (goal < 4x %s)\n",
                format.name, static_cast<double>(fs::file_size(document)) / (1 << 20), conversion.Best(),
                conversion.Median(), floor.Best(), floor.Median(), ratio, conversion.Median() / floor.Median(),
                format.goal, ratio <= format.goal ? "met" : "missed", conversion.peakMB, memory,
                memory < 4 ? "met" : "missed");
    if (!other.empty())
        std::printf("%-12s the other build: convert %5.2f s (median %5.2f) = %4.2fx (median %4.2fx) this one's, "
                    "peak %6.1f MB\n",
                    "", otherConversion.Best(), otherConversion.Median(), otherConversion.Best() / conversion.Best(),
                    otherConversion.Median() / conversion.Median(), otherConversion.peakMB);
    fs::remove(document);
    fs::remove_all(otherOut);
    return conversion.Best();
}

// Goal 3: assimp's segments per second writing COLLADA from OBJ; 0 when assimp is missing.
double AssimpSegmentsPerSecond(int runs, const fs::path& work)
{
    if (!OnPath("assimp")) return 0;
    const fs::path obj = work / "segments.obj";
    WriteObjSegments(obj, kAssimpSegments);
    TRuns run;
    for (int i = 0; i < runs; ++i) run.Add(Run({"assimp", "export", obj.string(), (work / "segments.dae").string()}));
    if (!run.ok) return 0;
    std::printf("assimp export OBJ -> COLLADA: %d segments in %.2f s\n", kAssimpSegments, run.Best());
    return kAssimpSegments / run.Best();
}

}  // namespace

int main(int argc, char** argv)
{
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    const fs::path other = argc > 2 ? fs::absolute(argv[2]) : fs::path();
    std::error_code error;
    const fs::path bin = fs::read_symlink("/proc/self/exe", error).parent_path();
    std::string pattern = (fs::temp_directory_path() / "tessaro-speed-XXXXXX").string();
    if (error || !mkdtemp(pattern.data())) return 1;
    const fs::path work = pattern, drawing = work / "large.jww";
    setenv("HOME", work.c_str(), 1);  // no saved settings: the defaults (12 segments an arc)
    if (!Run({(bin / "bench_convert_jww").string(), "--write-drawing", drawing.string()}).ok) return 1;

    double load[3] = {0, 0, 0};
    getloadavg(load, 3);
    std::printf("input %.1f MB, %.0f segments, best and median of %d runs, load average %.2f %.2f %.2f on %ld cores\n",
                static_cast<double>(fs::file_size(drawing)) / (1 << 20), kSegments, runs, load[0], load[1], load[2],
                sysconf(_SC_NPROCESSORS_ONLN));
    double seconds[3];
    for (int i = 0; i < 3; ++i) seconds[i] = MeasureFormat(kFormats[i], runs, bin, other, work, drawing);
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
