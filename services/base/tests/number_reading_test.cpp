#include "services/base/number_reading.h"

#include <cmath>
#include <limits>
#include <optional>
#include <string>

#include <gtest/gtest.h>

namespace sw {
namespace {

constexpr double inf = std::numeric_limits<double>::infinity();

// The one rule every reader of typed and imported numbers follows. A comma is grouping only in
// groups of three: anything else would silently change a value typed with a decimal comma.
TEST(ReadNumber, WholeTextsAreNumbersByOneRule) {
    struct Case {
        const char* text;
        std::optional<double> value;
        bool whole = false;
    };
    const Case cases[] = {
        {"1,234.50", 1234.5},
        {"12,345,678", 12345678, true},
        {"-1,234", -1234, true},
        {"+7", 7, true},
        {"007", 7, true},
        {" 7 ", 7, true},
        {"\t-84.2773", -84.2773},
        {".5", 0.5},
        {"5.", 5},
        {"1e-05", 1e-05},
        {"-2.5E3", -2500},
        {"1,234e2", 123400},
        {"1,2", std::nullopt},
        {"12,5", std::nullopt},
        {"1,,,,2.5", std::nullopt},
        {"1234,567", std::nullopt},
        {",123", std::nullopt},
        {"1,234,", std::nullopt},
        {"1,23", std::nullopt},
        {"1.234,5", std::nullopt},
        {"", std::nullopt},
        {"  ", std::nullopt},
        {"-", std::nullopt},
        {".", std::nullopt},
        {"- 5", std::nullopt},
        {"1 000", std::nullopt},
        {"12a", std::nullopt},
        {"1e", std::nullopt},
        {"inf", std::nullopt},
        {"nan", std::nullopt},
        {"0x10", std::nullopt},
        {"1.2.3", std::nullopt},
    };
    for (const Case& c : cases) {
        const NumberReading reading = readNumberText(c.text);
        EXPECT_EQ(reading.value, c.value) << '"' << c.text << '"';
        EXPECT_FALSE(reading.outOfRange) << '"' << c.text << '"';
        if (c.value) {
            EXPECT_EQ(reading.whole, c.whole) << '"' << c.text << '"';
        }
    }
}

TEST(ReadNumber, NumbersBeyondADoubleAreRefusedAndSaidToBe) {
    for (const char* text : {"1e309", "-1e309", "1e-400", "0,1"}) {
        const NumberReading reading = readNumberText(text);
        EXPECT_FALSE(reading.value) << text;
        EXPECT_EQ(reading.outOfRange, std::string(text) != "0,1") << text;
    }
}

TEST(ReadNumber, WholeNumbersOnlyWhenA64BitIntegerHoldsThemExactly) {
    EXPECT_EQ(readWholeNumber("9223372036854775807"), INT64_MAX);
    EXPECT_EQ(readWholeNumber("-1,234"), -1234);
    EXPECT_EQ(readWholeNumber("-0"), 0);
    EXPECT_FALSE(readWholeNumber("12345678901234567890"));
    EXPECT_FALSE(readWholeNumber("1.0"));
    EXPECT_FALSE(readWholeNumber("1e3"));
    EXPECT_FALSE(readWholeNumber("1,2"));
}

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
        {"90", 90},  {"180.0", 180},    {"0.25.5", 0.25}, {"%12", 0},  {"12 34", 12}};
    for (const Case& c : cases) {
        EXPECT_EQ(leadingNumber(c.text), c.value) << '"' << c.text << '"';
    }
    // A digit run too long for a double saturates instead of failing.
    EXPECT_EQ(leadingNumber(std::string(400, '9')), inf);
    EXPECT_EQ(leadingNumber("-" + std::string(400, '9')), -inf);
    EXPECT_EQ(leadingNumber("0." + std::string(400, '0') + "1"), 0.0);
}

} // namespace
} // namespace sw
