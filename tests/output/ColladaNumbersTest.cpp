#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <string>

#include "output/ColladaNumbers.h"

namespace {

std::string Fixed9(long double value)
{
    std::string text(kFixed9MaxChars, '\0');
    text.resize(static_cast<std::size_t>(FormatFixed9(value, text.data()) - text.data()));
    return text;
}

std::string Reference(long double value)
{
    std::string text(kFixed9MaxChars, '\0');
    auto result = std::to_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed, 9);
    text.resize(static_cast<std::size_t>(result.ptr - text.data()));
    return text;
}

}  // namespace

TEST(FormatFixed9, WritesNineDecimalsLikePrintf)
{
    EXPECT_EQ(Fixed9(0.0L), "0.000000000");
    EXPECT_EQ(Fixed9(1.0L), "1.000000000");
    EXPECT_EQ(Fixed9(1000.0L), "1000.000000000");
    EXPECT_EQ(Fixed9(-5.9489164094L), "-5.948916409");
    EXPECT_EQ(Fixed9(0.0000000015L), "0.000000002");
    EXPECT_EQ(Fixed9(0.9999999996L), "1.000000000");  // the carry reaches the integer part
    EXPECT_EQ(Fixed9(-99.99999999951L), "-100.000000000");
}

TEST(FormatFixed9, NegativeValuesThatRoundToZeroKeepTheirSign)
{
    EXPECT_EQ(Fixed9(-0.0L), "-0.000000000");
    EXPECT_EQ(Fixed9(-1e-12L), "-0.000000000");
    EXPECT_EQ(Fixed9(-std::numeric_limits<long double>::denorm_min()), "-0.000000000");
    EXPECT_EQ(Fixed9(std::numeric_limits<long double>::denorm_min()), "0.000000000");
}

TEST(FormatFixed9, ExactHalvesRoundToEven)
{
    // 1/1024 = 0.0009765625 and 3/1024 = 0.0029296875 are exact binary values with a tenth
    // decimal of 5.
    EXPECT_EQ(Fixed9(1.0L / 1024), "0.000976562");
    EXPECT_EQ(Fixed9(3.0L / 1024), "0.002929688");
    EXPECT_EQ(Fixed9(-1.0L / 1024), "-0.000976562");
    EXPECT_EQ(Fixed9(0.5L / 1e9L), Reference(0.5L / 1e9L));
}

TEST(FormatFixed9, LargeAndNonFiniteValues)
{
    EXPECT_EQ(Fixed9(9223372036854775807.0L), Reference(9223372036854775807.0L));
    EXPECT_EQ(Fixed9(9223372036854775808.0L), "9223372036854775808.000000000");
    EXPECT_EQ(Fixed9(-1e300L), Reference(-1e300L));
    EXPECT_EQ(Fixed9(std::numeric_limits<long double>::max()), Reference(std::numeric_limits<long double>::max()));
    EXPECT_EQ(Fixed9(std::numeric_limits<long double>::quiet_NaN()), "NaN");
    EXPECT_EQ(Fixed9(std::numeric_limits<long double>::infinity()), "INF");
    EXPECT_EQ(Fixed9(-std::numeric_limits<long double>::infinity()), "-INF");
}

TEST(FormatFixed9, AgreesWithToCharsOverManyScaledCoordinates)
{
    std::mt19937_64 random(12345);
    std::uniform_real_distribution<double> coordinate(-1e6, 1e6);
    std::uniform_int_distribution<int> exponent(-40, 40);
    const long double scales[] = {0.001L, static_cast<double>(0.001L * 10), static_cast<double>(0.001L * 100), 1.0L};
    for (int i = 0; i < 200000; ++i) {
        const long double value = static_cast<long double>(coordinate(random)) * scales[i % 4];
        ASSERT_EQ(Fixed9(value), Reference(value)) << static_cast<double>(value);
        const long double wide = std::ldexp(static_cast<long double>(coordinate(random)), exponent(random));
        ASSERT_EQ(Fixed9(wide), Reference(wide)) << static_cast<double>(wide);
    }
}

TEST(ColorChannelText, IsTheQuotientCutToThousandthsWith153GivingPoint599)
{
    EXPECT_EQ(ColorChannelText(0), "0");
    EXPECT_EQ(ColorChannelText(1), "0.003");
    EXPECT_EQ(ColorChannelText(13), "0.05");
    EXPECT_EQ(ColorChannelText(128), "0.501");
    EXPECT_EQ(ColorChannelText(153), "0.599");
    EXPECT_EQ(ColorChannelText(255), "1");
    for (unsigned c = 0; c < 256; ++c) {
        if (c == 153) continue;
        const unsigned k = c * 1000 / 255;  // exact quotient, cut
        std::string expected = k == 1000 ? "1" : k == 0 ? "0" : std::to_string(1000 + k).substr(1);
        if (k > 0 && k < 1000) {
            while (expected.back() == '0') expected.pop_back();
            expected = "0." + expected;
        }
        EXPECT_EQ(ColorChannelText(c), expected) << c;
    }
}

// Encodings the x87 format allows but arithmetic never makes: read from their bits, they
// print as the x87's own comparisons classify them (unnormals and pseudo-infinities as NaN).
TEST(FormatFixed9, OddX87EncodingsPrintAsTheHardwareSeesThem)
{
    if (std::numeric_limits<long double>::digits != 64) GTEST_SKIP() << "no x87 long double";
    const struct {
        uint64_t significand;
        uint16_t signAndExponent;
        const char* text;
    } cases[] = {{0x4000000000000000ull, 0x3FFF, "NaN"}, {0, 0x3FFF, "NaN"},  {0, 0x7FFF, "NaN"},
                 {0x8000000000000001ull, 0, "0.000000000"},                     {0, 0x8000, "-0.000000000"}};
    for (const auto& c : cases) {
        long double value = 0;
        std::memcpy(&value, &c.significand, 8);
        std::memcpy(reinterpret_cast<char*>(&value) + 8, &c.signAndExponent, 2);
        EXPECT_EQ(Fixed9(value), c.text) << std::hex << c.signAndExponent << ' ' << c.significand;
    }
}

// The product worked out with integers prints as the x87 product does: scaled coordinates,
// products that fall exactly halfway between two 64-bit significands (a factor with only 12
// significant bits makes half of them ties), zeros of both signs, subnormals, huge and
// non-finite values.
TEST(FormatScaledFixed9, PrintsTheExtendedProductOfTwoDoubles)
{
    std::mt19937_64 random(99);
    std::uniform_real_distribution<double> unit(-1, 1);
    std::uniform_int_distribution<int> exponent(-60, 70);
    const auto check = [](double a, double b) {
        std::string text(kFixed9MaxChars, '\0');
        text.resize(static_cast<std::size_t>(FormatScaledFixed9(a, b, text.data()) - text.data()));
        ASSERT_EQ(text, Fixed9(static_cast<long double>(a) * static_cast<long double>(b))) << a << " * " << b;
    };
    for (int i = 0; i < 300000; ++i) {
        const double a = std::ldexp(unit(random), exponent(random));
        const double sparse = std::ldexp(static_cast<double>((random() % 4096) | 1), exponent(random) / 4 - 11);
        for (double b : {0.001, 0.01, 0.1, 1.0, sparse, std::ldexp(unit(random), exponent(random) / 4)}) check(a, b);
    }
    const double odd[] = {0.0, -0.0, 5e-324, -1e-310, 1e300, -1e19, INFINITY, -INFINITY, NAN};
    for (double a : odd)
        for (double b : odd) check(a, b);
}
