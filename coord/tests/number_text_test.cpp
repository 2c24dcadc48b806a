#include "coord/number_text.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <random>
#include <string>

#include <gtest/gtest.h>

namespace sw {
namespace {

constexpr double inf = std::numeric_limits<double>::infinity();
constexpr double nan = std::numeric_limits<double>::quiet_NaN();

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
    const Case cases[] = {{2.675, 2, 2.68},           {-2.675, 2, -2.68}, {1.005, 2, 1.01},
                          {0.125, 2, 0.13},           {-0.125, 2, -0.13}, {67536.7, 2, 67536.7},
                          {665880.425, 2, 665880.43}, {0.004, 2, 0},      {999.995, 2, 1000},
                          {-999.995, 2, -1000},       {12.5, 0, 13},      {-12.5, 0, -13}};
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
    const Case cases[] = {{30.25, "00.0000", "30.2500"},
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
                          {0.5, "0", "1"},
                          {-0.5, "0", "-1"},
                          {1e-20, "00.0000", "00.0000"}};
    for (const Case& c : cases) {
        EXPECT_EQ(formatDigitPattern(c.value, c.pattern), c.text)
            << c.value << " with " << c.pattern;
    }
    EXPECT_EQ(formatDigitPattern(nan, "00.0000"), "NaN");
    EXPECT_EQ(formatDigitPattern(-inf, "00.0000"), "-Inf");
}

// Half-away-from-zero rounding done on the 15-digit decimal text, digit by digit: a reference
// that shares no arithmetic with the formatter.
std::string referencePattern(double value, int wholeZeros, int decimals) {
    std::string text = recordNumberText(value);
    const bool negative = text.front() == '-';
    if (negative) {
        text.erase(0, 1);
    }
    const auto dot = text.find('.');
    std::string whole = dot == std::string::npos ? text : text.substr(0, dot);
    std::string fraction = dot == std::string::npos ? "" : text.substr(dot + 1);
    fraction.resize(static_cast<std::size_t>(decimals) + 1, '0');
    const bool up = fraction.back() >= '5';
    fraction.pop_back();
    std::string digits = whole + fraction;
    if (up) {
        int i = static_cast<int>(digits.size()) - 1;
        for (; i >= 0 && digits[static_cast<std::size_t>(i)] == '9'; --i) {
            digits[static_cast<std::size_t>(i)] = '0';
        }
        if (i < 0) {
            digits.insert(0, "1");
        } else {
            ++digits[static_cast<std::size_t>(i)];
        }
    }
    whole = digits.substr(0, digits.size() - static_cast<std::size_t>(decimals));
    fraction = digits.substr(digits.size() - static_cast<std::size_t>(decimals));
    whole.erase(0, std::min(whole.find_first_not_of('0'), whole.size()));
    if (static_cast<int>(whole.size()) < wholeZeros) {
        whole.insert(0, static_cast<std::size_t>(wholeZeros) - whole.size(), '0');
    }
    const bool zero = digits.find_first_not_of('0') == std::string::npos;
    return (negative && !zero ? "-" : "") + whole + (decimals > 0 ? "." + fraction : "");
}

TEST(DigitPattern, AgreesWithDecimalRoundingOnRandomValuesAndNearTies) {
    std::mt19937_64 rng(7);
    std::uniform_real_distribution<double> exponent(-7, 9);
    std::uniform_real_distribution<double> unit(-1, 1);
    std::uniform_int_distribution<int> decimalsOf(0, 12);
    std::uniform_int_distribution<long long> wholeOf(0, 99999999);
    for (int i = 0; i < 200000; ++i) {
        const int decimals = decimalsOf(rng);
        double value = unit(rng) * std::pow(10.0, exponent(rng));
        if (i % 2 == 1) {
            // An exact decimal tie such as 123.125 at two decimals, read as the nearest double
            // (which lies a hair above or below the tie).
            const std::string tie = std::to_string(wholeOf(rng) % 100000) + "." +
                                    std::to_string(wholeOf(rng) % 1000) + "5";
            std::from_chars(tie.data(), tie.data() + tie.size(), value);
            const auto dot = tie.find('.');
            const int tieDecimals = static_cast<int>(tie.size() - dot - 2);
            if (tieDecimals > 12) {
                continue;
            }
            value = (i % 4 == 1) ? value : -value;
            const std::string pattern =
                "000." + std::string(static_cast<std::size_t>(tieDecimals), '0');
            ASSERT_EQ(formatDigitPattern(value, pattern), referencePattern(value, 3, tieDecimals))
                << tie;
            continue;
        }
        const std::string pattern =
            "00" + (decimals > 0 ? "." + std::string(static_cast<std::size_t>(decimals), '0') : "");
        ASSERT_EQ(formatDigitPattern(value, pattern), referencePattern(value, 2, decimals))
            << recordNumberText(value) << " with " << pattern;
        const double rounded = roundHalfAwayFromZero(value, decimals);
        ASSERT_EQ(formatDigitPattern(rounded, pattern), formatDigitPattern(value, pattern));
    }
}

TEST(ShortestText, IsPlainAndExact) {
    struct Case {
        double value;
        const char* text;
    };
    const Case cases[] = {{400000, "400000"},    {665880.43, "665880.43"},
                          {67536.7, "67536.7"},  {0, "0"},
                          {-0.0, "0"},           {-4737175.5, "-4737175.5"},
                          {0.1, "0.1"},          {1e21, "1000000000000000000000"},
                          {0.000001, "0.000001"}};
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
        {0.1 + 0.2, "0.3"},
        {1.0 / 3.0, "0.333333333333333"},
        {0.000001, "0.000001"},
        {1.5e-10, "0.00000000015"},
        {1e20, "100000000000000000000"},
        {123456789012345678.0, "123456789012346000"},
        {-9999999999999999.0, "-10000000000000000"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(recordNumberText(c.value), c.text);
    }
    EXPECT_EQ(recordNumberText(nan), "NaN");
    EXPECT_EQ(recordNumberText(inf), "Inf");
}

} // namespace
} // namespace sw
