#include "coord/angle_fields.h"

#include "coord/converter_model.h"

#include <map>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace sw {
namespace {

using enum Field;

// The converter model with a stand-in for the window: it records the messages and the fields
// a clamp locks, and puts nothing in on auto-advance (the field never has the focus).
class FieldsHarness : public ConverterView {
public:
    void put(Field field, const std::string& text) { model.edited(field, text); }

    // Puts several texts in turn.
    void typeRow(const std::vector<std::pair<Field, std::string>>& entries) {
        for (const auto& [field, text] : entries) {
            put(field, text);
        }
    }

    const std::string& text(Field f) { return model.text(f); }
    const AngleState& state() const { return model.angles(); }

    std::vector<std::string> messages;
    std::set<Field> disabled;
    int handedOn = 0;
    ConverterModel model{*this};

private:
    void showMessage(const std::string& message) override { messages.push_back(message); }
    void showFieldText(Field, const std::string&) override {}
    void lockField(Field field) override { disabled.insert(field); }
    void refused(Field) override {}
    void advance() override {}
    void resultsChanged() override { ++handedOn; }
};

TEST(AngleFields, ValidationTableMessagesAndReplacements) {
    struct Case {
        Field field;
        const char* text;
        const char* message; // nullptr: accepted
        const char* replacement;
    };
    const char* lat = "Latitude must be between 00 and 90";
    const char* lon = "Longitude must be between 000 and 180";
    const Case cases[] = {
        {DDLatitudeDegrees, "90", nullptr, nullptr},
        {DDLatitudeDegrees, "91", lat, "00"},
        {DDLatitudeDegrees, "90.4", lat, "00"}, // the whole value counts, before rounding
        {DDLatitudeDegrees, "-1", lat, "00"},
        {DMMLatitudeDegrees, "91", lat, ""},
        {DMSLatitudeDegrees, "91", lat, ""},
        {DDLongitudeDegrees, "181", lon, "000"},
        {DMMLongitudeDegrees, "181", lon, ""},
        {DMSLongitudeDegrees, "-5", lon, ""},
        {DDLatitudeDecimals, "9999", nullptr, nullptr},
        {DDLatitudeDecimals, "10000", " Must Be Less Than 9999", ""},
        {DDLongitudeDecimals, "10000", " Must Be Less Than 9999", ""},
        {DMMLatitudeMinutes, "60", nullptr, nullptr},
        {DMMLatitudeMinutes, "61", " Must Be Less Than 60", ""},
        {DMMLongitudeMinutes, "61", " Must Be Less Than 60", ""},
        {DMSLatitudeMinutes, "61", " Must Be Less Than 60", ""},
        {DMSLatitudeSeconds, "61", " Must Be Less Than 60", ""},
        {DMSLongitudeSeconds, "61", " Must Be Less Than 60", ""},
        {DMSLongitudeSeconds, "-5", nullptr, nullptr}, // only an upper limit
        {DMMLatitudeDecimals, "99", nullptr, nullptr},
        {DMMLatitudeDecimals, "100", " Must Be Less Than 99", ""},
        {DMMLongitudeDecimals, "100", " Must Be Less Than 99", "00"},
        {DMSLatitudeHundredths, "100", nullptr, nullptr},
        {DMSLatitudeHundredths, "101", "Must be between 1 and 99", ""},
        {DMSLatitudeHundredths, "-1", "Must be between 1 and 99", ""},
        {DMSLongitudeHundredths, "101", " Must be between 1 and 99", ""},
        {DDLatitudeDegrees, "12a", nullptr, nullptr}};
    for (const Case& c : cases) {
        const auto refusal = validateField(c.field, c.text);
        const std::string where = std::string(fieldInfo(c.field).name) + " \"" + c.text + '"';
        if (c.message == nullptr) {
            EXPECT_FALSE(refusal.has_value()) << where;
        } else {
            ASSERT_TRUE(refusal.has_value()) << where;
            EXPECT_EQ(refusal->message, c.message) << where;
            EXPECT_EQ(refusal->replacement, c.replacement) << where;
        }
    }
}

TEST(AngleFields, EveryReplacementAndDefaultTextIsAccepted) {
    // A refused replacement would put the window into an endless message loop.
    for (const FieldInfo& f : allFields()) {
        EXPECT_FALSE(validateField(f.field, f.defaultText).has_value()) << f.name;
        EXPECT_LE(static_cast<int>(f.defaultText.size()), f.maxLength) << f.name;
        const auto refusal = validateField(f.field, "99999");
        ASSERT_TRUE(refusal.has_value()) << f.name;
        EXPECT_FALSE(validateField(f.field, refusal->replacement).has_value()) << f.name;
        EXPECT_EQ(fieldByName(f.name), f.field);
    }
    EXPECT_EQ(fieldByName("txtTown"), std::nullopt);
}

TEST(AngleFields, ReadingWholePartsAndDecimalDigits) {
    struct Whole {
        const char* text;
        int value;
    };
    for (const Whole& c : {Whole{"4.5", 4},
                           {"5.5", 6},
                           {"12a", 12},
                           {"", 0},
                           {"abc", 0},
                           {"084", 84},
                           {"89.5", 90},
                           {"99999", 32767}}) {
        EXPECT_EQ(readWholePart(c.text), c.value) << c.text;
    }
    struct Digits {
        const char* text;
        double value;
    };
    for (const Digits& c : {Digits{"25", 0.25},
                            {"0025", 0.0025},
                            {"5", 0.5},
                            {"", 0},
                            {"5.5", 0.5},
                            {" 5", 0},
                            {"9999", 0.9999}}) {
        EXPECT_EQ(readDecimalDigits(c.text), c.value) << c.text;
    }
}

TEST(AngleFields, CompositionOfEachNotation) {
    FieldsHarness h;
    h.typeRow({{DDLatitudeDegrees, "30"},
               {DDLatitudeDecimals, "25"},
               {DDLongitudeDegrees, "084"},
               {DDLongitudeDecimals, "5"}});
    EXPECT_EQ(h.state().latitude, 30.25);
    EXPECT_EQ(h.state().longitude, -84.5);
    EXPECT_EQ(latitudeText(h.state().latitude), "30.2500");
    EXPECT_EQ(longitudeText(h.state().longitude), "-084.5000");
    EXPECT_EQ(rawText(h.state().latitude), "30.250000000000");
    EXPECT_EQ(rawText(h.state().longitude), "-84.500000000000");

    h.typeRow({{DMMLatitudeDegrees, "30"}, {DMMLatitudeMinutes, "15"}, {DMMLatitudeDecimals, "5"}});
    EXPECT_DOUBLE_EQ(h.state().latitude, 30 + 15.5 / 60);
    EXPECT_EQ(latitudeText(h.state().latitude), "30.2583");

    h.typeRow({{DMSLongitudeDegrees, "084"},
               {DMSLongitudeMinutes, "30"},
               {DMSLongitudeSeconds, "36"},
               {DMSLongitudeHundredths, "50"}});
    EXPECT_DOUBLE_EQ(h.state().longitude, -(84 + 30.0 / 60 + 36.0 / 3600 + 0.50 / 3600));

    // Sixty minutes counts as a whole degree; sixty-one is refused and reads as empty.
    h.typeRow({{DMMLatitudeDegrees, "30"}, {DMMLatitudeMinutes, "60"}, {DMMLatitudeDecimals, ""}});
    EXPECT_EQ(h.state().latitude, 31.0);
    h.put(DMMLatitudeMinutes, "61");
    EXPECT_EQ(h.messages.back(), " Must Be Less Than 60");
    EXPECT_EQ(h.text(DMMLatitudeMinutes), "");
    EXPECT_EQ(h.state().latitude, 30.0);
}

TEST(AngleFields, NotationsKeepTheirOwnParts) {
    FieldsHarness h;
    h.typeRow({{DDLatitudeDegrees, "30"}, {DDLatitudeDecimals, "5"}});
    h.put(DMSLatitudeDegrees, "45"); // DMS.S has only its own degrees: 45, nothing from D.D
    EXPECT_EQ(h.state().latitude, 45.0);
    EXPECT_EQ(h.state().row(Notation::DD, Row::Latitude).fraction, 0.5);
    // Changing one notation's parts without composing leaves the current values alone.
    AngleState state = h.state();
    fieldChanged(state, DMMLatitudeDegrees, "12");
    EXPECT_EQ(state.latitude, 45.0);
}

TEST(AngleFields, RefusalLeavesThePartUntilTheReplacementIsStored) {
    AngleState state;
    ASSERT_TRUE(fieldChanged(state, DMSLatitudeDegrees, "45").accepted);
    const FieldChange fx = fieldChanged(state, DMSLatitudeDegrees, "91");
    EXPECT_FALSE(fx.accepted);
    EXPECT_EQ(fx.message, "Latitude must be between 00 and 90");
    EXPECT_EQ(fx.replacement, "");
    EXPECT_TRUE(fx.clamp.empty());
    EXPECT_EQ(state.row(Notation::DMS, Row::Latitude).degrees, 45);

    FieldsHarness h;
    h.put(DMSLatitudeDegrees, "45");
    h.put(DMSLatitudeDegrees, "91");
    EXPECT_EQ(h.messages, std::vector<std::string>{"Latitude must be between 00 and 90"});
    EXPECT_EQ(h.text(DMSLatitudeDegrees), "");
    EXPECT_EQ(h.state().row(Notation::DMS, Row::Latitude).degrees, 0);
    EXPECT_EQ(h.state().latitude, 0.0);
}

TEST(AngleFields, ClampsAtNinetyAndOneEighty) {
    struct Case {
        Field degrees;
        const char* text;
        std::vector<std::pair<Field, std::string>> zeroed;
    };
    const Case cases[] = {
        {DDLatitudeDegrees, "90", {{DDLatitudeDecimals, "0000"}}},
        {DDLongitudeDegrees, "180", {{DDLongitudeDecimals, "00"}}},
        {DMMLatitudeDegrees, "90", {{DMMLatitudeMinutes, "00"}, {DMMLatitudeDecimals, "00"}}},
        {DMMLongitudeDegrees, "180", {{DMMLongitudeMinutes, "00"}, {DMMLongitudeDecimals, "00"}}},
        {DMSLatitudeDegrees,
         "90",
         {{DMSLatitudeMinutes, "00"}, {DMSLatitudeSeconds, "00"}, {DMSLatitudeHundredths, "00"}}},
        {DMSLongitudeDegrees,
         "180",
         {{DMSLongitudeMinutes, "00"},
          {DMSLongitudeSeconds, "00"},
          {DMSLongitudeHundredths, "0"}}}};
    for (const Case& c : cases) {
        FieldsHarness h;
        const Row row = fieldInfo(c.degrees).row;
        // Finer fields hold something first, so the clamp visibly zeroes them.
        for (const auto& [finer, zero] : c.zeroed) {
            h.put(finer, "5");
        }
        h.put(c.degrees, c.text);
        const std::string where(fieldInfo(c.degrees).name);
        for (const auto& [finer, zero] : c.zeroed) {
            EXPECT_EQ(h.text(finer), zero) << where;
            EXPECT_TRUE(h.disabled.count(finer)) << where;
        }
        const double limit = row == Row::Latitude ? 90.0 : -180.0;
        EXPECT_EQ(row == Row::Latitude ? h.state().latitude : h.state().longitude, limit) << where;
        EXPECT_TRUE(h.messages.empty()) << where;
    }
    // Below the limit no clamp: nothing is re-enabled or zeroed by dropping to 179.
    EXPECT_TRUE(clampFor(DMSLongitudeDegrees, 179).empty());
    EXPECT_TRUE(clampFor(DDLatitudeDegrees, 89).empty());
    EXPECT_TRUE(clampFor(DDLatitudeDecimals, 90).empty());
}

TEST(AngleFields, KeyFilter) {
    const std::u32string accepted = U"0123456789%&'(.\b\t\f\x0e";
    const std::u32string refused = U"a-+,/)*$ \r\n\x1b\u00e9Z:";
    for (const char32_t c : accepted) {
        EXPECT_TRUE(keyAccepted(c)) << static_cast<unsigned>(c);
    }
    for (const char32_t c : refused) {
        EXPECT_FALSE(keyAccepted(c)) << static_cast<unsigned>(c);
    }
}

TEST(AngleFields, AutoAdvanceDecision) {
    using A = AutoAdvance::Action;
    struct Case {
        const char* text;
        int maxLength;
        int caret;
        A action;
        const char* cut;
    };
    const Case cases[] = {{"12", 2, 2, A::MoveOn, ""}, // last digit typed
                          {"12", 2, 0, A::None, ""},   // filled by program: caret at the start
                          {"12", 2, 1, A::None, ""},   // caret inside
                          {"1", 2, 1, A::None, ""},    // not full yet
                          {"", 3, 0, A::None, ""},     // emptied by a refusal
                          {"123", 2, 3, A::Cut, "12"}, // too long: cut, do not move
                          {"00000", 4, 0, A::Cut, "0000"},
                          {"1\xC3\xA9"
                           "3",
                           2, 3, A::Cut, "1\xC3\xA9"}, // characters, not bytes
                          {"1\xC3\xA9", 2, 2, A::MoveOn, ""}};
    for (const Case& c : cases) {
        const AutoAdvance d = autoAdvance(c.text, c.maxLength, c.caret);
        EXPECT_EQ(d.action, c.action) << c.text << " caret " << c.caret;
        if (c.action == A::Cut) {
            EXPECT_EQ(d.text, c.cut);
        }
    }
}

} // namespace
} // namespace sw

