#include "taskwindow/entry_rule.h"

#include <gtest/gtest.h>

namespace {

struct CleanCase {
    const char* typed;
    const char* cleaned;
};

class CleanName : public ::testing::TestWithParam<CleanCase> {};

TEST_P(CleanName, CleansInTheFixedOrder) {
    EXPECT_EQ(sw::cleanName(GetParam().typed), GetParam().cleaned);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CleanName,
    ::testing::Values(
        CleanCase{"  Camp A?  ", "Camp A"},
        // The backslash and the double quote are blanked after trimming, so they leave blanks.
        CleanCase{"Camp\\", "Camp "}, CleanCase{"\\Camp", " Camp"}, CleanCase{"\"Camp\"", " Camp "},
        CleanCase{"  \"x\"  ", " x "},
        // The others are blanked before trimming, so at the ends they vanish.
        CleanCase{"&Camp/", "Camp"}, CleanCase{"a'b:c?d>e<f&g/h", "a b c d e f g h"},
        CleanCase{"", ""}, CleanCase{"   ", ""}, CleanCase{"?:", ""},
        // Tabs are not blanks; non-ASCII letters pass untouched.
        CleanCase{"\tCamp", "\tCamp"}, CleanCase{"Caf\xC3\xA9/\xC3\x91", "Caf\xC3\xA9 \xC3\x91"}),
    [](const ::testing::TestParamInfo<CleanCase>& param) {
        return "case" + std::to_string(param.index);
    });

TEST(RestrictedCharacters, ExactlyTheEightAreRefused) {
    for (char c : std::string("\"&'/:<>\\")) {
        EXPECT_TRUE(sw::containsRestrictedCharacter(std::string(1, c))) << c;
        EXPECT_TRUE(sw::isRestrictedCharacter(static_cast<unsigned char>(c))) << c;
    }
    for (const char* allowed : {"a", "?", " ", "-", ",", ".", "(", "#", "\xC3\xA9", ""}) {
        EXPECT_FALSE(sw::containsRestrictedCharacter(allowed)) << allowed;
    }
    EXPECT_FALSE(sw::isRestrictedCharacter(U'\u00E9'));
    EXPECT_TRUE(sw::containsRestrictedCharacter("ab&"));
}

TEST(RestrictedCharacters, MessageBox) {
    const sw::MessageRequest expected{"This is a Restricted Character", "Input Error",
                                      sw::Icon::Warning, sw::Buttons::Ok, sw::Answer::Ok};
    EXPECT_EQ(sw::restrictedCharacterMessage(), expected);
}

} // namespace
