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
