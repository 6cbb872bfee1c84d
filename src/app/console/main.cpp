// The `tessaro` command: converts the files named on its command line with the saved
// options (or this run's changes to them) and ends, like the desktop program started with
// arguments. The settings file is read and written as there.
#include <csignal>
#include <filesystem>
#include <iostream>
#include <string>
#include <system_error>
#include <vector>

#include "app/Batch.h"
#include "app/BatchPaths.h"
#include "app/CommandLine.h"
#include "app/ControlsTable.h"
#include "app/SettingsFile.h"
#include "app/SettingsLocation.h"
#include "app/StatusTexts.h"
#include "app/console/ConsoleReport.h"

#ifdef _WIN32
#include <shlobj.h>
#include <windows.h>
#else
#include <signal.h>
#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include "app/XdgUserDirs.h"
#endif

namespace {

volatile std::sig_atomic_t gInterrupted = 0;

// The first Ctrl-C asks the batch to stop after the file in progress; a second one ends
// the program at once.
extern "C" void OnInterrupt(int)
{
    gInterrupted = 1;
#ifdef _WIN32
    std::signal(SIGINT, SIG_DFL);
#endif
}

// A batch frees and allocates the same few megabytes for every file. Left to itself the C
// library gives them back to the system after each file and takes them again, page by page,
// for the next; kept, they cost no page faults. Blocks of 8 MB and more still come from the
// system and go back to it, so a large drawing's memory is returned as before.
void KeepFreedMemory()
{
#if defined(__GLIBC__)
    mallopt(M_MMAP_THRESHOLD, 8 << 20);
    mallopt(M_TRIM_THRESHOLD, 256 << 20);
#endif
}

// Ctrl-C stops the batch after the file in progress (OnInterrupt); a file-size limit fails a
// write instead of ending the program.
void HandleSignals()
{
#ifdef _WIN32
    std::signal(SIGINT, OnInterrupt);
#else
    // A document that runs into a file-size limit (ulimit -f, a quota) is a failed write, as on
    // a full disk: the old document stays and the batch goes on.
    std::signal(SIGXFSZ, SIG_IGN);
    // Output interrupted by the signal resumes (SA_RESTART); the handler is used once.
    struct sigaction action = {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART | SA_RESETHAND;
    sigaction(SIGINT, &action, nullptr);
#endif
}

std::filesystem::path ExecutablePath(const char* argv0)
{
#ifdef _WIN32
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) break;
        if (length < buffer.size()) return std::filesystem::path(buffer.substr(0, length));
        buffer.resize(buffer.size() * 2);
    }
#else
    std::error_code error;
    std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error) return self;
#endif
    std::error_code absoluteError;
    return std::filesystem::absolute(argv0, absoluteError);
}

std::filesystem::path SpecialFolder(TSpecialFolder which)
{
#ifdef _WIN32
    wchar_t buffer[MAX_PATH] = {};
    const int folder = which == TSpecialFolder::Desktop ? CSIDL_DESKTOPDIRECTORY : CSIDL_PERSONAL;
    if (SHGetFolderPathW(nullptr, folder, nullptr, 0, buffer) != S_OK) return {};
    return std::filesystem::path(buffer);
#else
    return XdgUserDir(which == TSpecialFolder::Desktop ? "DESKTOP" : "DOCUMENTS", XdgEnvironmentOfProcess());
#endif
}

// The arguments that name existing drawings, in order; the others are reported.
std::vector<std::filesystem::path> TakeIn(const std::vector<std::string>& files, TConsoleReport& report)
{
    std::vector<std::filesystem::path> accepted;
    for (const std::string& file : files) {
        const std::filesystem::path path(file);
        switch (CheckIntake(path)) {
        case TIntake::Accepted: accepted.push_back(path); break;
        case TIntake::Empty: break;
        case TIntake::WrongExtension: report.WrongExtension(path); break;
        case TIntake::Missing: report.NoSuchFile(path); break;
        }
    }
    return accepted;
}

// The folder --out names is made with its parents, as mkdir -p would: the user who names a
// folder for this run wants the documents there, not beside the drawings. One that cannot be
// made ends the run before anything is written, the settings file included. (A saved folder
// that has gone still sends each document beside its input, as in the window.)
bool MakeOutFolder(const TCommandLine& commandLine, TConsoleReport& report)
{
    if (!commandLine.Destination || commandLine.Destination->Kind != TDestination::TKind::GivenFolder) return true;
    const std::string why = MakeFolder(commandLine.Destination->GivenFolder);
    if (why.empty()) return true;
    report.OutFolderNotMade(commandLine.Destination->GivenFolder, why);
    return false;
}

// Converts the accepted files as the window's batch would; false when Ctrl-C stopped it. The
// saved controls show the clamped numbers afterwards, as the window does, except where this
// run typed its own.
bool Convert(const std::vector<std::filesystem::path>& files, const TCommandLine& commandLine,
             TControlsState& controls, TConsoleReport& report)
{
    const TOptionRequest saved = RequestOf(controls);
    const TOptionRequest used = commandLine.Applied(saved);
    const TOutputPlace place = PlaceOf(
        commandLine.Destination.value_or(DestinationOf(controls)),
        [&report](TSpecialFolder which) {
            // A Desktop or Documents folder that does not exist (a server, a fresh account) is
            // treated as a given folder that does not exist: each document goes beside its input.
            const std::filesystem::path folder = SpecialFolder(which);
            std::error_code error;
            if (std::filesystem::is_directory(folder, error)) return folder;
            report.SpecialFolderMissing(which, folder);
            return std::filesystem::path();
        },
        [&report](const std::string& folderText) { report.GivenFolderMissing(folderText); });
    TConversionOptions options = MakeOptions(used);
    // One file at a time: its arcs and document may be worked out on every core.
    options.Threads = ThreadsForOneFile();
    ShowClampedNumbers(controls, &used);

    const bool finished = RunBatch(files, options, place, commandLine.Jobs, report);
    report.Status(finished ? FinishedStatusText(files.size()) : std::string(kStoppedStatusText));
    return finished;
}

}  // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    const TCommandLine commandLine = ParseCommandLine(arguments);
    switch (commandLine.Action) {
    case TCommandLine::TAction::Help:
        std::cout << UsageText();
        return 0;
    case TCommandLine::TAction::Version:
        std::cout << "tessaro " TESSARO_VERSION "\n";
        return 0;
    case TCommandLine::TAction::UsageError:
        if (arguments.empty()) {
            std::cerr << UsageText();
        } else {
            std::cerr << "tessaro: " << commandLine.Error << "\nTry 'tessaro --help' for more information.\n";
        }
        return 2;
    case TCommandLine::TAction::Convert: break;
    }

    HandleSignals();
    KeepFreedMemory();
#ifdef _WIN32
    SetConsoleOutputCP(CP_UTF8);  // the status texts are printed as UTF-8
#endif

    TConsoleReport report(std::cout, std::cerr, gInterrupted);
    const std::filesystem::path settingsPath = SettingsLocationOfProcess(ExecutablePath(argv[0]));
    TControlsState controls;
    ReadSettings(settingsPath, controls);

    const std::vector<std::filesystem::path> files = TakeIn(commandLine.Files, report);
    if (!files.empty() && !MakeOutFolder(commandLine, report)) return report.ExitStatus(false);
    const bool stopped = !files.empty() && !Convert(files, commandLine, controls, report);

    if (!settingsPath.empty()) {
        CreateSettingsFolder(settingsPath);  // the user's configuration folder on first use
        WriteSettings(settingsPath, controls);
    }
    return report.ExitStatus(stopped);
}
