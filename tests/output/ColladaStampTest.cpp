#include <gtest/gtest.h>

#include <chrono>
#include <regex>

#include "output/ColladaStamp.h"
#include "support/Conversion.h"
#include "support/TempDir.h"

namespace {

std::vector<std::string> RewriteOver(const TTempDir& dir, std::string_view previous)
{
    const auto path = dir / "drawing.dae";
    WriteFileBytes(path, previous);
    TConversionContext context;
    context.Store.ResetPalette(context.Attributes);
    WriteDocumentFile(context, path);
    return ReadCrLfLines(path);
}

const std::regex kCreatedNow(R"(  <created>\d{4}-\d{2}-\d{2}T\d{2}:\d{2}:\d{2}Z</created>)");

}  // namespace

TEST(ColladaStamp, UtcStampHasTwoDigitFieldsAndTheZSuffix)
{
    using namespace std::chrono;
    EXPECT_EQ(FormatUtcStamp(system_clock::time_point{}), "1970-01-01T00:00:00Z");
    const auto when = sys_days{year{2024} / May / 1} + hours{9} + minutes{30} + seconds{7} + milliseconds{999};
    EXPECT_EQ(FormatUtcStamp(when), "2024-05-01T09:30:07Z");
    EXPECT_EQ(FormatUtcStamp(sys_days{year{2031} / December / 31} + hours{23} + minutes{59} + seconds{59}),
              "2031-12-31T23:59:59Z");
}

// The tag in any letter case, alone on its line (the next line then holds the stamp, leading
// blanks and all), only the first tag counting; the stamp is kept as written.
TEST(ColladaStamp, RewritingKeepsTheCreationStampOfThePreviousDocument)
{
    TTempDir dir;
    const std::pair<std::string_view, std::string_view> cases[] = {
        {"<?xml version=\"1.0\"?>\r\n<asset>\r\n  <created>2019-03-04T05:06:07Z</created>\r\n"
         "  <modified>2020-01-01T00:00:00Z</modified>\r\n",
         "2019-03-04T05:06:07Z"},
        {"x\n\t<CREATED> 2001-02-03t04:05:06z </Created>\n", "2001-02-03t04:05:06z"},
        {"<asset>\r\n  <created>\r\n    2018-07-08T09:10:11Z</created>\r\n", "    2018-07-08T09:10:11Z"},
        {"<created>A</created>\n<created>B</created>\n", "A"},
    };
    for (const auto& [previous, stamp] : cases) {
        const auto lines = RewriteOver(dir, previous);
        ASSERT_GT(lines.size(), 9u);
        EXPECT_EQ(lines[8], "  <created>" + std::string(stamp) + "</created>");
        EXPECT_NE(lines[9], "  <modified>2020-01-01T00:00:00Z</modified>");
    }
}

TEST(ColladaStamp, FileWithoutTheTagGetsTheCurrentTime)
{
    TTempDir dir;
    const auto lines = RewriteOver(dir, "<asset>\r\n  <modified>2019-03-04T05:06:07Z</modified>\r\n");
    ASSERT_GT(lines.size(), 9u);
    EXPECT_TRUE(std::regex_match(lines[8], kCreatedNow)) << lines[8];
    EXPECT_EQ(lines[8].substr(11, 20), lines[9].substr(12, 20));
}

TEST(ColladaStamp, StampThatWouldBreakTheDocumentIsReplacedByTheCurrentTime)
{
    TTempDir dir;
    for (std::string_view bad : {"<created>AT&T</created>\n", "<created>\n\x01\x02\n",
                                 "<created>\x82\xa0</created>\n", "<created>x]]>y\n"}) {
        const auto lines = RewriteOver(dir, bad);
        ASSERT_GT(lines.size(), 8u);
        EXPECT_TRUE(std::regex_match(lines[8], kCreatedNow)) << lines[8];
    }
}

TEST(ColladaStamp, ReadingStopsAtEndOfLineInEveryConvention)
{
    TTempDir dir;
    const auto path = dir / "old.dae";
    WriteFileBytes(path, "a\rb\r\n<created>\rX<\n");
    EXPECT_EQ(ReadCreationStamp(path), std::optional<std::string>("X"));
    WriteFileBytes(path, "<created>\n");  // no next line: the stamp is empty
    EXPECT_EQ(ReadCreationStamp(path), std::optional<std::string>(""));
    WriteFileBytes(path, "nothing here\n");
    EXPECT_EQ(ReadCreationStamp(path), std::nullopt);
    EXPECT_EQ(ReadCreationStamp(dir / "absent.dae"), std::nullopt);
    EXPECT_EQ(ReadCreationStamp(dir.Path()), std::nullopt);  // a folder cannot be read
}

TEST(ColladaStamp, StampAfterAFullWidthBlankKeepsOtherDoubleByteCharacters)
{
    TTempDir dir;
    const auto path = dir / "old.dae";
    WriteFileBytes(path, "<created>\x81\x40" "2020\x82\xa0</created>\n");
    EXPECT_EQ(ReadCreationStamp(path), std::optional<std::string>("2020\x82\xa0"));
}
