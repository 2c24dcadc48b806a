#include "coord/number_text.h"

#include <cmath>
#include <limits>
#include <string>

#include <gtest/gtest.h>

namespace sw {
namespace {

constexpr double inf = std::numeric_limits<double>::infinity();
constexpr double nan = std::numeric_limits<double>::quiet_NaN();

TEST(LeadingNumber, ReadsTheLongestLeadingDecimalNumber) {
    struct Case {
        const char* text;
        double value;
    };
    const Case cases[] = {
        {"12a", 12}, {"1.5", 1.5},      {"", 0},          {"abc", 0},  {"  7", 7},
        {"\t8", 8},  {"-3.25x", -3.25}, {"+4", 4},        {".5", 0.5}, {"-.5", -0.5},
        {"5.", 5},   {"1.2.3", 1.2},    {"-", 0},         {".", 0},    {"-.", 0},
        {"1e5", 1},  {"007", 7},        {"1,5", 1},       {"- 5", 0},  {"0.0025", 0.0025},
        {"90", 90},  {"180.0", 180},    {"0.25.5", 0.25}, {"%12", 0},  {"12 34", 12},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(leadingNumber(c.text), c.value) << '"' << c.text << '"';
    }
    // A digit run too long for a double saturates instead of failing.
    EXPECT_EQ(leadingNumber(std::string(400, '9')), inf);
    EXPECT_EQ(leadingNumber("-" + std::string(400, '9')), -inf);
    EXPECT_EQ(leadingNumber("0." + std::string(400, '0') + "1"), 0.0);
}

TEST(Rounding, WholeNumbersGoToTheEvenNeighbourOnTies) {
    struct Case {
        double in;
        double out;
    };
    const Case cases[] = {{4.5, 4},    {5.5, 6},       {-2.5, -2},
                          {-3.5, -4},  {0.5, 0},       {1.5, 2},
                          {2.4999, 2}, {2.5001, 3},    {-0.4, 0},
                          {7, 7},      {1e300, 1e300}, {4503599627370495.5, 4503599627370496}};
    for (const Case& c : cases) {
        EXPECT_EQ(roundTiesToEven(c.in), c.out) << c.in;
    }
    EXPECT_TRUE(std::isnan(roundTiesToEven(nan)));

    EXPECT_EQ(wholeTiesToEven16(40000), 32767);
    EXPECT_EQ(wholeTiesToEven16(-40000), -32768);
    EXPECT_EQ(wholeTiesToEven16(inf), 32767);
    EXPECT_EQ(wholeTiesToEven16(nan), 0);
    EXPECT_EQ(wholeTiesToEven16(89.5), 90);
}

TEST(Rounding, DecimalsRoundHalfAwayFromZeroOnTheVisibleDigits) {
    struct Case {
        double in;
        int decimals;
        double out;
    };
    const Case cases[] = {
        {2.675, 2, 2.68},           {-2.675, 2, -2.68}, {1.005, 2, 1.01},
        {0.125, 2, 0.13},           {-0.125, 2, -0.13}, {67536.7, 2, 67536.7},
        {665880.425, 2, 665880.43}, {0.004, 2, 0},      {999.995, 2, 1000},
        {-999.995, 2, -1000},       {12.5, 0, 13},      {-12.5, 0, -13},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(roundHalfAwayFromZero(c.in, c.decimals), c.out) << c.in;
    }
    // A negative value that rounds to zero must not come back as -0 (it would print as "-0").
    EXPECT_FALSE(std::signbit(roundHalfAwayFromZero(-0.001, 2)));
}

TEST(DigitPattern, PadsRoundsAndSigns) {
    struct Case {
        double value;
        const char* pattern;
        const char* text;
    };
    const Case cases[] = {
        {30.25, "00.0000", "30.2500"},
        {30.25, "00.000000000000", "30.250000000000"},
        {-84.5, "000.0000", "-084.5000"},
        {-84.5, "00.000000000000", "-84.500000000000"},
        {30.258333333333333, "00.0000", "30.2583"},
        {-84.51013888888889, "00.000000000000", "-84.510138888889"},
        {5, "000.0000", "005.0000"},
        {0, "000.0000", "000.0000"},
        {-0.0, "000.0000", "000.0000"},
        {-0.00001, "000.0000", "000.0000"},
        {-0.00005, "000.0000", "-000.0001"},
        {9.99995, "00.0000", "10.0000"},
        {99.99996, "00.0000", "100.0000"},
        {1234.5, "00.0000", "1234.5000"},
        {740550.415, "000000.00", "740550.42"},
        {5.5, "000000.00", "000005.50"},
        {3349132.77, "000000.00", "3349132.77"},
        {2.675, "0.00", "2.68"},
        {0.5, "0", "1"},
        {-0.5, "0", "-1"},
        {42, "00", "42"},
        {1e-20, "00.0000", "00.0000"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(formatDigitPattern(c.value, c.pattern), c.text)
            << c.value << " with " << c.pattern;
    }
    EXPECT_EQ(formatDigitPattern(nan, "00.0000"), "NaN");
    EXPECT_EQ(formatDigitPattern(-inf, "00.0000"), "-Inf");
}

TEST(ShortestText, IsPlainAndExact) {
    struct Case {
        double value;
        const char* text;
    };
    const Case cases[] = {
        {400000, "400000"},
        {665880.43, "665880.43"},
        {67536.7, "67536.7"},
        {0, "0"},
        {-0.0, "0"},
        {-4737175.5, "-4737175.5"},
        {0.1, "0.1"},
        {1e21, "1000000000000000000000"},
        {0.000001, "0.000001"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(shortestText(c.value), c.text);
    }
}

TEST(RecordNumberText, FifteenSignificantDigitsWithoutExponent) {
    struct Case {
        double value;
        const char* text;
    };
    const Case cases[] = {
        {-84.1234, "-84.1234"},
        {512345.67, "512345.67"},
        {0, "0"},
        {-0.0, "0"},
        {30.25, "30.25"},
        {0.1 + 0.2, "0.3"},
        {1.0 / 3.0, "0.333333333333333"},
        {0.000001, "0.000001"},
        {1.5e-10, "0.00000000015"},
        {1e20, "100000000000000000000"},
        {123456789012345678.0, "123456789012346000"},
        {-9999999999999999.0, "-10000000000000000"},
        {3349132.77, "3349132.77"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(recordNumberText(c.value), c.text);
    }
    EXPECT_EQ(recordNumberText(nan), "NaN");
    EXPECT_EQ(recordNumberText(inf), "Inf");
}

} // namespace
} // namespace sw
