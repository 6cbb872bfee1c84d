#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "AppTestSupport.h"
#include "app/SettingsFile.h"
#include "app/SettingsLocation.h"
#include "app/StatusTexts.h"
#include "app/Unit1.h"
#include "support/Conversion.h"

namespace {

namespace fs = std::filesystem;
using namespace apptest;

class Form1Test : public ::testing::Test {
protected:
    Form1Test() : view(temp / "bin" / "tessaro"), form(view)
    {
#ifndef _WIN32
        setenv("XDG_CONFIG_HOME", (temp / "config").c_str(), 1);  // the test's settings, not the user's
#endif
        settings = SettingsLocationOfProcess(temp / "bin" / "tessaro");
        fs::create_directories(temp / "bin");
        fs::create_directories(temp / "desktop");
        fs::create_directories(temp / "documents");
        view.Desktop = temp / "desktop";
        view.Documents = temp / "documents";
    }

    fs::path In(const std::string& name) const { return temp / "in" / name; }
    fs::path Jww(const std::string& name) const
    {
        WriteJwwInput(In(name));
        return In(name);
    }

    void SaveSettings(const TControlsState& controls) const
    {
        CreateSettingsFolder(settings);
        WriteSettings(settings, controls);
    }
    // Starts the program without arguments, with these controls in its settings file.
    void ShowWith(const TControlsState& controls)
    {
        SaveSettings(controls);
        form.FormShow({});
    }
    static TControlsState SourceFolderControls()
    {
        TControlsState controls;
        controls.RadioButton1 = false;
        controls.RadioButton3 = true;
        return controls;
    }

    std::vector<std::string> ConvertingTexts(const std::vector<fs::path>& paths) const
    {
        std::vector<std::string> texts;
        for (size_t i = 0; i < paths.size(); ++i) texts.push_back(ConvertingStatusText(i + 1, paths.size(), paths[i]));
        return texts;
    }

