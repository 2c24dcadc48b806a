#include "wildfires/fire_record.h"

#include "taskwindow/entry_rule.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace sw {

const std::vector<std::string>& fuelTypes() {
    static const std::vector<std::string> fuels = {"Blowy Leaf",         "Dense Pine", "Grass",
                                                   "Hurricane Debris",   "Melaleuca",  "Muck Fuels",
                                                   "Palmetto-Gallberry", "Swamp",      "Other"};
    return fuels;
}

const std::vector<std::string>& fireCauses() {
    static const std::vector<std::string> causes = {"lightning", "campfire",    "children",
                                                    "smoking",   "debris burn", "incendiary",
                                                    "equipment", "railroad",    "Unknown"};
    return causes;
}

const std::vector<std::string>& reportTypes(NotApplicable na) {
    static const std::vector<std::string> plain = {"Initial", "Update", "Final"};
    static const std::vector<std::string> withNa = {"Initial", "Update", "Final", "N/A"};
    return na == NotApplicable::With ? withNa : plain;
}

const std::vector<std::string>& significanceOptions(NotApplicable na) {
    static const std::vector<std::string> plain = {"Yes", "No"};
    static const std::vector<std::string> withNa = {"Yes", "No", "N/A"};
    return na == NotApplicable::With ? withNa : plain;
}

std::string cleanFireText(std::string_view text, NotApplicable na) {
    if (na == NotApplicable::With && text == kNotApplicable) {
        return std::string(text);
    }
    return cleanName(text);
}

namespace {
bool hasDigit(const std::string& text) {
    return std::any_of(text.begin(), text.end(),
                       [](char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; });
}
} // namespace

std::optional<MissingFireValue> firstMissingValue(const FireRecord& record,
                                                  CoordinateCheck coordinates) {
    struct Check {
        FireField field;
        bool missing;
        const char* message;
    };
    // The masked entry date is never empty as a text: "__-__-____" is its empty state.
    const std::array<Check, 8> checks = {{
        {FireField::Name, record.name.empty(), "Enter Fire Name"},
        {FireField::Incident, record.incident.empty(), "Enter Incident Number"},
        {FireField::Coordinates,
         coordinates == CoordinateCheck::Required && record.longitude.empty(),
         "Please Convert Coodinates"},
        {FireField::EntryDate, !hasDigit(record.entryDate), "Please Enter Data Entry Date"},
        {FireField::Fuel, record.fuel.empty(), "Please Select Fuel Type"},
        {FireField::Cause, record.cause.empty(), "Please Select Fire Cause Type"},
        {FireField::Area, record.area.empty(), "Enter Area in acres"},
        {FireField::Percent, record.percent.empty(),
         "Please Use the Slider Control to Enter Percent Contained"},
    }};
    for (const Check& check : checks) {
        if (check.missing) {
            return MissingFireValue{check.field,
                                    {check.message, {}, Icon::None, Buttons::Ok, Answer::Ok}};
        }
    }
    return std::nullopt;
}

namespace {
std::string replaced(std::string text, char from, char to) {
    std::replace(text.begin(), text.end(), from, to);
    return text;
}
} // namespace

std::string fireKmlFileName(const FireRecord& record) {
    return "pw" + replaced(record.name, '&', '_');
}

MessageRequest imageryQuestion() {
    return {"Add Current NOAA Southeast Radar and Water Vapor Imagery?",
            {},
            Icon::Question,
            Buttons::YesNo,
            Answer::Yes};
}

std::vector<std::string> fireDescriptionLines(const FireRecord& record) {
    return {"Fire Name: " + replaced(record.name, '&', '+'),
            "Incident Number: " + record.incident,
            "Report: " + record.report,
            "Entry Date: " + record.entryDate,
            "Start Date: " + record.startDate,
            "Acres: " + record.area,
            "Fuel: " + record.fuel,
            "Cause: " + record.cause,
            "Percent Contained: " + record.percent,
            "Significant: " + record.significant,
            "USNG Coord: " + record.usng,
            "UTM Coord: " + record.utm};
}

} // namespace sw
