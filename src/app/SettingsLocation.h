#pragma once
// Where the settings file lives. A program carried in its own folder keeps the file beside
// itself; an installed program on Linux cannot write there (/usr/bin), so it keeps the file in
// the user's configuration folder instead.
#include <filesystem>

#include "app/XdgUserDirs.h"

enum class TSettingsRule {
    BesideExecutable,  // Windows: always the executable's path with the extension ".dat"
    UserConfig,        // Linux: $XDG_CONFIG_HOME/tessaro/tessaro.dat, unless a file is beside
};

// The settings path for `executable` under `rule`. UserConfig still answers the path beside
// the executable when a regular file is already there (a portable copy keeps working), and
// when no absolute configuration folder is known (no home folder).
std::filesystem::path SettingsLocation(const std::filesystem::path& executable, TSettingsRule rule,
                                       const TXdgEnvironment& environment);

// SettingsLocation with this platform's rule and this process's environment.
std::filesystem::path SettingsLocationOfProcess(const std::filesystem::path& executable);

// Creates the missing folders above `settingsPath`, new ones readable by the owner only (as
// configuration folders are). False when one could not be made; nothing is reported.
bool CreateSettingsFolder(const std::filesystem::path& settingsPath);
