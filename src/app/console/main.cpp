// The `tessaro` command: converts the files named on its command line with the saved
// options (or one run's overrides) and ends, like the desktop program started with
// arguments. The settings file is read and written as there.
#include <csignal>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "app/Unit1.h"
#include "app/console/ConsoleView.h"

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

void CatchInterrupt()
{
#ifdef _WIN32
    std::signal(SIGINT, OnInterrupt);
#else
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

    CatchInterrupt();
    KeepFreedMemory();
#ifdef _WIN32
    SetConsoleOutputCP(CP_UTF8);  // the status texts are printed as UTF-8
#endif

    TConsoleView view(std::cout, std::cerr, ExecutablePath(argv[0]), SpecialFolder, gInterrupted);
    TForm1 form(view);
    form.SetOneRunOverrides(commandLine.Overrides);
    form.SetOneRunBackground(commandLine.Background);
    form.SetOneRunJobs(commandLine.Jobs);

    std::vector<std::filesystem::path> files;
    files.reserve(commandLine.Files.size());
    for (const std::string& file : commandLine.Files) files.emplace_back(file);
    form.FormShow(files);

    if (view.CloseRequested() && form.FormCloseQuery()) form.FormClose();
    return view.ExitStatus(form.CancelRequested());
}
