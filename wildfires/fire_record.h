#pragma once
// The wildfire report as a window holds it: sixteen display texts, the fuel and cause
// suggestions, the report and significance options, and the check that decides whether the
// record is complete enough to be written. The wildfire window and the KML conversion window
// both build on it; the conversion window has no coordinates and offers "N/A" choices.

#include "services/base/dialogs.h"

#include <optional>
#include <string>
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
