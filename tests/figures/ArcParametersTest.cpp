#include <gtest/gtest.h>

#include <cmath>

#include "figures/ArcParameters.h"

// A walk asked for again gets a table of the library's own cosines and sines of its parameters;
// walks asked for once in between never push that table out; a walk of more than kMaxTabled
// divisions never gets one. The walks are this test's own (no other asks for them); it runs
// on the test's own thread, whose long double precision is the program's.
TEST(ArcAngleTables, ARepeatedWalkKeepsItsTableOfTheLibrarysValues)
{
    const double start = 0.2513, sweep = -4.4871;
    const int32_t n = 13;
    const long double* table = nullptr;
    for (int asked = 0; asked < 16 && !table; ++asked) table = TArcAngleTables::Find(start, sweep, n);
    ASSERT_NE(table, nullptr);
    WalkArcParameters(n, n, start, sweep, [&](int32_t k, double t) {
        EXPECT_EQ(table[2 * k], std::cos(static_cast<long double>(t))) << k;
        EXPECT_EQ(table[2 * k + 1], std::sin(static_cast<long double>(t))) << k;
    });
    for (int once = 0; once < 1000; ++once) EXPECT_EQ(TArcAngleTables::Find(0.0013 * once, 1.0371, n), nullptr);
    EXPECT_NE(TArcAngleTables::Find(start, sweep, n), nullptr);
    for (int asked = 0; asked < 32; ++asked)
        EXPECT_EQ(TArcAngleTables::Find(start, sweep, TArcAngleTables::kMaxTabled + 1), nullptr);
}