    TTempFolder temp;
    fs::path settings;
    TFakeView view;
    TForm1 form;
};

TEST_F(Form1Test, CommandLineConvertsOnlyExistingFilesWithAKnownExtensionThenCloses)
{
    const fs::path a = Jww("a.jww");
    WriteBytes(In("x.txt"), "JwwData.");
    form.FormShow({a, In("x.txt"), In("missing.JWW")});

    EXPECT_EQ(form.FileList(), std::vector<fs::path>{a});
    EXPECT_EQ(view.Skipped, (std::vector<fs::path>{In("x.txt"), In("missing.JWW")}));
    EXPECT_TRUE(fs::exists(temp / "desktop" / "a.dae"));
    EXPECT_EQ(view.StatusTexts, (std::vector<std::string>{ConvertingStatusText(1, 1, a), "変換完了(1)"}));
    EXPECT_EQ(view.CloseRequests, 1);
    EXPECT_TRUE(form.FormCloseQuery());
    form.FormClose();
    EXPECT_TRUE(fs::exists(settings));
}

TEST_F(Form1Test, CommandLineWithNothingAcceptableEndsWithoutABatch)
{
    form.FormShow({In("x.txt"), fs::path()});
    EXPECT_TRUE(view.StatusTexts.empty());
    EXPECT_EQ(view.ProgressShown, 0);
    EXPECT_EQ(view.CloseRequests, 1);
    EXPECT_EQ(view.Skipped, std::vector<fs::path>{In("x.txt")});  // the empty argument is passed over silently
}

TEST_F(Form1Test, StartWithoutArgumentsReadsSettingsAndWaitsForDrops)
{
    TControlsState saved;
    saved.Edit3 = "abc";
    SaveSettings(saved);
    form.FormShow({});

    EXPECT_EQ(view.CloseRequests, 0);
    EXPECT_TRUE(view.DropsAccepted);
    EXPECT_EQ(view.Controls.Edit3, "0");
    EXPECT_EQ(form.ExeFolder(), temp / "bin" / "");
    EXPECT_TRUE(form.Open());
    EXPECT_EQ(form.Options().CarriedBackground, TBackground::Dark);
}

TEST_F(Form1Test, FiveDroppedFilesCountFromOneToFiveAndFinish)
{
    form.FormShow({});
    std::vector<fs::path> drop;
    for (const char* name : {"1.jww", "2.JWW", "3.jws", "4.jwc", "5.JWK"}) drop.push_back(In(name));
    WriteJwwInput(drop[0]);
    WriteJwwInput(drop[1]);
    WriteJwsInput(drop[2]);
    WriteJwcInput(drop[3]);
    WriteJwkInput(drop[4]);
    form.AcceptDroppedFiles(drop);

    std::vector<std::string> expected = ConvertingTexts(drop);
    expected.push_back("変換完了(5)");
    EXPECT_EQ(view.StatusTexts, expected);
    EXPECT_EQ(view.StatusTexts[1], "変換中(2/5) " + (temp / "in" / "2.JWW").string());
    EXPECT_EQ(view.ProgressEntries, drop);
    EXPECT_EQ(form.Form2().ItemIndex(), 4);
    EXPECT_EQ(view.ProgressShown, 1);
    EXPECT_FALSE(view.ProgressVisible);
    for (const char* name : {"1.dae", "2.dae", "3.dae", "4.dae", "5.dae"}) {
        EXPECT_TRUE(fs::exists(temp / "desktop" / name)) << name;
    }
    ASSERT_EQ(view.Outcomes.size(), 5u);
    for (size_t i = 0; i < 5; ++i) EXPECT_TRUE(view.Outcomes[i].Clean()) << i;
    EXPECT_FALSE(form.Busy());
}

TEST_F(Form1Test, DropWithNothingAcceptableLeavesTheStatusAlone)
{
    form.FormShow({});
    fs::create_directories(In("folder.jww"));
    WriteBytes(In("notes.txt"), "x");
    form.AcceptDroppedFiles({In("folder.jww"), In("notes.txt"), fs::path()});
    EXPECT_TRUE(view.StatusTexts.empty());
    EXPECT_EQ(view.ProgressShown, 0);
}

TEST_F(Form1Test, EscapeHeldWhileTheSecondOfFiveConvertsStopsBeforeTheThird)
{
    form.FormShow({});
    std::vector<fs::path> drop;
    for (const char* name : {"1.jww", "2.jww", "3.jww", "4.jww", "5.jww"}) drop.push_back(Jww(name));
    view.OnEscapeTest = [&] { return view.Outcomes.size() >= 2; };
    form.AcceptDroppedFiles(drop);

    EXPECT_EQ(view.StatusTexts, (std::vector<std::string>{ConvertingStatusText(1, 5, drop[0]),
                                                          ConvertingStatusText(2, 5, drop[1]),
                                                          "変換を中断しました(ESC)"}));
    EXPECT_TRUE(fs::exists(temp / "desktop" / "2.dae"));  // the file in progress is finished
    EXPECT_FALSE(fs::exists(temp / "desktop" / "3.dae"));
    EXPECT_TRUE(form.CancelRequested());

    // The cancel does not carry into the next batch.
    view.OnEscapeTest = nullptr;
    form.AcceptDroppedFiles(drop);
    EXPECT_EQ(view.StatusTexts.back(), "変換完了(5)");
    EXPECT_TRUE(fs::exists(temp / "desktop" / "5.dae"));
}

TEST_F(Form1Test, CloseDuringABatchStopsItAfterTheCurrentFileAndASecondCloseEnds)
{
    form.FormShow({});
    std::vector<fs::path> drop;
    for (const char* name : {"1.jww", "2.jww", "3.jww"}) drop.push_back(Jww(name));
    bool refused = false;
    view.OnPumpBeforeFile = [&](int file) {
        if (file == 2) refused = !form.FormCloseQuery();
    };
    form.AcceptDroppedFiles(drop);

    EXPECT_TRUE(refused);
    EXPECT_TRUE(fs::exists(temp / "desktop" / "2.dae"));
    EXPECT_FALSE(fs::exists(temp / "desktop" / "3.dae"));
    EXPECT_EQ(view.StatusTexts.back(), "変換を中断しました(ESC)");
    EXPECT_FALSE(form.Busy());
    EXPECT_FALSE(fs::exists(settings));

    ASSERT_TRUE(form.FormCloseQuery());
    form.FormClose();
    const std::string text = ReadBytes(settings);
    size_t lines = 0;
    for (size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at + 2)) ++lines;
    EXPECT_EQ(lines, 31u);
    EXPECT_FALSE(form.Open());
}

