#pragma once
// The user's Desktop and Documents folders on free desktops: the XDG user directories
// listed in $XDG_CONFIG_HOME/user-dirs.dirs (~/.config/user-dirs.dirs), with the
// customary answers for a missing entry: $HOME/Desktop for the desktop, $HOME otherwise.
#include <filesystem>
#include <string>
#include <string_view>

struct TXdgEnvironment {
    std::string Home;        // $HOME, or the account's home folder when unset
    std::string ConfigHome;  // $XDG_CONFIG_HOME, empty when unset
};

// HOME and XDG_CONFIG_HOME of this process.
TXdgEnvironment XdgEnvironmentOfProcess();

// $XDG_CONFIG_HOME, or ~/.config when it is unset or relative (a relative one is invalid).
std::filesystem::path XdgConfigHome(const TXdgEnvironment& environment);

// The folder of XDG_<name>_DIR, name being "DESKTOP", "DOCUMENTS", ...
std::filesystem::path XdgUserDir(std::string_view name, const TXdgEnvironment& environment);

// The value of XDG_<name>_DIR in the text of a user-dirs.dirs file; empty when the file
// has no usable entry (the last assignment counts, as the shell would read it).
std::string XdgUserDirFromText(std::string_view text, std::string_view name, const std::string& home);
