// The peak memory of a conversion that stops at the 5,000,000-Figure budget, in each format,
// for three drawings that reach it:
//   lines  5,100,000 lines of one pen on one layer, apart from each other: one geometry of
//          10 million distinct points, the largest weld a file can ask for;
//   arcs   60,000 whole circles of one pen at 100 segments each (--arcs count:100);
//   texts  20,000 texts of 100 full-width characters (kanji) of one pen on one layer,
//          converted with --text and the font given (the IPAex Gothic of Debian's
//          fonts-ipaexfont-gothic unless a font file is named).
// Each conversion is the `tessaro` program beside this one, run in a child process of its own,
// so that each peak is its own; each drawing is written by another child
// (`bench_budget_memory --write-drawing lines|arcs|texts PATH`), into the temporary folder: a
// spawned child's peak starts at the size of the process that spawned it, which stays small.
//
//   bench_budget_memory [RUNS [FONT [TESSARO...]]]
// RUNS: conversions per format and drawing (default 1), the peak the largest of them; TESSARO:
// the programs to measure side by side (another build, to compare), each on every drawing.
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "XorShift.h"
#include "support/JwwWriter.h"

namespace {

namespace fs = std::filesystem;

constexpr double kPromiseMB = 850;  // the README's figure for the worst file at the budget

void Save(const fs::path& path, const std::vector<uint8_t>& bytes)
{
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                static_cast<std::streamsize>(bytes.size()));
}

std::vector<uint8_t> Lines()
{
    jwwfixture::TJwwFileWriter file(600);
    TXorShift random;
    const auto coordinate = [&random] { return static_cast<double>(random.Next() % 4'000'000) / 1000.0; };
    for (int i = 0; i < 5'100'000; ++i)
        file.stream.Line(jwwfixture::MakeLine(coordinate(), coordinate(), coordinate(), coordinate()));
    return file.Build();
}

std::vector<uint8_t> Arcs()
{
    jwwfixture::TJwwFileWriter file(600);
    for (int i = 0; i < 60'000; ++i) {
        TEntJwwEnko arc = jwwfixture::MakeArc((i % 300) * 30.0, (i / 300) * 30.0, 10, 0, 6.283185307179586);
        arc.fullCircle = true;
        file.stream.Arc(arc);
    }
    return file.Build();
}

// Shift_JIS kanji of the first level: lead bytes 0x89..0x97, every trail byte but 0x7F.
std::string Kanji(int n)
{
    std::string text;
    for (int k = 0; k < 100; ++k, ++n) {
        const int at = n % (15 * 188);
        const int trail = 0x40 + at % 188;
        text += static_cast<char>(0x89 + at / 188);
        text += static_cast<char>(trail >= 0x7F ? trail + 1 : trail);
    }
    return text;
}

std::vector<uint8_t> Texts()
{
    jwwfixture::TJwwFileWriter file(600);
    for (int i = 0; i < 20'000; ++i) {
        TEntJwwMoji t;
        t.common = jwwfixture::Common();
        t.startX = 0;
        t.startY = i * 5.0;
        t.sizeX = t.sizeY = 4.0;
        t.spacing = 0.5;
        t.fontName = "\x82\x6C\x82\x72 \x83\x53\x83\x56\x83\x62\x83\x4E";  // ＭＳ ゴシック
        t.text = Kanji(i * 37);
        file.stream.Text(t);
    }
    return file.Build();
}

// The peak resident memory of one run of `args`, in MiB; negative when it failed. The child is
// spawned, not forked: a forked child's peak would start at this process's size.
double PeakOf(const std::vector<std::string>& args)
{
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    std::vector<char*> argv;
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    pid_t child = 0;
    const int spawned = posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) return -1;
    int status = 0;
    rusage usage{};
    if (wait4(child, &status, 0, &usage) != child) return -1;
    // Exit status 0, or 1 when the budget was reached (reported as a warning).
    const bool ok = WIFEXITED(status) && WEXITSTATUS(status) <= 1;
    return ok ? static_cast<double>(usage.ru_maxrss) / 1024.0 : -1;
}

}  // namespace

int WriteDrawing(const std::string& name, const char* path)
{
    const std::pair<const char*, std::vector<uint8_t> (*)()> makers[] = {{"lines", Lines}, {"arcs", Arcs}, {"texts", Texts}};
    for (const auto& [known, make] : makers)
        if (name == known) {
            Save(path, make());
            return 0;
        }
    return 2;
}

int main(int argc, char** argv)
{
    if (argc == 4 && std::string(argv[1]) == "--write-drawing") return WriteDrawing(argv[2], argv[3]);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 1;
    const std::string font = argc > 2 ? argv[2] : "/usr/share/fonts/opentype/ipaexfont-gothic/ipaexg.ttf";
    std::error_code error;
    std::vector<fs::path> programs(argv + std::min(argc, 3), argv + argc);
    if (programs.empty()) programs.push_back(fs::read_symlink("/proc/self/exe", error).parent_path() / "tessaro");
    std::string pattern = (fs::temp_directory_path() / "tessaro-budget-XXXXXX").string();
    if (error || !mkdtemp(pattern.data())) return 1;
    const fs::path work = pattern;
    setenv("HOME", work.c_str(), 1);  // no saved settings
    if (!fs::exists(font)) std::printf("no font %s: the texts are drawn as boxes\n", font.c_str());

    const fs::path self = fs::read_symlink("/proc/self/exe", error);
    const struct {
        const char* name;
        std::vector<std::string> options;
    } drawings[] = {
        {"lines", {}},
        {"arcs", {"--arcs", "count:100"}},
        {"texts", {"--text", "--font", font}},
    };
    const char* formats[] = {"dae", "dae-compact", "glb"};
    int over = 0;
    std::printf("peak memory at the 5,000,000-Figure budget (MiB, the largest of %d run%s)\n", runs, runs > 1 ? "s" : "");
    std::printf("%-8s %9s %12s %12s %12s\n", "drawing", "input MB", formats[0], formats[1], formats[2]);
    for (const auto& drawing : drawings) {
        const fs::path input = work / (std::string(drawing.name) + ".jww");
        if (PeakOf({self.string(), "--write-drawing", drawing.name, input.string()}) < 0) return 1;
        for (size_t program = 0; program < programs.size(); ++program) {
            std::printf("%-8s %9.1f", drawing.name, static_cast<double>(fs::file_size(input)) / 1e6);
            for (const char* format : formats) {
                std::vector<std::string> args{programs[program].string(), "--format", format, "--out", work.string()};
                args.insert(args.end(), drawing.options.begin(), drawing.options.end());
                args.push_back(input.string());
                double peak = 0;
                for (int run = 0; run < runs && peak >= 0; ++run) {
                    const double one = PeakOf(args);
                    peak = one < 0 ? one : std::max(peak, one);
                }
                if (peak < 0) std::printf(" %12s", "failed");
                else std::printf(" %12.0f", peak);
                over += peak < 0 || peak * 1.048576 > kPromiseMB;
                std::fflush(stdout);
            }
            std::printf(programs.size() > 1 ? "  %s\n" : "\n", programs[program].c_str());
        }
        if (!std::getenv("TESSARO_KEEP_DRAWINGS")) fs::remove(input);
    }
    if (!std::getenv("TESSARO_KEEP_DRAWINGS")) fs::remove_all(work, error);
    std::printf("%s: %d of %zu conversions over the README's %.0f MB\n", over ? "over" : "ok", over,
                std::size(drawings) * std::size(formats) * programs.size(), kPromiseMB);
    return over ? 1 : 0;
}
