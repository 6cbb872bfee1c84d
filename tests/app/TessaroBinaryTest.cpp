// Runs the built `tessaro` command on files in a temporary folder. The binary is copied into
// that folder first, so that the settings file beside it belongs to the test alone.
//
// Starting the program uses POSIX processes and signals; the Windows build checks its
// programs under Wine from scripts/windows-test.sh instead.
#ifndef _WIN32
#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "AppTestSupport.h"
#include "app/SettingsFile.h"

namespace {

namespace fs = std::filesystem;
using namespace apptest;

struct TRun {
    int Status = -1;
    std::string Out;
    std::string Err;
};

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end = text.find('\n'); end != std::string::npos; end = text.find('\n', start)) {
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

class TessaroBinary : public ::testing::Test {
protected:
    TessaroBinary()
    {
        fs::create_directories(temp / "bin");
        fs::create_directories(temp / "home");
        fs::copy_file(TESSARO_BINARY, Binary());
        fs::permissions(Binary(), fs::perms::owner_all);
    }

    fs::path Binary() const { return temp / "bin" / "tessaro"; }
    // No settings file beside the copied binary: it keeps them in XDG_CONFIG_HOME.
    fs::path Settings() const { return temp / "config" / "tessaro" / "tessaro.dat"; }

    // Starts the binary in the temporary folder with its own HOME and XDG_CONFIG_HOME.
    // Standard output goes to `outFd`, standard error to a file.
    pid_t Start(const std::vector<std::string>& arguments, int outFd, rlim_t fileSizeLimit = RLIM_INFINITY) const
    {
        std::vector<std::string> environment = {"HOME=" + (temp / "home").string(),
                                                "XDG_CONFIG_HOME=" + (temp / "config").string(), "LC_ALL=C"};
        std::vector<std::string> argv = {Binary().string()};
        argv.insert(argv.end(), arguments.begin(), arguments.end());
        const std::string errPath = (temp / "stderr.txt").string();
        const std::string folder = temp.Path().string();

        std::vector<char*> argp, envp;
        for (std::string& s : argv) argp.push_back(s.data());
        for (std::string& s : environment) envp.push_back(s.data());
        argp.push_back(nullptr);
        envp.push_back(nullptr);

        const pid_t pid = fork();
        if (pid == 0) {
            const int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            const rlimit limit{fileSizeLimit, fileSizeLimit};
            if (chdir(folder.c_str()) != 0 || err < 0 || setrlimit(RLIMIT_FSIZE, &limit) != 0) _exit(127);
            dup2(outFd, 1);
            dup2(err, 2);
            execve(argp[0], argp.data(), envp.data());
            _exit(127);
        }
        return pid;
    }

    static int Wait(pid_t pid)
    {
        int status = 0;
        if (waitpid(pid, &status, 0) != pid) return -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : 1000 + WTERMSIG(status);
    }

    TRun Run(const std::vector<std::string>& arguments, rlim_t fileSizeLimit = RLIM_INFINITY) const
    {
        const std::string outPath = (temp / "stdout.txt").string();
        const int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        TRun run;
        run.Status = Wait(Start(arguments, out, fileSizeLimit));
        close(out);
        run.Out = ReadBytes(outPath);
        run.Err = ReadBytes(temp / "stderr.txt");
        return run;
    }

    TTempFolder temp;
};

TEST_F(TessaroBinary, UsageHelpAndVersion)
{
    TRun run = Run({});
    EXPECT_EQ(run.Status, 2);
    EXPECT_NE(run.Err.find("Usage: tessaro"), std::string::npos);
    EXPECT_TRUE(run.Out.empty());

    run = Run({"--help"});
    EXPECT_EQ(run.Status, 0);
    EXPECT_NE(run.Out.find("--arcs count:N"), std::string::npos);

    run = Run({"--version"});
    EXPECT_EQ(run.Status, 0);
    EXPECT_EQ(run.Out, "tessaro " TESSARO_VERSION "\n");

    run = Run({"--scale", "7", "a.jww"});
    EXPECT_EQ(run.Status, 2);
    EXPECT_NE(run.Err.find("--scale"), std::string::npos);
    EXPECT_FALSE(fs::exists(Settings()));  // nothing ran, nothing was saved
}

TEST_F(TessaroBinary, ConvertsIntoTheGivenFolderPrintingProgressWithoutSavingTheOverride)
{
    WriteJwwInput(temp / "in" / "a.jww");
    WriteJwsInput(temp / "in" / "b.JWS");
    fs::create_directories(temp / "out");
    const TRun run = Run({"--out", "out", "--scale", "100", "in/a.jww", "in/b.JWS"});

    EXPECT_EQ(run.Status, 0) << run.Err;
    EXPECT_EQ(run.Out, "in/a.jww\n変換中(1/2) in/a.jww\nin/b.JWS\n変換中(2/2) in/b.JWS\n変換完了(2)\n");
    EXPECT_EQ(run.Err, "");
    EXPECT_EQ(ReadBytes(temp / "out" / "a.dae").rfind("<?xml", 0), 0u);
    EXPECT_TRUE(fs::exists(temp / "out" / "b.dae"));

    // The settings are written at the end, without the run's overrides.
    TControlsState saved;
    ReadSettings(Settings(), saved);
    EXPECT_EQ(saved, TControlsState{});
    EXPECT_EQ(Lines(ReadBytes(Settings())).size(), 31u);

    // As the window shows them, saved numbers come back clamped, but a number this run typed
    // over leaves the saved one as it was.
    saved.Edit2 = "0";
    saved.Edit3 = "5000";
    WriteSettings(Settings(), saved);
    ASSERT_EQ(Run({"--out", "out", "--arcs", "count:7", "in/a.jww"}).Status, 0);
    ReadSettings(Settings(), saved);
    EXPECT_EQ(saved.Edit2, "1");
    EXPECT_EQ(saved.Edit3, "5000");
}

TEST_F(TessaroBinary, SkippedFilesAndBadSignaturesAreNamedAndExitOne)
{
    WriteJwwInput(temp / "in" / "good.jww");
    WriteBytes(temp / "in" / "bad.jww", "no signature here");
    WriteBytes(temp / "in" / "x.txt", "JwwData.");
    const TRun run = Run({"--beside", "in/x.txt", "in/good.jww", "in/missing.jww", "in/bad.jww"});

    EXPECT_EQ(run.Status, 1);
    EXPECT_EQ(Lines(run.Out).back(), "変換完了(2)");
    EXPECT_NE(run.Err.find("in/x.txt"), std::string::npos);
    EXPECT_NE(run.Err.find("in/missing.jww"), std::string::npos);
    EXPECT_NE(run.Err.find("in/bad.jww"), std::string::npos);
    EXPECT_EQ(run.Err.find("good.jww"), std::string::npos);
    EXPECT_TRUE(fs::exists(temp / "in" / "good.dae"));
    EXPECT_TRUE(fs::exists(temp / "in" / "bad.dae"));  // written, without geometry
}

// A drawing cut inside its records still gets the document of what was read, and the run
// names the file and the offset where reading stopped, and exits 1.
TEST_F(TessaroBinary, TruncatedDrawingGivesItsPartialDocumentAndExitsOne)
{
    jwwfixture::TJwwFileWriter drawing(600);
    for (int i = 0; i < 20; ++i) drawing.stream.Line(jwwfixture::MakeLine(i, 0, i, 100));
    std::vector<uint8_t> bytes = drawing.Build();
    bytes.resize(bytes.size() - 30);
    WriteBytes(temp / "in" / "cut.jww", bytes);
    const TRun run = Run({"--beside", "in/cut.jww"});
    EXPECT_EQ(run.Status, 1);
    EXPECT_NE(run.Err.find("in/cut.jww: damaged: reading stopped at byte "), std::string::npos) << run.Err;
    EXPECT_GE(CountOf(ReadBytes(temp / "in" / "cut.dae"), "<lines count=\"1\""), 18u);
}

// A drawing of texts alone: without --text its document is empty and the run says why; with
// --text and a font that cannot be read, the texts are left out and counted. Neither is a
// failure.
TEST_F(TessaroBinary, TextsLeftOutAreToldWithoutFailingTheRun)
{
    jwwfixture::TJwwFileWriter drawing(600);
    TEntJwwMoji text;
    text.common = jwwfixture::Common();
    text.sizeX = text.sizeY = 3;
    text.text = "A";
    text.fontName = "\x82\x6C\x82\x72 \x83\x53\x83\x56\x83\x62\x83\x4E";  // ＭＳ ゴシック
    drawing.stream.Text(text);
    WriteBytes(temp / "in" / "notes.jww", drawing.Build());
    TRun run = Run({"--beside", "in/notes.jww"});
    EXPECT_EQ(run.Status, 0) << run.Err;
    EXPECT_NE(run.Err.find("in/notes.jww: no geometry (texts are converted with --text)"), std::string::npos) << run.Err;
    text.text = "A\xF0\x40";  // a user-defined character no font has
    drawing.stream.Text(text);
    WriteBytes(temp / "in" / "notes.jww", drawing.Build());
    run = Run({"--beside", "--text", "in/notes.jww"});
    EXPECT_EQ(run.Status, 0) << run.Err;
    EXPECT_NE(run.Err.find("in/notes.jww: 1 characters the font lacks, drawn as boxes"), std::string::npos) << run.Err;
    run = Run({"--beside", "--text", "--font", "in/none.ttf", "in/notes.jww"});
    EXPECT_EQ(run.Status, 0) << run.Err;
    EXPECT_NE(run.Err.find("in/notes.jww: 2 texts left out: no font found"), std::string::npos) << run.Err;
}

TEST_F(TessaroBinary, SkippedPathsAloneMakeTheRunExitOne)
{
    WriteJwwInput(temp / "in" / "good.jww");
    WriteBytes(temp / "in" / "x.txt", "JwwData.");
    const TRun run = Run({"--beside", "in/x.txt", "in/missing.jww", "in/good.jww"});
    EXPECT_EQ(run.Status, 1) << run.Err;
    EXPECT_TRUE(fs::exists(temp / "in" / "good.dae"));
}

TEST_F(TessaroBinary, ADocumentThatCannotBeWrittenIsNamedAndExitsOne)
{
    WriteJwwInput(temp / "in" / "a.jww");
    WriteJwwInput(temp / "in" / "b.jww");
    fs::create_directories(temp / "out" / "a.dae");  // a folder holds the document's name
    const TRun run = Run({"--out", "out", "in/a.jww", "in/b.jww"});

    EXPECT_EQ(run.Status, 1);
    EXPECT_NE(run.Err.find("out/a.dae: could not be written"), std::string::npos) << run.Err;
    EXPECT_TRUE(fs::exists(temp / "out" / "b.dae"));
}

// A document past the file-size limit (ulimit -f, a quota) is a failed write like a full disk:
// the old document stays, the program is not killed and the next file is converted.
TEST_F(TessaroBinary, AFileSizeLimitFailsTheWriteAndTheBatchGoesOn)
{
    jwwfixture::TJwwFileWriter large(600);
    for (int i = 0; i < 5000; ++i) large.stream.Line(jwwfixture::MakeLine(i, 0, i, 100));
    WriteBytes(temp / "in" / "large.jww", large.Build());
    WriteJwwInput(temp / "in" / "small.jww");
    fs::create_directories(temp / "out");
    WriteBytes(temp / "out" / "large.dae", "<old document/>");
    const TRun run = Run({"--out", "out", "in/large.jww", "in/small.jww"}, 64 * 1024);

    EXPECT_EQ(run.Status, 1);
    EXPECT_NE(run.Err.find("out/large.dae: could not be written"), std::string::npos) << run.Err;
    EXPECT_EQ(ReadBytes(temp / "out" / "large.dae"), "<old document/>");
    EXPECT_TRUE(fs::exists(temp / "out" / "small.dae"));
}

TEST_F(TessaroBinary, SavedSettingsAndTheXdgDesktopDecideWhereDocumentsGo)
{
    WriteJwwInput(temp / "in" / "a.jww");
    fs::create_directories(temp / "home" / "Bureau");
    WriteBytes(temp / "config" / "user-dirs.dirs", "XDG_DESKTOP_DIR=\"$HOME/Bureau\"\n");
    TRun run = Run({"in/a.jww"});
    EXPECT_EQ(run.Status, 0) << run.Err;
    EXPECT_TRUE(fs::exists(temp / "home" / "Bureau" / "a.dae"));

    TControlsState controls;
    controls.RadioButton1 = false;
    controls.RadioButton3 = true;
    WriteSettings(Settings(), controls);
    run = Run({"in/a.jww"});
    EXPECT_EQ(run.Status, 0) << run.Err;
    EXPECT_TRUE(fs::exists(temp / "in" / "a.dae"));
}

TEST_F(TessaroBinary, MissingDestinationFoldersAreReported)
{
    WriteJwwInput(temp / "in" / "a.jww");
    WriteJwwInput(temp / "in" / "b.jww");
    // The Desktop is missing: it is named once, and each document goes beside its input.
    TRun run = Run({"in/a.jww", "in/b.jww"});
    EXPECT_EQ(run.Status, 0);
    EXPECT_EQ(run.Err, "tessaro: the Desktop folder '" + (temp / "home" / "Desktop").string() +
                           "' does not exist; writing each document beside its input\n");
    EXPECT_TRUE(fs::remove(temp / "in" / "a.dae") && fs::remove(temp / "in" / "b.dae"));

    // A saved folder that is missing sends each document beside its input, as the window does.
    TControlsState controls;
    controls.RadioButton1 = false;
    controls.Edit1 = "nowhere";
    WriteSettings(Settings(), controls);
    run = Run({"in/a.jww"});
    EXPECT_EQ(run.Status, 0);
    EXPECT_NE(run.Err.find("output folder 'nowhere' does not exist"), std::string::npos) << run.Err;
    EXPECT_TRUE(fs::remove(temp / "in" / "a.dae"));
}

// A folder named with --out is made with its parents; one that cannot be made (a path under a
// file, or a file's own name) ends the run with status 1 before anything is written.
TEST_F(TessaroBinary, TheOutFolderIsMadeOrNothingIsWritten)
{
    WriteJwwInput(temp / "in" / "a.jww");
    TRun run = Run({"-o", "a/b/c", "in/a.jww"});
    EXPECT_EQ(run.Status, 0) << run.Err;
    EXPECT_TRUE(run.Err.empty()) << run.Err;
    EXPECT_TRUE(fs::exists(temp / "a" / "b" / "c" / "a.dae"));

    fs::remove(Settings());
    for (const std::string folder : {"in/a.jww/sub", "in/a.jww"}) {
        run = Run({"--out", folder, "in/a.jww"});
        EXPECT_EQ(run.Status, 1) << folder;
        EXPECT_NE(run.Err.find("cannot make the output folder '" + folder + "': "), std::string::npos) << run.Err;
        EXPECT_TRUE(run.Out.empty()) << run.Out;
        EXPECT_EQ(std::distance(fs::directory_iterator(temp / "in"), fs::directory_iterator()), 1);  // a.jww alone
        EXPECT_FALSE(fs::exists(Settings()));
    }
}

TEST_F(TessaroBinary, CtrlCFinishesTheFileInProgressAndStopsWith130)
{
    // Enough output to fill the pipe, so that the program waits on it while we stop reading.
    constexpr int kFiles = 2000;
    const std::string longName(90, 'n');
    std::vector<std::string> arguments = {"--out", "out"};
    for (int i = 0; i < kFiles; ++i) {
        const std::string name = "in/" + std::to_string(i) + longName + ".jww";
        WriteJwwInput(temp / name);
        arguments.push_back(name);
    }
    fs::create_directories(temp / "out");

    int pipeFds[2];
    ASSERT_EQ(pipe(pipeFds), 0);
    const pid_t pid = Start(arguments, pipeFds[1]);
    close(pipeFds[1]);

    std::string out;
    char buffer[4096];
    while (out.find("変換中(") == std::string::npos) {
        const ssize_t n = read(pipeFds[0], buffer, sizeof buffer);
        if (n <= 0) break;
        out.append(buffer, static_cast<size_t>(n));
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    kill(pid, SIGINT);
    for (ssize_t n; (n = read(pipeFds[0], buffer, sizeof buffer)) > 0;) out.append(buffer, static_cast<size_t>(n));
    close(pipeFds[0]);
    const int status = Wait(pid);

    EXPECT_EQ(status, 130);
    const std::vector<std::string> lines = Lines(out);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back(), "変換を中断しました(ESC)");
    size_t started = 0;
    for (const std::string& line : lines) started += line.rfind("変換中(", 0) == 0;
    size_t written = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(temp / "out")) ++written;
    EXPECT_LT(started, static_cast<size_t>(kFiles));
    EXPECT_EQ(written, started);  // every file that was started has its document
    EXPECT_TRUE(fs::exists(Settings()));  // the program still closed normally
}

}  // namespace

#endif  // _WIN32
