#include <gtest/gtest.h>

#include "AppTestSupport.h"
#include "app/SettingsFile.h"
#include "app/SettingsLocation.h"

namespace {

namespace fs = std::filesystem;
using namespace apptest;

TEST(SettingsLocation, BesideTheExecutableWhenPortableOtherwiseInTheUserConfigFolder)
{
    enum TBeside { None, File, Folder };  // what is beside the executable as tessaro.dat
    struct TCase {
        const char* name;
        TSettingsRule rule;
        TBeside beside;
        const char* home;
        const char* configHome;
        const char* expected;  // under the temporary folder
    };
    const TCase cases[] = {
        {"Windows rule", TSettingsRule::BesideExecutable, None, "home", "config", "bin/tessaro.dat"},
        {"file beside wins", TSettingsRule::UserConfig, File, "home", "config", "bin/tessaro.dat"},
        {"folder beside is no file", TSettingsRule::UserConfig, Folder, "home", "config", "config/tessaro/tessaro.dat"},
        {"XDG_CONFIG_HOME set", TSettingsRule::UserConfig, None, "home", "config", "config/tessaro/tessaro.dat"},
        {"XDG_CONFIG_HOME unset", TSettingsRule::UserConfig, None, "home", "", "home/.config/tessaro/tessaro.dat"},
        {"XDG_CONFIG_HOME relative", TSettingsRule::UserConfig, None, "home", "rel", "home/.config/tessaro/tessaro.dat"},
        {"no home at all", TSettingsRule::UserConfig, None, "", "", "bin/tessaro.dat"},
    };
    for (const TCase& c : cases) {
        TTempFolder temp;
        fs::create_directories(temp / "bin");
        if (c.beside == File) WriteBytes(temp / "bin" / "tessaro.dat", "");
        if (c.beside == Folder) fs::create_directories(temp / "bin" / "tessaro.dat");
        const auto under = [&](std::string_view name) {  // "" and "rel" stay as they are
            return name.empty() || name == "rel" ? std::string(name) : (temp / name).string();
        };
        const TXdgEnvironment environment{under(c.home), under(c.configHome)};
        EXPECT_EQ(SettingsLocation(temp / "bin" / "tessaro", c.rule, environment), temp / c.expected) << c.name;
    }
#ifdef _WIN32
    TTempFolder temp;
    EXPECT_EQ(SettingsLocationOfProcess(temp / "tessaro.exe"), temp / "tessaro.dat");  // portable, always
#endif
}

TEST(SettingsLocation, TheFolderIsCreatedForTheFirstWrite)
{
    TTempFolder temp;
    const fs::path settings = temp / "home" / ".config" / "tessaro" / "tessaro.dat";
    ASSERT_TRUE(CreateSettingsFolder(settings));
    EXPECT_TRUE(WriteSettings(settings, TControlsState{}));
    EXPECT_TRUE(CreateSettingsFolder(settings));  // already there
#ifndef _WIN32
    EXPECT_EQ(fs::status(temp / "home").permissions(), fs::perms::owner_all);
    WriteBytes(temp / "file", "");
    EXPECT_FALSE(CreateSettingsFolder(temp / "file" / "tessaro" / "tessaro.dat"));
#endif
}

}  // namespace
