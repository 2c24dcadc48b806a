#pragma once
// The wildfire report as a window holds it: sixteen display texts, the fuel and cause
// suggestions, the report and significance options, and the check that decides whether the
// record is complete enough to be written. The wildfire window and the KML conversion window
// both build on it; the conversion window has no coordinates and offers "N/A" choices.

#include "services/base/dialogs.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sw {

struct FireRecord {
    std::string name;
    std::string incident;
    std::string report;    // "Initial", "Update", "Final" ("N/A" in the conversion window) or empty
    std::string latitude;  // "00.0000"
    std::string longitude; // "-000.0000"
    std::string albersX;
    std::string albersY;
    std::string utm;
    std::string usng;
    std::string entryDate; // "mm-dd-yyyy", or the empty mask
    std::string startDate;
    std::string area; // "1,234.50"
    std::string fuel;
    std::string cause;
    std::string percent;     // "45.00%"
    std::string significant; // "Yes", "No" ("N/A") or empty
};

// Suggestions offered in the fuel and cause boxes, in display order; the user may type others.
const std::vector<std::string>& fuelTypes();
const std::vector<std::string>& fireCauses();

// Whether a window offers "N/A" besides the usual report and significance options.
enum class NotApplicable { Without, With };
// The option captions, which are also the values recorded: "Initial", "Update", "Final"
// (then "N/A"); "Yes", "No" (then "N/A").
const std::vector<std::string>& reportTypes(NotApplicable na);
const std::vector<std::string>& significanceOptions(NotApplicable na);
inline constexpr const char* kNotApplicable = "N/A";

// The entry rule's cleaning (taskwindow/entry_rule.h) as the fire fields apply it. Where the
// window offers "N/A", "N/A" is a value of its own, as the report and significance options
// record it, and is kept whole: its "/" would otherwise become a blank ("N A") in the name,
// incident, fuel and cause fields. Every other text is cleaned as any name.
std::string cleanFireText(std::string_view text, NotApplicable na);

// How a report or significance option row with an extra "N/A" is set.
struct NaOptions {
    bool naEnabled = false;
    bool naChosen = false; // choosing "N/A" records "N/A"
    bool othersEnabled = true;
};

// What a kind of feature puts into the fire form (the KML conversion window's categories: a
// facility has no incident number, report, fuel or cause, and they read "N/A").
struct FirePresets {
    std::string nameCaption;                   // the name field's caption
    std::string startDateCaption;              // the start date's caption
    bool percentEnabled = true;                // otherwise the slider goes to 0 first
    std::optional<std::string> incidentNumber; // nothing: emptied
    NaOptions report;
    NaOptions significance;
    // Fuel and cause: nothing means emptied with the fire lists offered again, a text means
    // both boxes show it.
    std::optional<std::string> fuelAndCause;
};

// The fields the completeness check can send the user back to.
enum class FireField { Name, Incident, Coordinates, EntryDate, Fuel, Cause, Area, Percent };

struct MissingFireValue {
    FireField field;
    MessageRequest message; // OK only, the program's title
};

// Whether the record carries converted coordinates that the check must ask for.
enum class CoordinateCheck { Required, Absent };

// The first value the record lacks, in the order the user is asked for them: name, incident
// number, coordinates (the longitude text), entry date (a date field without digits), fuel,
// cause, area, percent. Report type, significance and the start date are never required.
// Nothing when the record is complete.
std::optional<MissingFireValue> firstMissingValue(const FireRecord& record,
                                                  CoordinateCheck coordinates);

// The KML document of a fire: the file name the dialog suggests ("pw" and the name, every "&"
// made "_"), the question that picks the template with weather imagery, the two templates, and
// the twelve description lines in the order Google Earth lists them ("&" in the name made "+").
std::string fireKmlFileName(const FireRecord& record);
MessageRequest imageryQuestion();
inline constexpr const char* kFireTemplateWithImagery = "kml_template3irwv.txt";
inline constexpr const char* kFireTemplatePlain = "kml_template3.txt";
inline constexpr const char* kFireIcon = "ffire.png";
std::vector<std::string> fireDescriptionLines(const FireRecord& record);

} // namespace sw
