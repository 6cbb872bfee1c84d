#include "app/SettingsLocation.h"

#include <system_error>
#include <vector>

#include "app/SettingsFile.h"

namespace fs = std::filesystem;

fs::path SettingsLocation(const fs::path& executable, TSettingsRule rule, const TXdgEnvironment& environment)
{
    const fs::path beside = SettingsPathFor(executable);
    if (rule == TSettingsRule::BesideExecutable) return beside;

    std::error_code error;
    if (fs::is_regular_file(beside, error)) return beside;
    const fs::path config = XdgConfigHome(environment);
    if (!config.is_absolute()) return beside;
    return config / "tessaro" / "tessaro.dat";
}

fs::path SettingsLocationOfProcess(const fs::path& executable)
{
#ifdef _WIN32
    return SettingsLocation(executable, TSettingsRule::BesideExecutable, {});
#else
    return SettingsLocation(executable, TSettingsRule::UserConfig, XdgEnvironmentOfProcess());
#endif
}

bool CreateSettingsFolder(const fs::path& settingsPath)
{
    // The missing folders, innermost first; then made outermost first.
    std::vector<fs::path> missing;
    std::error_code error;
    for (fs::path folder = settingsPath.parent_path(); !folder.empty() && !fs::exists(folder, error);
         folder = folder.parent_path()) {
        if (error || folder == folder.parent_path()) return false;
        missing.push_back(folder);
    }
    if (error) return false;
    for (auto folder = missing.rbegin(); folder != missing.rend(); ++folder) {
        if (!fs::create_directory(*folder, error) && !fs::is_directory(*folder, error)) return false;
        fs::permissions(*folder, fs::perms::owner_all, fs::perm_options::replace, error);
    }
    return true;
}
