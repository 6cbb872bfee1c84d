#include <gtest/gtest.h>

#include "AppTestSupport.h"
#include "app/XdgUserDirs.h"

namespace {

TEST(XdgUserDirs, EntriesAreReadAsTheShellWouldWithTheLastOneWinning)
{
    const std::string text = "# written by xdg-user-dirs-update\n"
                             "XDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\n"
                             "XDG_DOCUMENTS_DIR=\"/data/docs\"\n"
                             "  XDG_DOCUMENTS_DIR=\"$HOME/My \\\"Docs\\\"\"\n"
                             "XDG_MUSIC_DIR=\"relative/music\"\n"
                             "XDG_PICTURES_DIR=\"$HOME\"\n";
    EXPECT_EQ(XdgUserDirFromText(text, "DESKTOP", "/home/u"), "/home/u/Schreibtisch");
    EXPECT_EQ(XdgUserDirFromText(text, "DOCUMENTS", "/home/u"), "/home/u/My \"Docs\"");
    EXPECT_EQ(XdgUserDirFromText(text, "MUSIC", "/home/u"), "");  // relative paths are not allowed
    EXPECT_EQ(XdgUserDirFromText(text, "PICTURES", "/home/u"), "/home/u");
    EXPECT_EQ(XdgUserDirFromText(text, "VIDEOS", "/home/u"), "");
    EXPECT_EQ(XdgUserDirFromText("XDG_DESKTOP_DIR=\"/unterminated\n", "DESKTOP", "/h"), "");
}

TEST(XdgUserDirs, FileComesFromTheConfigHomeAndMissingEntriesTakeTheCustomaryFolders)
{
    apptest::TTempFolder temp;
    const TXdgEnvironment environment{(temp / "home").string(), (temp / "config").string()};
    EXPECT_EQ(XdgUserDir("DESKTOP", environment), temp / "home" / "Desktop");
    EXPECT_EQ(XdgUserDir("DOCUMENTS", environment), temp / "home");

    apptest::WriteBytes(temp / "config" / "user-dirs.dirs", "XDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"\n");
    EXPECT_EQ(XdgUserDir("DOCUMENTS", environment), temp / "home" / "Dokumente");

    // Without XDG_CONFIG_HOME (or with a relative one) the file is in ~/.config.
    apptest::WriteBytes(temp / "home" / ".config" / "user-dirs.dirs", "XDG_DESKTOP_DIR=\"/srv/desk\"\n");
    EXPECT_EQ(XdgUserDir("DESKTOP", TXdgEnvironment{(temp / "home").string(), ""}), "/srv/desk");
    EXPECT_EQ(XdgUserDir("DESKTOP", TXdgEnvironment{(temp / "home").string(), "config"}), "/srv/desk");
}

}  // namespace