TEST_F(Form1Test, ACloseThatSkipsTheQueryDuringABatchShutsDownWhenTheBatchEnds)
{
    form.FormShow({});
    const std::vector<fs::path> drop = {Jww("1.jww"), Jww("2.jww")};
    view.OnPumpBeforeFile = [&](int file) {
        if (file == 1) form.FormClose();
    };
    form.AcceptDroppedFiles(drop);

    EXPECT_TRUE(fs::exists(temp / "desktop" / "1.dae"));
    EXPECT_FALSE(fs::exists(temp / "desktop" / "2.dae"));
    EXPECT_FALSE(form.Open());
    EXPECT_TRUE(fs::exists(settings));
}

TEST_F(Form1Test, GivenFolderGetsASeparatorAndAMissingOneWritesBesideTheInput)
{
    fs::create_directories(temp / "out");
    TControlsState controls;
    controls.RadioButton1 = false;
    controls.RadioButton4 = true;
    controls.Edit1 = (temp / "out").string();  // no trailing separator
    ShowWith(controls);
    form.AcceptDroppedFiles({Jww("plan.jww")});
    EXPECT_TRUE(fs::exists(temp / "out" / "plan.dae"));
    EXPECT_EQ(view.Outcomes.at(0).Output, temp / "out" / "plan.dae");

    controls.Edit1 = (temp / "nowhere").string();
    view.Controls = controls;
    form.AcceptDroppedFiles({Jww("other.jww")});
    EXPECT_TRUE(fs::exists(In("other.dae")));
    EXPECT_EQ(view.MissingGivenFolders, std::vector<std::string>{controls.Edit1});
}

TEST_F(Form1Test, SourceFolderChoiceReplacesAnExistingDocumentBesideTheInput)
{
    ShowWith(SourceFolderControls());
    WriteBytes(In("plan.dae"), "old document");
    form.AcceptDroppedFiles({Jww("plan.JWW")});
    EXPECT_NE(ReadBytes(In("plan.dae")), "old document");
    EXPECT_TRUE(view.Outcomes.at(0).Written);
}

TEST_F(Form1Test, LastExtensionIsReplacedAndSpecialFoldersAreHonoured)
{
    TControlsState controls;
    controls.RadioButton1 = false;
    controls.RadioButton2 = true;
    ShowWith(controls);
    form.AcceptDroppedFiles({Jww("plan.old.JWW")});
    EXPECT_TRUE(fs::exists(temp / "documents" / "plan.old.dae"));

    // A platform without the folder: the document goes beside its input.
    view.Documents.clear();
    form.AcceptDroppedFiles({Jww("x.jww")});
    EXPECT_TRUE(fs::exists(In("x.dae")));
}

TEST_F(Form1Test, JwwAndJwcOfOneNameShareADocumentThatKeepsTheFirstCreationStamp)
{
    ShowWith(SourceFolderControls());
    WriteJwcInput(In("plan.JWC"));
    const std::string firstStamp = "2001-02-03T04:05:06Z";
    view.OnPumpAfterFile = [&](int file) {
        if (file != 1) return;
        // Make the first document's stamp tell apart from any time the second write takes.
        std::string text = ReadBytes(In("plan.dae"));
        const std::string stamp = CreatedStamp(In("plan.dae"));
        ASSERT_FALSE(stamp.empty());
        text.replace(text.find(stamp), stamp.size(), firstStamp);
        WriteBytes(In("plan.dae"), text);
    };
    form.AcceptDroppedFiles({Jww("plan.JWW"), In("plan.JWC")});

    ASSERT_EQ(view.Outcomes.size(), 2u);
    EXPECT_EQ(view.Outcomes[0].Output, view.Outcomes[1].Output);
    EXPECT_TRUE(view.Outcomes[1].Written);
    EXPECT_EQ(CreatedStamp(In("plan.dae")), firstStamp);
}

TEST(WriterMarker, AStoreWithAFigureGivesADocumentWithGeometry)
{
    // Guards the geometry check the driver tests below rely on.
    TTempFolder temp;
    TConversionContext context;
    context.Store.ResetPalette(context.Attributes);
    context.Store.AddLine(0, 1, 0, 0, 10, 10);
    WriteDocumentFile(context, temp / "a.dae");
    EXPECT_TRUE(HasGeometry(temp / "a.dae"));
}

