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
    const Case cases[] = {{txtDDLatD, "90", nullptr, nullptr},
                          {txtDDLatD, "91", lat, "00"},
                          {txtDDLatD, "90.4", lat, "00"}, // the whole value counts, before rounding
                          {txtDDLatD, "-1", lat, "00"},
                          {txtDMMlatdd, "91", lat, ""},
                          {txtDMSlatdd, "91", lat, ""},
                          {txtDDlongD, "181", lon, "000"},
                          {txtDMMlongdd, "181", lon, ""},
                          {txtDMSlongdd, "-5", lon, ""},
                          {txtDDLatDD, "9999", nullptr, nullptr},
                          {txtDDLatDD, "10000", " Must Be Less Than 9999", ""},
                          {txtDDLongDD, "10000", " Must Be Less Than 9999", ""},
                          {txtDMMlatmm, "60", nullptr, nullptr},
                          {txtDMMlatmm, "61", " Must Be Less Than 60", ""},
                          {txtDMMlongmm, "61", " Must Be Less Than 60", ""},
                          {txtDMSlatmm, "61", " Must Be Less Than 60", ""},
                          {txtDMSlatss, "61", " Must Be Less Than 60", ""},
                          {txtDMSlongss, "61", " Must Be Less Than 60", ""},
                          {txtDMSlongss, "-5", nullptr, nullptr}, // only an upper limit
                          {txtDMMlatdm, "99", nullptr, nullptr},
                          {txtDMMlatdm, "100", " Must Be Less Than 99", ""},
                          {txtDMMlongdm, "100", " Must Be Less Than 99", "00"},
                          {txtDMSlatssd, "100", nullptr, nullptr},
                          {txtDMSlatssd, "101", "Must be between 1 and 99", ""},
                          {txtDMSlatssd, "-1", "Must be between 1 and 99", ""},
                          {txtDMSlongssd, "101", " Must be between 1 and 99", ""},
                          {txtDDLatD, "12a", nullptr, nullptr}};
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
    h.typeRow({{txtDDLatD, "30"}, {txtDDLatDD, "25"}, {txtDDlongD, "084"}, {txtDDLongDD, "5"}});
    EXPECT_EQ(h.state().latitude, 30.25);
    EXPECT_EQ(h.state().longitude, -84.5);
    EXPECT_EQ(latitudeText(h.state().latitude), "30.2500");
    EXPECT_EQ(longitudeText(h.state().longitude), "-084.5000");
    EXPECT_EQ(rawText(h.state().latitude), "30.250000000000");
    EXPECT_EQ(rawText(h.state().longitude), "-84.500000000000");

    h.typeRow({{txtDMMlatdd, "30"}, {txtDMMlatmm, "15"}, {txtDMMlatdm, "5"}});
    EXPECT_DOUBLE_EQ(h.state().latitude, 30 + 15.5 / 60);
    EXPECT_EQ(latitudeText(h.state().latitude), "30.2583");

    h.typeRow(
        {{txtDMSlongdd, "084"}, {txtDMSlongmm, "30"}, {txtDMSlongss, "36"}, {txtDMSlongssd, "50"}});
    EXPECT_DOUBLE_EQ(h.state().longitude, -(84 + 30.0 / 60 + 36.0 / 3600 + 0.50 / 3600));

    // Sixty minutes counts as a whole degree; sixty-one is refused and reads as empty.
    h.typeRow({{txtDMMlatdd, "30"}, {txtDMMlatmm, "60"}, {txtDMMlatdm, ""}});
    EXPECT_EQ(h.state().latitude, 31.0);
    h.put(txtDMMlatmm, "61");
    EXPECT_EQ(h.messages.back(), " Must Be Less Than 60");
    EXPECT_EQ(h.text(txtDMMlatmm), "");
    EXPECT_EQ(h.state().latitude, 30.0);
}

TEST(AngleFields, NotationsKeepTheirOwnParts) {
    FieldsHarness h;
    h.typeRow({{txtDDLatD, "30"}, {txtDDLatDD, "5"}});
    h.put(txtDMSlatdd, "45"); // DMS.S has only its own degrees: 45, nothing from D.D
    EXPECT_EQ(h.state().latitude, 45.0);
    EXPECT_EQ(h.state().row(Notation::DD, Row::Latitude).fraction, 0.5);
    // Changing one notation's parts without composing leaves the current values alone.
    AngleState state = h.state();
    fieldChanged(state, txtDMMlatdd, "12");
    EXPECT_EQ(state.latitude, 45.0);
}

TEST(AngleFields, RefusalLeavesThePartUntilTheReplacementIsStored) {
    AngleState state;
    ASSERT_TRUE(fieldChanged(state, txtDMSlatdd, "45").accepted);
    const FieldChange fx = fieldChanged(state, txtDMSlatdd, "91");
    EXPECT_FALSE(fx.accepted);
    EXPECT_EQ(fx.message, "Latitude must be between 00 and 90");
    EXPECT_EQ(fx.replacement, "");
    EXPECT_TRUE(fx.clamp.empty());
    EXPECT_EQ(state.row(Notation::DMS, Row::Latitude).degrees, 45);

    FieldsHarness h;
    h.put(txtDMSlatdd, "45");
    h.put(txtDMSlatdd, "91");
    EXPECT_EQ(h.messages, std::vector<std::string>{"Latitude must be between 00 and 90"});
    EXPECT_EQ(h.text(txtDMSlatdd), "");
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
        {txtDDLatD, "90", {{txtDDLatDD, "0000"}}},
        {txtDDlongD, "180", {{txtDDLongDD, "00"}}},
        {txtDMMlatdd, "90", {{txtDMMlatmm, "00"}, {txtDMMlatdm, "00"}}},
        {txtDMMlongdd, "180", {{txtDMMlongmm, "00"}, {txtDMMlongdm, "00"}}},
        {txtDMSlatdd, "90", {{txtDMSlatmm, "00"}, {txtDMSlatss, "00"}, {txtDMSlatssd, "00"}}},
        {txtDMSlongdd, "180", {{txtDMSlongmm, "00"}, {txtDMSlongss, "00"}, {txtDMSlongssd, "0"}}}};
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
    EXPECT_TRUE(clampFor(txtDMSlongdd, 179).empty());
    EXPECT_TRUE(clampFor(txtDDLatD, 89).empty());
    EXPECT_TRUE(clampFor(txtDDLatDD, 90).empty());
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