namespace sw {
namespace {

using enum Field;

TEST(AngleFields, TypedCharactersGoWhereAPersonMeansThem) {
    using K = TypedKey;
    struct Case {
        Field field;
        char32_t key;
        bool atStart;
        bool justAdvanced;
        TypedKey effect;
    };
    const Case cases[] = {
        // Digits and editing characters are the field's own business.
        {DDLatitudeDegrees, U'7', false, false, K::Take},
        {DMSLongitudeHundredths, U'0', true, true, K::Take},
        {DDLatitudeDegrees, U'\b', true, false, K::Take},
        // "." after whole degrees, minutes or seconds: on to the decimals, not stored.
        {DDLongitudeDegrees, U'.', false, false, K::MoveOn},
        {DDLongitudeDegrees, U'.', true, false, K::MoveOn}, // ".5": no whole degrees
        {DMMLatitudeMinutes, U'.', false, false, K::MoveOn},
        {DMSLatitudeSeconds, U'.', false, false, K::MoveOn},
        // The field was filled and auto-advance moved on before the "." came: it is spent.
        {DMMLatitudeMinutes, U'.', true, true, K::Drop},
        {DDLatitudeDecimals, U'.', true, true, K::Drop},
        // At the start of a decimals field the point is there already; inside, it is a slip.
        {DDLatitudeDecimals, U'.', true, false, K::Drop},
        {DMMLongitudeDecimals, U'.', true, false, K::Drop},
        {DMSLatitudeHundredths, U'.', true, false, K::Drop},
        {DDLatitudeDecimals, U'.', false, false, K::Refuse},
        {DMSLatitudeHundredths, U'.', false, true, K::Refuse},
        // "-" is the west sign the longitude always has, before its degrees only.
        {DDLongitudeDegrees, U'-', true, false, K::Drop},
        {DMMLongitudeDegrees, U'-', true, false, K::Drop},
        {DMSLongitudeDegrees, U'-', true, false, K::Drop},
        {DDLongitudeDegrees, U'-', false, false, K::Refuse},
        {DDLatitudeDegrees, U'-', true, false, K::Refuse}, // no south in this program
        {DDLongitudeDecimals, U'-', true, false, K::Refuse},
        {DMSLongitudeMinutes, U'-', true, false, K::Refuse},
        // What the old filter let in read as a different number than it showed ("1(2" is 1).
        {DDLatitudeDegrees, U'%', false, false, K::Refuse},
        {DDLatitudeDegrees, U'(', false, false, K::Refuse},
        {DDLatitudeDegrees, U'\'', false, false, K::Refuse},
        {DDLatitudeDegrees, U'a', false, false, K::Refuse},
        {DDLatitudeDegrees, U'+', true, false, K::Refuse},
        {DDLatitudeDegrees, U' ', true, false, K::Refuse},
        {DDLatitudeDegrees, U'\u00B0', false, false, K::Refuse},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(typedKey(c.field, c.key, c.atStart, c.justAdvanced), c.effect)
            << fieldInfo(c.field).name << " '" << static_cast<unsigned>(c.key) << "' start "
            << c.atStart << " advanced " << c.justAdvanced;
    }
}

TEST(AngleFields, HundredthsReadAsTheDigitsAfterTheSecondsPoint) {
    struct Case {
        const char* text;
        int hundredths;
    };
    // "5" after "36." is 36.5 seconds, as the fields show it.
    for (const Case& c : {Case{"5", 50}, {"05", 5}, {"50", 50}, {"99", 99}, {"", 0}, {"0", 0}}) {
        EXPECT_EQ(readHundredths(c.text), c.hundredths) << c.text;
    }
    FieldsHarness h;
    h.typeRow({{DMSLatitudeDegrees, "30"},
               {DMSLatitudeMinutes, "15"},
               {DMSLatitudeSeconds, "36"},
               {DMSLatitudeHundredths, "5"}});
    EXPECT_DOUBLE_EQ(h.state().latitude, 30 + 15 / 60.0 + 36.5 / 3600);
}

TEST(AngleFields, APointBecomesTheTextsAPersonWouldType) {
    struct Case {
        Notation notation;
        double latitude, longitude;
        std::vector<std::string> texts; // longitude row first
    };
    const Case cases[] = {
        {Notation::DD, 30.25, -84.5, {"084", "5000", "30", "2500"}},
        {Notation::DD, 5.00004, -0.00005, {"000", "0001", "05", "0000"}},    // rounded half away
        {Notation::DD, 89.99996, -179.99999, {"180", "0000", "90", "0000"}}, // carried over
        {Notation::DMM, 30.258333333, -84.508333333, {"084", "30", "50", "30", "15", "50"}},
        {Notation::DMM, 29.9999999, -0.0, {"000", "00", "00", "30", "00", "00"}},
        {Notation::DMS,
         30.25 + 1.25 / 3600,
         -(84 + 30.0 / 60 + 36.5 / 3600),
         {"084", "30", "36", "50", "30", "15", "01", "25"}},
        {Notation::DMS, 90, -180, {"180", "00", "00", "00", "90", "00", "00", "00"}},
    };
    for (const Case& c : cases) {
        const PointTexts p = pointTexts(c.notation, c.latitude, c.longitude);
        EXPECT_TRUE(p.problem.empty()) << p.problem;
        std::vector<std::string> texts;
        for (const auto& [field, text] : p.texts) {
            EXPECT_EQ(fieldInfo(field).notation, c.notation);
            EXPECT_FALSE(validateField(field, text).has_value()) << fieldInfo(field).name;
            texts.push_back(text);
        }
        EXPECT_EQ(texts, c.texts) << c.latitude << ", " << c.longitude;
        EXPECT_EQ(p.texts.size(), fieldsOf(c.notation).size());
    }
    // The fields only take north latitudes and west longitudes.
    EXPECT_TRUE(pointTexts(Notation::DD, -0.1, -84).problem.starts_with("This point is south"));
    EXPECT_TRUE(pointTexts(Notation::DMS, 30, 0.1).problem.starts_with("This point is east"));
    EXPECT_TRUE(pointTexts(Notation::DMS, 30, 0.1).texts.empty());
}

// Typing the texts back in gives the point within half of the finest part of the notation.
TEST(AngleFields, TypedBackTheTextsGiveThePointWithinTheFieldsPrecision) {
    const std::pair<Notation, double> precision[] = {
        {Notation::DD, 0.00005}, {Notation::DMM, 0.005 / 60}, {Notation::DMS, 0.005 / 3600}};
    for (const auto& [notation, half] : precision) {
        for (const auto& [lat, lon] :
             {std::pair{30.123456789, -84.987654321}, {24.5, -80.0000001}, {0.0, -179.9999}}) {
            FieldsHarness h;
            for (const auto& [field, text] : pointTexts(notation, lat, lon).texts) {
                h.put(field, text);
            }
            EXPECT_NEAR(h.state().latitude, lat, half + 1e-12) << static_cast<int>(notation);
            EXPECT_NEAR(h.state().longitude, lon, half + 1e-12) << static_cast<int>(notation);
            EXPECT_TRUE(h.messages.empty());
        }
    }
}

} // namespace
} // namespace sw
