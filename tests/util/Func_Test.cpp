#include <gtest/gtest.h>

#include "util/Func_.h"

TEST(StrToFlag, AcceptsEveryLeadingPartOfTrueAndTheYesMarks)
{
    EXPECT_TRUE(StrToFlag(" t "));
    EXPECT_TRUE(StrToFlag("Tr"));
    EXPECT_TRUE(StrToFlag("on"));
    EXPECT_TRUE(StrToFlag("\x82\x50"));                          // full-width one
    EXPECT_TRUE(StrToFlag("T\x81\x40R\x81\x40U\x81\x40" "E"));    // full-width spaces go first
    EXPECT_FALSE(StrToFlag("yes"));
    EXPECT_FALSE(StrToFlag("2"));
    EXPECT_FALSE(StrToFlag("OFF"));
    EXPECT_FALSE(StrToFlag(""));
}

TEST(StrToFlag, AcceptsTheJapaneseYesMarks)
{
    EXPECT_TRUE(StrToFlag("\x81\x9B"));  // circle
    EXPECT_TRUE(StrToFlag("\x90\x5E"));  // "true"
    EXPECT_TRUE(StrToFlag("\x90\xB3"));  // "correct"
    EXPECT_FALSE(StrToFlag("F"));
    EXPECT_FALSE(StrToFlag("0"));
    EXPECT_FALSE(StrToFlag("TRUEE"));
    EXPECT_EQ(FlagToStr(true), "1");
    EXPECT_EQ(FlagToStr(false), "0");
}

TEST(StrToIntDef0, ParsesTheWholeTextOrGivesZero)
{
    EXPECT_EQ(StrToIntDef0(" 12"), 12);
    EXPECT_EQ(StrToIntDef0("12 "), 0);
    EXPECT_EQ(StrToIntDef0("+12"), 12);
    EXPECT_EQ(StrToIntDef0("-12"), -12);
    EXPECT_EQ(StrToIntDef0("$FF"), 255);
    EXPECT_EQ(StrToIntDef0("0x1f"), 31);
    EXPECT_EQ(StrToIntDef0("X10"), 16);
    EXPECT_EQ(StrToIntDef0("-$10"), -16);
    EXPECT_EQ(StrToIntDef0("3.5"), 0);
    EXPECT_EQ(StrToIntDef0("99999999999"), 0);
    EXPECT_EQ(StrToIntDef0("2147483647"), 2147483647);
    EXPECT_EQ(StrToIntDef0("-2147483648"), INT32_MIN);
    EXPECT_EQ(StrToIntDef0("2147483648"), 0);
    EXPECT_EQ(StrToIntDef0(""), 0);
    EXPECT_EQ(StrToIntDef0("-"), 0);
    EXPECT_EQ(StrToIntDef0("$"), 0);
    EXPECT_EQ(StrToIntDef0("12a"), 0);
}

TEST(StrToFloatDef0, ParsesTheWholeTextWithAFullStopOnly)
{
    EXPECT_EQ(StrToFloatDef0(".5"), 0.5L);
    EXPECT_EQ(StrToFloatDef0("1e3"), 1000.0L);
    EXPECT_EQ(StrToFloatDef0(" -2.5E-1"), -0.25L);
    EXPECT_EQ(StrToFloatDef0("+12"), 12.0L);
    EXPECT_EQ(StrToFloatDef0("5."), 5.0L);
    EXPECT_EQ(StrToFloatDef0("1,5"), 0.0L);
    EXPECT_EQ(StrToFloatDef0("1.5 "), 0.0L);
    EXPECT_EQ(StrToFloatDef0("."), 0.0L);
    EXPECT_EQ(StrToFloatDef0("1e"), 0.0L);
    EXPECT_EQ(StrToFloatDef0("inf"), 0.0L);
    EXPECT_EQ(StrToFloatDef0("nan"), 0.0L);
    EXPECT_EQ(StrToFloatDef0("1e99999"), 0.0L);
    EXPECT_EQ(StrToFloatDef0(""), 0.0L);
    EXPECT_EQ(StrToSingleDef0("0.1"), 0.1f);
    EXPECT_EQ(StrToSingleDef0("1e39"), 0.0f);  // beyond single precision
}

TEST(FloatToText, UsesFifteenDigitsAndExponentsOnlyOutsideThePlainRange)
{
    EXPECT_EQ(FloatToText(10.0), "10");
    EXPECT_EQ(FloatToText(0.5), "0.5");
    EXPECT_EQ(FloatToText(0.0001), "0.0001");
    EXPECT_EQ(FloatToText(0.00001), "1E-5");
    EXPECT_EQ(FloatToText(1e20), "1E20");
    EXPECT_EQ(FloatToText(-2.5e-7), "-2.5E-7");
    EXPECT_EQ(FloatToText(123456789012345.0), "123456789012345");
    EXPECT_EQ(FloatToText(1e15), "1E15");
    EXPECT_EQ(FloatToText(0.1 + 0.2), "0.3");
    EXPECT_EQ(FloatToText(-0.0), "0");
}

TEST(StripBlanks, DropsBlanksControlsAndFullWidthSpacesOnly)
{
    EXPECT_EQ(StripBlanks(" a\tb\x81\x40" "c "), "abc");
    EXPECT_EQ(StripBlanks("\x82\xA0\x81\x41"), "\x82\xA0\x81\x41");
    EXPECT_EQ(StripBlanks("\x82\x20"), "\x82\x20");  // the blank is a trail byte here
    EXPECT_EQ(StripBlanks("a\x82"), "a\x82");        // a dangling lead byte is kept
    EXPECT_EQ(StripBlanks("\x7F\xA1"), "\x7F\xA1");  // DEL and a single-byte katakana
}

TEST(StripControls, KeepsCharactersWholeAndDropsADanglingLeadByte)
{
    EXPECT_EQ(StripControls("A\tB"), "AB");
    EXPECT_EQ(StripControls("ab\x82"), "ab");
    EXPECT_EQ(StripControls("\x82\x0A" "c"), "\x82\x0A" "c");  // any trail byte stays
    EXPECT_EQ(StripControls(" \x7F\xB1"), " \x7F\xB1");
}

TEST(IsLeadByte, CoversBothShiftJisRanges)
{
    EXPECT_FALSE(IsLeadByte(0x7F));
    EXPECT_TRUE(IsLeadByte(0x80));
    EXPECT_TRUE(IsLeadByte(0x9F));
    EXPECT_FALSE(IsLeadByte(0xA0));
    EXPECT_FALSE(IsLeadByte(0xDF));
    EXPECT_TRUE(IsLeadByte(0xE0));
    EXPECT_TRUE(IsLeadByte(0xFD));
    EXPECT_FALSE(IsLeadByte(0xFE));
}
