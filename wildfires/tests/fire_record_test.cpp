#include "wildfires/fire_record.h"

#include <gtest/gtest.h>

namespace {

sw::FireRecord completeRecord() {
    sw::FireRecord record;
    record.name = "Oak Hill";
    record.incident = "42";
    record.longitude = "-084.5000";
    record.entryDate = "05-01-2026";
    record.fuel = "Grass";
    record.cause = "lightning";
    record.area = "12.50";
    record.percent = "20.00%";
    return record;
}

TEST(FireRecord, CompletenessInTheOrderAsked) {
    using F = sw::FireField;
    struct Case {
        void (*blank)(sw::FireRecord&);
        sw::CoordinateCheck coordinates;
        std::optional<F> field;
        const char* message;
    };
    const Case cases[] = {
        {[](sw::FireRecord&) {}, sw::CoordinateCheck::Required, std::nullopt, ""},
        {[](sw::FireRecord& r) { r = {}; }, sw::CoordinateCheck::Required, F::Name,
         "Enter Fire Name"},
        {[](sw::FireRecord& r) {
             r.incident.clear();
             r.fuel.clear();
         },
         sw::CoordinateCheck::Required, F::Incident, "Enter Incident Number"},
        {[](sw::FireRecord& r) {
             r.longitude.clear();
             r.area.clear();
         },
         sw::CoordinateCheck::Required, F::Coordinates, "Please Convert Coodinates"},
        // A window without coordinates never asks for them.
        {[](sw::FireRecord& r) {
             r.longitude.clear();
             r.area.clear();
         },
         sw::CoordinateCheck::Absent, F::Area, "Enter Area in acres"},
        {[](sw::FireRecord& r) { r.entryDate = "__-__-____"; }, sw::CoordinateCheck::Required,
         F::EntryDate, "Please Enter Data Entry Date"},
        {[](sw::FireRecord& r) { r.entryDate = "__-__-__"; }, sw::CoordinateCheck::Absent,
         F::EntryDate, "Please Enter Data Entry Date"},
        // A partly typed date has digits: the date check, not this one, deals with it.
        {[](sw::FireRecord& r) { r.entryDate = "05-__-____"; }, sw::CoordinateCheck::Required,
         std::nullopt, ""},
        {[](sw::FireRecord& r) { r.fuel.clear(); }, sw::CoordinateCheck::Required, F::Fuel,
         "Please Select Fuel Type"},
        {[](sw::FireRecord& r) { r.cause.clear(); }, sw::CoordinateCheck::Required, F::Cause,
         "Please Select Fire Cause Type"},
        {[](sw::FireRecord& r) { r.percent.clear(); }, sw::CoordinateCheck::Required, F::Percent,
         "Please Use the Slider Control to Enter Percent Contained"},
        // Report, significance and start date are never required.
        {[](sw::FireRecord& r) {
             r.report.clear();
             r.significant.clear();
             r.startDate.clear();
         },
         sw::CoordinateCheck::Required, std::nullopt, ""},
    };
    for (const Case& c : cases) {
        sw::FireRecord record = completeRecord();
        c.blank(record);
        const auto missing = sw::firstMissingValue(record, c.coordinates);
        ASSERT_EQ(missing.has_value(), c.field.has_value()) << c.message;
        if (missing) {
            EXPECT_EQ(missing->field, *c.field);
            EXPECT_EQ(missing->message, (sw::MessageRequest{c.message, "", sw::Icon::None,
                                                            sw::Buttons::Ok, sw::Answer::Ok}));
        }
    }
}

TEST(FireKml, NameLineAndFileNameReplaceTheAmpersandDifferently) {
    sw::FireRecord record = completeRecord();
    record.name = "Oak & Pine&";
    record.utm = "17R 1 2";
    record.usng = "17R LV 1 2";
    EXPECT_EQ(sw::fireKmlFileName(record), "pwOak _ Pine_");
    const std::vector<std::string> expected = {"Fire Name: Oak + Pine+",
                                               "Incident Number: 42",
                                               "Report: ",
                                               "Entry Date: 05-01-2026",
                                               "Start Date: ",
                                               "Acres: 12.50",
                                               "Fuel: Grass",
                                               "Cause: lightning",
                                               "Percent Contained: 20.00%",
                                               "Significant: ",
                                               "USNG Coord: 17R LV 1 2",
                                               "UTM Coord: 17R 1 2"};
    EXPECT_EQ(sw::fireDescriptionLines(record), expected);
}

TEST(FireRecord, ListsAndOptions) {
    EXPECT_EQ(sw::fuelTypes().size(), 9u);
    EXPECT_EQ(sw::fuelTypes().back(), "Other");
    EXPECT_EQ(sw::fireCauses().front(), "lightning");
    EXPECT_EQ(sw::fireCauses().back(), "Unknown");
    EXPECT_EQ(sw::reportTypes(sw::NotApplicable::Without),
              (std::vector<std::string>{"Initial", "Update", "Final"}));
    EXPECT_EQ(sw::reportTypes(sw::NotApplicable::With).back(), "N/A");
    EXPECT_EQ(sw::significanceOptions(sw::NotApplicable::Without),
              (std::vector<std::string>{"Yes", "No"}));
    EXPECT_EQ(sw::significanceOptions(sw::NotApplicable::With).back(), "N/A");
}

} // namespace

// The "N/A" a category presets is the program's own value: cleaning it gave "N A" in the
// incident, fuel and cause while report and significance kept "N/A".
TEST(FireRecord, CleaningKeepsNotApplicableWhereTheWindowOffersIt) {
    using sw::NotApplicable;
    struct Case {
        const char* text;
        NotApplicable na;
        const char* cleaned;
    };
    const Case cases[] = {
        {"N/A", NotApplicable::With, "N/A"},
        {"N/A", NotApplicable::Without, "N A"},
        {" N/A ", NotApplicable::With, "N A"}, // only the value itself, not a text holding it
        {"N/A/B", NotApplicable::With, "N A B"},
        {"n/a", NotApplicable::With, "n a"},
        {" Oak?Hill ", NotApplicable::With, "Oak Hill"},
        {"a\\b", NotApplicable::With, "a b"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(sw::cleanFireText(c.text, c.na), c.cleaned) << c.text;
    }
}
