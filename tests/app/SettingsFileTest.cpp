#include <gtest/gtest.h>

#ifndef _WIN32
#include <unistd.h>
#endif
#ifdef __linux__
#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#endif

#include "AppTestSupport.h"
#include "app/ControlsTable.h"
#include "app/SettingsFile.h"

namespace {

using apptest::ReadBytes;
using apptest::TTempFolder;
using apptest::WriteBytes;

// A settings file whose lines are the defaults, with some lines replaced (1-based).
std::string SettingsText(std::initializer_list<std::pair<int, std::string>> changes)
{
    std::vector<std::string> lines = {"192", "107", "192", "107", "416", "219", "1", "0", "0", "0",
                                      "",    "1",   "1",   "1",   "1",   "1",   "0", "0", "0", "1",
                                      "1",   "0",   "0",   "12",  "10",  "4",   "10", "4", "0", "0", "0"};
    for (const auto& [line, text] : changes) lines[line - 1] = text;
    std::string file;
    for (const std::string& line : lines) file += line + "\r\n";
    return file;
}

TControlsState ReadText(const TTempFolder& folder, const std::string& text)
{
    WriteBytes(folder / "tessaro.dat", text);
    TControlsState controls;
    controls.Edit1 = "left over";
    ReadSettings(folder / "tessaro.dat", controls);
    return controls;
}

TEST(SettingsFile, PathIsTheExecutablesPathWithDat)
{
    EXPECT_EQ(SettingsPathFor("/opt/x.y/tessaro"), "/opt/x.y/tessaro.dat");
    EXPECT_EQ(SettingsPathFor("C:/bin/tessaro.exe"), "C:/bin/tessaro.dat");
}

TEST(SettingsFile, MissingFileGivesTheDefaultsAndClosingWrites31CrLfLines)
{
    TTempFolder folder;
    TControlsState controls;
    controls.Edit3 = "99";
    controls.MainLeft = 5;
    ReadSettings(folder / "tessaro.dat", controls);
    EXPECT_EQ(controls, TControlsState{});

    ASSERT_TRUE(WriteSettings(folder / "tessaro.dat", controls));
    EXPECT_EQ(ReadBytes(folder / "tessaro.dat"), SettingsText({}));

    // A file from before the output format's line reads as the default document, one from
    // before the texts' line converts no texts, one from before the heights' line reads none.
    std::string older = SettingsText({{29, "2"}, {30, "1"}, {31, "1"}});
    older.resize(older.size() - 9);
    EXPECT_EQ(ReadText(folder, older).OutputFormat, 0);
    older = SettingsText({{30, "1"}, {31, "1"}});
    older.resize(older.size() - 6);
    EXPECT_FALSE(ReadText(folder, older).CheckBox7);
    older = SettingsText({{31, "1"}});
    older.resize(older.size() - 3);
    EXPECT_FALSE(ReadText(folder, older).CheckBox8);
}

// A value the entry's control does not hold by default, as its settings line would give it.
std::string AwayFromDefault(const TControlEntry& entry, const TControlsState& defaults)
{
    switch (entry.Kind) {
    case TControlKind::Placement: return "-40";
    case TControlKind::Flag:
    case TControlKind::Radio: return defaults.*entry.Bool ? "0" : "1";
    case TControlKind::Text: return "C:\\\x95\xBD\x96\xCA\\out\\";  // Shift_JIS bytes kept as they are
    case TControlKind::Count: return "36";
    case TControlKind::Number: return "2.5";
    case TControlKind::Item:
    case TControlKind::Choice: return std::to_string(entry.ItemCount - 1);
    }
    return {};
}

std::string LineAt(const std::string& file, int index)
{
    size_t start = 0;
    for (int i = 0; i < index && start != std::string::npos; ++i) start = file.find("\r\n", start) + 2;
    return file.substr(start, file.find("\r\n", start) - start);
}

// Each entry alone, away from its default, changes its own line and is read back unchanged.
TEST(SettingsFile, EveryEntryHasItsOwnLineAndSurvivesARoundTrip)
{
    TTempFolder folder;
    for (int i = 0; i < kControlsTableSize; ++i) {
        TControlsState saved;
        SetFromText(kControlsTable[i], saved, AwayFromDefault(kControlsTable[i], saved));
        ASSERT_TRUE(WriteSettings(folder / "tessaro.dat", saved));
        const std::string file = ReadBytes(folder / "tessaro.dat");
        EXPECT_NE(LineAt(file, i), LineAt(SettingsText({}), i)) << "line " << i + 1;
        TControlsState read;
        ReadSettings(folder / "tessaro.dat", read);
        EXPECT_EQ(read, saved) << "line " << i + 1;
    }
}

TEST(SettingsFile, ShortFileReadsTheMissingLinesAsEmptyText)
{
    TTempFolder folder;
    const TControlsState c = ReadText(folder, "10\r\n20\r\n30\r\n");
    EXPECT_EQ(c.MainLeft, 10);
    EXPECT_EQ(c.MainTop, 20);
    EXPECT_EQ(c.ProgressLeft, 30);
    EXPECT_EQ(c.ProgressTop, 0);
    EXPECT_EQ(c.ProgressHeight, 0);
    // Empty flags are false, so no radio button of either group is checked.
    EXPECT_FALSE(c.RadioButton1 || c.RadioButton2 || c.RadioButton3 || c.RadioButton4);
    EXPECT_FALSE(c.RadioButton5 || c.RadioButton6 || c.RadioButton7);
    EXPECT_FALSE(c.CheckBox1 || c.CheckBox5);
    EXPECT_EQ(c.Edit1, "");
    EXPECT_EQ(c.ComboBox1ItemIndex, 0);
    EXPECT_EQ(c.ComboBox2ItemIndex, 0);
    EXPECT_EQ(c.Edit2, "0");
    EXPECT_EQ(c.Edit3, "0");
    EXPECT_EQ(c.Edit4, "0");
    EXPECT_EQ(c.Edit7, "0");
}

TEST(SettingsFile, EveryYesMarkChecksTheRadioButtonAndOtherWordsDoNot)
{
    TTempFolder folder;
    for (const char* yes : {"1", "TRUE", "ON", "\x81\x9B" /* ○ */, "\x82\x50" /* full-width 1 */, " t "}) {
        const TControlsState c = ReadText(folder, SettingsText({{7, yes}}));
        EXPECT_TRUE(c.RadioButton1) << yes;
    }
    const TControlsState c = ReadText(folder, SettingsText({{7, "yes"}}));
    EXPECT_FALSE(c.RadioButton1 || c.RadioButton2 || c.RadioButton3 || c.RadioButton4);
}

TEST(SettingsFile, TheLastTrueLineOfAGroupWins)
{
    TTempFolder folder;
    TControlsState c = ReadText(folder, SettingsText({{7, "0"}, {8, "0"}, {9, "1"}, {10, "1"}}));
    EXPECT_FALSE(c.RadioButton1 || c.RadioButton2 || c.RadioButton3);
    EXPECT_TRUE(c.RadioButton4);

    c = ReadText(folder, SettingsText({{7, "1"}, {8, "1"}, {9, "0"}, {10, "0"}}));
    EXPECT_TRUE(c.RadioButton2);
    EXPECT_FALSE(c.RadioButton1 || c.RadioButton3 || c.RadioButton4);

    c = ReadText(folder, SettingsText({{21, "1"}, {22, "1"}, {23, "0"}}));
    EXPECT_TRUE(c.RadioButton6);
    EXPECT_FALSE(c.RadioButton5 || c.RadioButton7);
}

TEST(SettingsFile, NumericBoxesAreNormalisedAndClampedByTheNextBatch)
{
    TTempFolder folder;
    TControlsState c = ReadText(folder, SettingsText({{24, "abc"}, {20, " 2.50"}, {25, "+45"}, {26, "$10"}}));
    EXPECT_EQ(c.Edit3, "0");
    EXPECT_EQ(c.Edit2, "2.5");
    EXPECT_EQ(c.Edit4, "45");
    EXPECT_EQ(c.Edit5, "16");

    EXPECT_EQ(MakeOptions(RequestOf(c)).ArcDivisions, 3);
    ShowClampedNumbers(c);
    EXPECT_EQ(c.Edit3, "3");
}

TEST(SettingsFile, AnItemIndexOutsideTheListLeavesNoSelectionAndFactorOne)
{
    TTempFolder folder;
    TControlsState c = ReadText(folder, SettingsText({{18, "7"}, {19, "8"}}));
    EXPECT_EQ(c.ComboBox1ItemIndex, -1);
    EXPECT_EQ(c.ComboBox2ItemIndex, -1);

    const TConversionOptions options = MakeOptions(RequestOf(c));
    EXPECT_EQ(options.CoordinateScale, 1.0);
    EXPECT_EQ(options.PointMarkerShape, -1);

    c = ReadText(folder, SettingsText({{18, "3"}, {19, "7"}}));
    EXPECT_EQ(c.ComboBox1ItemIndex, 3);
    EXPECT_EQ(c.ComboBox2ItemIndex, 7);
}

TEST(SettingsFile, FolderTextIsTheLineItselfAndBareLineFeedsAreRead)
{
    TTempFolder folder;
    const TControlsState c = ReadText(folder, "1\n2\n3\n4\n5\n6\n0\n0\n0\n1\n /tmp/a b \n");
    EXPECT_EQ(c.MainLeft, 1);
    EXPECT_TRUE(c.RadioButton4);
    EXPECT_EQ(c.Edit1, " /tmp/a b ");
}

TEST(SettingsFile, FailedWriteLeavesNoFileAndKeepsAnOldOne)
{
    TTempFolder folder;
    // A folder that does not exist: the file cannot be created.
    EXPECT_FALSE(WriteSettings(folder / "missing" / "tessaro.dat", TControlsState{}));
    EXPECT_FALSE(std::filesystem::exists(folder / "missing" / "tessaro.dat"));
#ifdef __linux__
    // A write that fails part way (the file may not grow past 16 bytes) keeps the old file.
    WriteBytes(folder / "tessaro.dat", SettingsText({{11, "kept"}}));
    const pid_t child = fork();
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{16, 16};
        setrlimit(RLIMIT_FSIZE, &limit);
        _exit(WriteSettings(folder / "tessaro.dat", TControlsState{}) ? 1 : 0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(ReadBytes(folder / "tessaro.dat"), SettingsText({{11, "kept"}}));
#endif
}

TEST(SettingsFile, ReadOnlyFolderMakesTheWriteFailQuietly)
{
#ifdef _WIN32
    GTEST_SKIP() << "a folder's permission bits do not stop file creation on Windows";
#else
    if (geteuid() == 0) GTEST_SKIP() << "permissions do not bind the superuser";
#endif
    TTempFolder folder;
    const auto readOnly = folder / "ro";
    std::filesystem::create_directory(readOnly);
    std::filesystem::permissions(readOnly, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    EXPECT_FALSE(WriteSettings(readOnly / "tessaro.dat", TControlsState{}));
    EXPECT_FALSE(std::filesystem::exists(readOnly / "tessaro.dat"));
}

}  // namespace
