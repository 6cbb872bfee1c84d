#include "support/RunCommand.h"

#include <cstdio>

#ifndef _WIN32
#include <sys/wait.h>
#endif

#ifdef _WIN32
TCommandResult RunCommand(const std::string&) { return {}; }
bool ProgramExists(const std::string&) { return false; }
#else
TCommandResult RunCommand(const std::string& command)
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

bool ProgramExists(const std::string& name)
{
    return RunCommand("command -v " + ShellQuote(name) + " >/dev/null").ExitCode == 0;
}
#endif
