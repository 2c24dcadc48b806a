#include "wildfires/fire_numbers.h"

#include <gtest/gtest.h>

namespace {

const std::string kHugeNumber(400, '9');

TEST(FireArea, LeavingTheField) {
    struct Case {
        const char* typed;
        bool refused;
        const char* shown;
    };
    const Case cases[] = {
        {"", false, ""},
        {"1234.5", false, "1,234.50"},
        {"1,234.5", false, "1,234.50"},
        {"1,234,567.891", false, "1,234,567.89"},
        {"999.995", false, "1,000.00"}, // rounds half away from zero, then groups
        {"0.125", false, "0.13"},
        {".5", false, "0.50"},
        {"5.", false, "5.00"},
        {"0", false, "0.00"},
        {"100000", false, "100,000.00"},
        {"  12 ", false, "12.00"},
        {"007", false, "7.00"},
        // Commas group the whole part in threes, or the text is no number.
        {"12,34", true, "0.00"},
        {",123", true, "0.00"},
        {"1234,567", true, "0.00"},
        {"1,2345", true, "0.00"},
        {"1.234,5", true, "0.00"},
        {"1..2", true, "0.00"},
        {".", true, "0.00"},
        {"-5", true, "0.00"},
        {"12a", true, "0.00"},
        {"   ", true, "0.00"},
        {kHugeNumber.c_str(), true, "0.00"},
    };
    for (const Case& c : cases) {
        const sw::AreaLeave left = sw::leaveArea(c.typed);
        EXPECT_EQ(left.refused, c.refused) << c.typed;
        EXPECT_EQ(left.text, c.shown) << c.typed;
    }
}

TEST(FireArea, ValueOfTheShownText) {
    // The shapefile stores what the field shows, read back under the same rule.
    EXPECT_EQ(sw::areaValue("1,234.50"), 1234.5);
    EXPECT_EQ(sw::areaValue("0.00"), 0.0);
    EXPECT_EQ(sw::areaValue(""), std::nullopt);
    for (const double acres : {0.0, 0.5, 12.5, 1234.5, 1234567.89, 100000.0}) {
        EXPECT_EQ(sw::areaValue(sw::formatArea(acres)), acres) << acres;
    }
}

TEST(FireArea, KeysAndMessages) {
    for (const char32_t c : U"0123456789.,\b") {
        if (c != 0) {
            EXPECT_TRUE(sw::isAreaCharacter(c)) << static_cast<unsigned>(c);
        }
    }
    for (const char32_t c : {U'a', U'-', U' ', U'+', U'e', U'%', U'\0', U'\u00B7'}) {
        EXPECT_FALSE(sw::isAreaCharacter(c)) << static_cast<unsigned>(c);
    }
    EXPECT_EQ(sw::areaKeyMessage(),
              (sw::MessageRequest{"Plese Enter Numbers Only", "", sw::Icon::None, sw::Buttons::Ok,
                                  sw::Answer::Ok}));
    EXPECT_EQ(sw::areaNotNumberMessage(),
              (sw::MessageRequest{"Please Enter Numbers Only", "Numbers Only!", sw::Icon::Warning,
                                  sw::Buttons::Ok, sw::Answer::Ok}));
}

TEST(FirePercent, TypedTextToSliderValue) {
    const std::pair<const char*, int> cases[] = {
        {"60", 60},     {"45.5", 46}, {"44.5", 44},  {"44.5%", 44},
        {"45.00%", 45}, {"0.5", 0},   {"99.5", 100}, {"100.4", 100},
        {"250", 100},   {"-3", 0},    {"-0.5", 0},   {"abc", 0},
        {"", 0},        {"%45", 0},   {"  7", 7},    {kHugeNumber.c_str(), 100},
    };
    for (const auto& [typed, value] : cases) {
        EXPECT_EQ(sw::percentFromText(typed), value) << typed;
    }
}

TEST(FirePercent, LeavingTheTextKeepsSliderAndTextTogether) {
    struct Case {
        const char* typed;
        int slider;
        int value;
        bool rewrite;
    };
    const Case cases[] = {
        {"60", 0, 60, true},     {"45.3", 45, 45, false},  {"45", 45, 45, false},
        {"250", 100, 100, true}, {"-3", 0, 0, true},       {"", 0, 0, false},
        {"", 30, 0, true},       {"100", 100, 100, false},
    };
    for (const Case& c : cases) {
        const sw::PercentLeave left = sw::leavePercent(c.typed, c.slider);
        EXPECT_EQ(left.value, c.value) << c.typed << " at " << c.slider;
        EXPECT_EQ(left.rewriteText, c.rewrite) << c.typed << " at " << c.slider;
    }
}

TEST(FirePercent, SliderValueToText) {
    EXPECT_EQ(sw::percentText(0), "0.00%");
    EXPECT_EQ(sw::percentText(45), "45.00%");
    EXPECT_EQ(sw::percentText(100), "100.00%");
    // The text a slider value shows carries the same value back.
    for (int v = sw::kPercentMinimum; v <= sw::kPercentMaximum; ++v) {
        EXPECT_EQ(sw::percentFromText(sw::percentText(v)), v);
    }
}

} // namespace
