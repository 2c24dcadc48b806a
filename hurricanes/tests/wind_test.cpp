// Wind speed, knots and category.

#include "hurricanes/wind.h"

#include <gtest/gtest.h>

namespace sw {
namespace {

TEST(Hcat, EveryThresholdFallsOnItsSide) {
    const std::pair<int, const char*> cases[] = {
        {0, " "},
        {22, " "},
        {23, "Tropical Depression"},
        {38, "Tropical Depression"},
        {39, "Tropical Storm"},
        {73, "Tropical Storm"},
        {74, "Category 1"},
        {95, "Category 1"},
        {96, "Category 2"},
        {110, "Category 2"},
        {111, "Category 3"},
        {130, "Category 3"},
        {131, "Category 4"},
        {155, "Category 4"},
        {156, "Category 5"},
        {999, "Category 5"},
    };
    for (const auto& [mph, text] : cases) {
        EXPECT_EQ(Hcat(mph), text) << mph;
    }
}

TEST(Wind, KnotsAndMilesPerHourWithTheAgencyFactor) {
    const std::pair<int, int> mphToKnots[] = {{23, 20}, {0, 0}, {115, 100}, {1150, 999}};
    for (const auto& [mph, knots] : mphToKnots) {
        EXPECT_EQ(knotsFromMph(static_cast<std::int16_t>(mph)), knots) << mph << " mph";
    }
    const std::pair<int, int> knotsToMph[] = {{100, 115}, {87, 100}, {20, 23}, {0, 0}, {999, 1150}};
    for (const auto& [knots, mph] : knotsToMph) {
        EXPECT_EQ(mphFromKnots(static_cast<std::int16_t>(knots)), mph) << knots << " kt";
    }
}

TEST(Wind, TypedTextsReadAsTheirLeadingNumberRoundedToEvenAndNeverWrap) {
    const std::pair<const char*, int> cases[] = {
        {"115", 115}, {"12a", 12},      {"", 0},
        {".", 0},     {"2.5", 2},       {"3.5", 4},
        {"1.2.3", 1}, {"40000", 32767}, {"99999999999999999999", 32767},
    };
    for (const auto& [text, mph] : cases) {
        EXPECT_EQ(windFromText(text), mph) << '"' << text << '"';
    }
}

TEST(Wind, FieldsTakeAtMostThreeWholeDigits) {
    const std::pair<const char*, bool> wind[] = {
        {"", true},      {"155", true},    {"155.75", true}, {".5", true},  {"1.2.3", true},
        {"1550", false}, {"40000", false}, {"12a", false},   {"-5", false}, {" 5", false},
    };
    for (const auto& [text, ok] : wind) {
        EXPECT_EQ(acceptableWindText(text), ok) << '"' << text << '"';
    }
    const std::pair<const char*, bool> knots[] = {
        {"", true}, {"999", true}, {"1000", false}, {"10.5", false}, {"9x", false}};
    for (const auto& [text, ok] : knots) {
        EXPECT_EQ(acceptableKnotsText(text), ok) << '"' << text << '"';
    }
}

TEST(Wind, OnlyAnUnnamedDepressionCapsTheSliderAt38) {
    EXPECT_EQ(windSliderMaximum("Unamed Depression"), 38);
    EXPECT_EQ(windSliderMaximum("Unnamed Depression"), 220);
    EXPECT_EQ(windSliderMaximum("unamed depression"), 220);
    EXPECT_EQ(windSliderMaximum("Ike"), 220);
}

} // namespace
} // namespace sw
