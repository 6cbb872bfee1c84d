#pragma once
// Running an external program from a test and collecting what it prints.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

struct TCommandResult {
    int ExitCode = -1;
    std::string Output;  // stdout and stderr together
};

// The text as one shell word.
inline std::string ShellQuote(std::string_view text)
{
    std::string quoted = "'";
    for (char c : text) {
        if (c == '\'') quoted += "'\\''";
        else quoted += c;
    }
    return quoted + "'";
}

#ifdef _WIN32
inline TCommandResult RunCommand(const std::string&) { return {}; }
inline bool ProgramExists(const std::string&) { return false; }
#else
#include <sys/wait.h>

// Runs command through the shell with stderr joined to stdout.
inline TCommandResult RunCommand(const std::string& command)
{
    TCommandResult result;
    std::FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (pipe == nullptr) return result;
    char buffer[4096];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) result.Output.append(buffer, n);
    const int status = pclose(pipe);
    result.ExitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

inline bool ProgramExists(const std::string& name)
{
    return RunCommand("command -v " + ShellQuote(name) + " >/dev/null").ExitCode == 0;
}
#endif