TEST_F(Form1Test, BadSignatureAfterAFileWithGeometryGivesADocumentWithoutGeometry)
{
    ShowWith(SourceFolderControls());
    WriteBytes(In("bad.jww"), "JwwDat-not a drawing");
    form.AcceptDroppedFiles({Jww("good.jww"), In("bad.jww")});

    ASSERT_EQ(view.Outcomes.size(), 2u);
    EXPECT_FALSE(view.Outcomes[1].SignatureMatched);
    EXPECT_TRUE(view.Outcomes[1].Written);
    EXPECT_FALSE(HasGeometry(In("bad.dae")));
    EXPECT_EQ(view.StatusTexts.back(), "変換完了(2)");
}

TEST_F(Form1Test, DropDuringABatchRunsAfterItWithoutTouchingItsList)
{
    form.FormShow({});
    const std::vector<fs::path> first = {Jww("a.jww"), Jww("b.jww")};
    const fs::path later = Jww("c.jww");
    view.OnPumpBeforeFile = [&](int file) {
        if (form.FileList() == first && file == 1) {
            form.AcceptDroppedFiles({later, In("missing.jww")});
            EXPECT_EQ(form.FileList(), first);
        }
    };
    form.AcceptDroppedFiles(first);

    EXPECT_EQ(view.StatusTexts,
              (std::vector<std::string>{ConvertingStatusText(1, 2, first[0]), ConvertingStatusText(2, 2, first[1]),
                                        "変換完了(2)", ConvertingStatusText(1, 1, later), "変換完了(1)"}));
    EXPECT_TRUE(fs::exists(temp / "desktop" / "c.dae"));
    EXPECT_TRUE(form.QueuedDrops().empty());
}

TEST_F(Form1Test, DropDuringAStoppedBatchIsDiscarded)
{
    form.FormShow({});
    const std::vector<fs::path> first = {Jww("a.jww"), Jww("b.jww")};
    bool dropped = false;
    view.OnPumpBeforeFile = [&](int) {
        if (!dropped) form.AcceptDroppedFiles({Jww("c.jww")});
        dropped = true;
    };
    int escapeTests = 0;
    view.OnEscapeTest = [&] { return ++escapeTests == 2; };  // down at the top of the second file only
    form.AcceptDroppedFiles(first);

    EXPECT_EQ(view.StatusTexts.back(), "変換を中断しました(ESC)");
    EXPECT_FALSE(fs::exists(temp / "desktop" / "c.dae"));
    EXPECT_TRUE(form.QueuedDrops().empty());
}

TEST_F(Form1Test, BatchUsesAndShowsAndSavesClampedValues)
{
    TControlsState saved;
    saved.Edit2 = "0";
    saved.Edit3 = "5000";
    saved.Edit5 = "1";
    saved.ComboBox1ItemIndex = 3;
    saved.CheckBox6 = true;
    saved.RadioButton1 = false;
    saved.RadioButton3 = true;
    SaveSettings(saved);
    form.FormShow({Jww("plan.jww")});

    EXPECT_TRUE(fs::exists(In("plan.dae")));
    EXPECT_EQ(form.Options().ArcDivisions, 3600);
    EXPECT_EQ(form.Options().CoordinateScale, 1000.0);
    EXPECT_TRUE(form.Options().Include.Solids);

    form.FormClose();
    TControlsState reread;
    ReadSettings(settings, reread);
    TControlsState expected = saved;
    expected.Edit2 = "1";
    expected.Edit3 = "3600";
    expected.Edit5 = "3";
    EXPECT_EQ(view.Controls, expected);  // shown
    EXPECT_EQ(reread, expected);         // and saved
}

TEST_F(Form1Test, BrowsingStartsInTheExecutablesFolderAndTakesTheChosenFolder)
{
    form.FormShow({});
    form.BrowseFolder();  // cancelled
    EXPECT_EQ(view.BrowseStartedIn, temp / "bin" / "");
    EXPECT_EQ(view.Controls.Edit1, "");

    view.BrowseAnswer = temp / "documents" / "\xE3\x80\x80";  // the preset full-width space
    form.BrowseFolder();
    EXPECT_EQ(view.Controls.Edit1, (temp / "documents" / "").string());
    EXPECT_FALSE(view.Controls.RadioButton4);  // choosing a folder does not select it

    form.BrowseFolder();
    EXPECT_EQ(view.BrowseStartedIn, temp / "documents" / "");
}

}  // namespace
