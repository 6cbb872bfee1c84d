#pragma once
// Running an external program from a test and collecting what it prints.
#include <string>
#include <string_view>

struct [[nodiscard]] TCommandResult {
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

// Runs command through the shell with stderr joined to stdout. On Windows nothing runs: the
// answer has exit code -1.
TCommandResult RunCommand(const std::string& command);

// True when the shell finds the program (always false on Windows).
bool ProgramExists(const std::string& name);
