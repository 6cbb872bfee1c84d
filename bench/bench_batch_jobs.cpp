// The batch throughput of the command line with --jobs: the sample drawings copied 20 times
// (220 files under distinct names, so that no two share a document) converted by the built
// `tessaro` with --jobs 1 and with --jobs 2, each timed from start to exit, best of a few
// alternating runs. Prints both times, their ratio, the processor time the runs took (what
// a second core can share out), the core count and the load average. For scale it also
// times two separate `--jobs 1` processes started together, each with half of the files:
// the speed-up two programs sharing only the folder get on this machine, which bounds what
// `--jobs 2` can reach here (the goal: within 5% of them). Given a second program (an earlier
// build, say), it times that one's --jobs 2 in the same rounds, so that the two compare under
// the same load. Times are the best and the median of the rounds; each round starts with the
// next command in turn, so that none always runs straight after the same one.
//
//   bench_batch_jobs [SAMPLES_FOLDER [TESSARO [OTHER_TESSARO]]]
// The folder defaults to ../../shared/samples/jww and the program to `tessaro`, both beside
// this executable's folder as the build lays them out; a missing folder or program ends
// with status 2 and a message. The copies and the documents (60 MB a run) go to the system's
// temporary folder: TMPDIR=/dev/shm keeps the disk's write-back out of the times.
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "support/RunCommand.h"
#include "support/TempDir.h"

namespace {

namespace fs = std::filesystem;

constexpr int kCopies = 20;
constexpr int kRounds = 11;

std::string LoadAverage()
{
    std::ifstream in("/proc/loadavg");
    std::string one, five, fifteen;
    in >> one >> five >> fifteen;
    return one + " " + five + " " + fifteen;
}

double ChildrenCpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    const auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

struct TTiming {
    double Wall = 1e300, Cpu = 1e300;  // seconds, the best of the rounds
    std::vector<double> Walls;         // every round's
    double Median() const
    {
        std::vector<double> sorted = Walls;
        std::sort(sorted.begin(), sorted.end());
        return sorted.empty() ? 0 : sorted[sorted.size() / 2];
    }
};

// The shell command converting `inputs` (quoted, each after a space) into `out`.
std::string BatchCommand(const fs::path& tessaro, const std::string& jobs, const fs::path& out, const std::string& inputs)
{
    std::string command = ShellQuote(tessaro.string());
    command.append(" --jobs ").append(jobs).append(" --out ").append(ShellQuote(out.string()));
    return command.append(inputs).append(" >/dev/null");
}

// Times one command into `best`; false when it failed.
bool TimeCommand(const std::string& command, const std::string& what, TTiming& best)
{
    const double cpuBefore = ChildrenCpuSeconds();
    const auto start = std::chrono::steady_clock::now();
    const TCommandResult run = RunCommand(command);
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    if (run.ExitCode != 0) {
        std::fprintf(stderr, "%s failed (%d): %s\n", what.c_str(), run.ExitCode, run.Output.c_str());
        return false;
    }
    best.Wall = std::min(best.Wall, took.count());
    best.Walls.push_back(took.count());
    best.Cpu = std::min(best.Cpu, ChildrenCpuSeconds() - cpuBefore);
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    const fs::path here = fs::read_symlink("/proc/self/exe").parent_path();
    const fs::path samples = argc > 1 ? fs::path(argv[1]) : here / ".." / ".." / "shared" / "samples" / "jww";
    const fs::path tessaro = argc > 2 ? fs::path(argv[2]) : here / "tessaro";
    const fs::path other = argc > 3 ? fs::path(argv[3]) : fs::path();
    std::error_code error;
    if (!fs::is_directory(samples, error) || !fs::exists(tessaro, error) || (!other.empty() && !fs::exists(other, error))) {
        std::fprintf(stderr, "bench_batch_jobs: no samples in %s or no program %s\n", samples.c_str(), tessaro.c_str());
        return 2;
    }

    TTempDir dir;
    fs::create_directories(dir / "in");
    std::string inputs, halves[2];
    size_t files = 0;
    for (int copy = 0; copy < kCopies; ++copy) {
        for (const auto& entry : fs::directory_iterator(samples)) {
            if (entry.path().extension() != ".jww") continue;
            const fs::path input = dir / "in" / (std::to_string(copy) + "-" + entry.path().filename().string());
            fs::copy_file(entry.path(), input);
            inputs.append(" ").append(ShellQuote(input.string()));
            halves[files % 2].append(" ").append(ShellQuote(input.string()));
            ++files;
        }
    }

    std::printf("%zu files, %u cores, load before: %s\n", files, std::thread::hardware_concurrency(),
                LoadAverage().c_str());
    // --jobs 1, --jobs 2, and two processes of --jobs 1 on the halves (each waited for),
    // writing into one folder as --jobs 2 does.
    const std::string halvesCommand = "(" + BatchCommand(tessaro, "1", dir / "outH", halves[0]) + ") & a=$!; (" +
                                      BatchCommand(tessaro, "1", dir / "outH", halves[1]) + ") & b=$!; wait $a && wait $b";
    const std::string commands[4] = {BatchCommand(tessaro, "1", dir / "out1", inputs),
                                     BatchCommand(tessaro, "2", dir / "out2", inputs), halvesCommand,
                                     other.empty() ? "" : BatchCommand(other, "2", dir / "outO", inputs)};
    const char* names[4] = {"--jobs 1", "--jobs 2", "two processes", "the other program's --jobs 2"};
    for (const char* folder : {"out1", "out2", "outH", "outO"}) fs::create_directories(dir / folder);
    const int timed = other.empty() ? 3 : 4;
    TTiming best[4];
    for (int round = 0; round < kRounds; ++round) {
        for (int k = 0; k < timed; ++k) {
            const int j = (round + k) % timed;
            if (!TimeCommand(commands[j], names[j], best[j])) return 1;
        }
    }
    std::printf("%d rounds, best (median): --jobs 1 %.3f s (%.3f s, processor %.3f s)   --jobs 2 %.3f s (%.3f s, "
                "processor %.3f s)\n",
                kRounds, best[0].Wall, best[0].Median(), best[0].Cpu, best[1].Wall, best[1].Median(), best[1].Cpu);
    std::printf("speed-up: %.2fx (goal 1.80x)\n", best[0].Wall / best[1].Wall);
    std::printf("two separate processes, half of the files each: %.3f s (%.3f s, processor %.3f s) = %.2fx against "
                "--jobs 1 (this machine's speed-up for two programs that share only the folder)\n",
                best[2].Wall, best[2].Median(), best[2].Cpu, best[0].Wall / best[2].Wall);
    const double behind = best[1].Wall / best[2].Wall - 1, behindMedian = best[1].Median() / best[2].Median() - 1;
    std::printf("--jobs 2 against the two processes: %+.1f%% (median %+.1f%%; goal within 5%% %s)\n", 100 * behind,
                100 * behindMedian, behind <= 0.05 ? "met" : "missed");
    if (!other.empty())
        std::printf("%s --jobs 2: %.3f s (%.3f s) = %.2fx this program's\n", other.c_str(), best[3].Wall,
                    best[3].Median(), best[3].Wall / best[1].Wall);
    std::printf("load after: %s\n", LoadAverage().c_str());
    return 0;
}
