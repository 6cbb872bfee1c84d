#include "app/XdgUserDirs.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

#if !defined(_WIN32)
#include <pwd.h>
#include <unistd.h>
#endif

namespace {

// The text of one value as the shell would read it: a double-quoted string (backslash
// escapes its next character) or a bare word. Answers false for a malformed value.
bool UnquoteValue(std::string_view text, std::string& value)
{
    value.clear();
    if (text.empty() || text.front() != '"') {
        const size_t end = text.find_first_of(" \t#");
        value = std::string(text.substr(0, end));
        return true;
    }
    for (size_t i = 1; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '"') return true;
        if (c == '\\' && i + 1 < text.size()) {
            value.push_back(text[++i]);
        } else {
            value.push_back(c);
        }
    }
    return false;  // no closing quote
}

}  // namespace

TXdgEnvironment XdgEnvironmentOfProcess()
{
    TXdgEnvironment environment;
    if (const char* home = std::getenv("HOME"); home != nullptr) environment.Home = home;
#if !defined(_WIN32)
    if (environment.Home.empty()) {
        if (const passwd* account = getpwuid(getuid()); account != nullptr && account->pw_dir != nullptr) {
            environment.Home = account->pw_dir;
        }
    }
#endif
    if (const char* config = std::getenv("XDG_CONFIG_HOME"); config != nullptr) environment.ConfigHome = config;
    return environment;
}

std::string XdgUserDirFromText(std::string_view text, std::string_view name, const std::string& home)
{
    const std::string key = "XDG_" + std::string(name) + "_DIR=";
    std::string found;
    std::istringstream lines{std::string(text)};
    std::string line;
    while (std::getline(lines, line)) {
        std::string_view rest = line;
        while (!rest.empty() && (rest.front() == ' ' || rest.front() == '\t')) rest.remove_prefix(1);
        if (!rest.starts_with(key)) continue;
        rest.remove_prefix(key.size());

        std::string value;
        if (!UnquoteValue(rest, value)) continue;
        // Only "$HOME/..." and absolute paths are allowed in this file.
        if (value == "$HOME") {
            found = home;
        } else if (value.starts_with("$HOME/")) {
            found = home + value.substr(5);
        } else if (value.starts_with("/")) {
            found = value;
        }
    }
    return found;
}

std::filesystem::path XdgConfigHome(const TXdgEnvironment& environment)
{
    const std::filesystem::path config = environment.ConfigHome;
    if (config.empty() || !config.is_absolute()) return std::filesystem::path(environment.Home) / ".config";
    return config;
}

std::filesystem::path XdgUserDir(std::string_view name, const TXdgEnvironment& environment)
{
    std::string text;
    if (std::ifstream in(XdgConfigHome(environment) / "user-dirs.dirs", std::ios::binary); in) {
        std::ostringstream content;
        content << in.rdbuf();
        text = content.str();
    }
    const std::string folder = XdgUserDirFromText(text, name, environment.Home);
    if (!folder.empty()) return folder;
    if (name == "DESKTOP") return std::filesystem::path(environment.Home) / "Desktop";
    return environment.Home;
}
