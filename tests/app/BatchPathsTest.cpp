#include <gtest/gtest.h>

#include "AppTestSupport.h"
#include "app/BatchPaths.h"
#include "app/StatusTexts.h"

namespace {

namespace fs = std::filesystem;

TEST(BatchPaths, FormatComesFromTheLastDotOfTheFileNameInAnyCase)
{
    EXPECT_EQ(InputFormatOf("a.jww"), TInputFormat::Jww);
    EXPECT_EQ(InputFormatOf("dir/B.JwS"), TInputFormat::Jws);
    EXPECT_EQ(InputFormatOf("plan.old.JWC"), TInputFormat::Jwc);
    EXPECT_EQ(InputFormatOf("s.jWk"), TInputFormat::Jwk);
    EXPECT_EQ(InputFormatOf(".jww"), TInputFormat::Jww);
    EXPECT_EQ(InputFormatOf("plan.jww.txt"), TInputFormat::None);
    EXPECT_EQ(InputFormatOf("folder.jww/plan"), TInputFormat::None);
    EXPECT_EQ(InputFormatOf("plan.jwwx"), TInputFormat::None);
    EXPECT_EQ(InputFormatOf("jww"), TInputFormat::None);
}

TEST(BatchPaths, IntakeTakesOnlyExistingRegularFiles)
{
    apptest::TTempFolder temp;
    apptest::WriteJwwInput(temp / "a.jww");
    fs::create_directories(temp / "d.jww");
    EXPECT_EQ(CheckIntake(temp / "a.jww"), TIntake::Accepted);
    EXPECT_EQ(CheckIntake(temp / "d.jww"), TIntake::Missing);
    EXPECT_EQ(CheckIntake(temp / "none.jww"), TIntake::Missing);
    EXPECT_EQ(CheckIntake(temp / "a.txt"), TIntake::WrongExtension);
    EXPECT_EQ(CheckIntake(fs::path()), TIntake::Empty);
}

TEST(BatchPaths, OutputNameReplacesTheLastExtensionInTheGivenFolder)
{
    EXPECT_EQ(OutputPathFor("/out/", "/in/plan.old.JWW"), fs::path("/out/plan.old.dae"));
    EXPECT_EQ(OutputPathFor(FolderOf("/in/plan.jww"), "/in/plan.jww"), fs::path("/in/plan.dae"));
    EXPECT_EQ(OutputPathFor(FolderOf("plan.jww"), "plan.jww"), fs::path("plan.dae"));
    EXPECT_EQ(FolderOf("/in/plan.jww"), fs::path("/in/"));
    EXPECT_EQ(WithTrailingSeparator("/out"), fs::path("/out/"));
    EXPECT_EQ(WithTrailingSeparator("/out/"), fs::path("/out/"));
}

TEST(StatusTexts, TextsReadAsTheWindowShowsThem)
{
    EXPECT_EQ(ConvertingStatusText(2, 5, "/a/b.JWW"), "変換中(2/5) /a/b.JWW");
    EXPECT_EQ(ConvertingStatusText(10, 12, "x.jww"), "変換中(10/12) x.jww");
    EXPECT_EQ(FinishedStatusText(5), "変換完了(5)");
    EXPECT_EQ(kStoppedStatusText, "変換を中断しました(ESC)");
}

}  // namespace
