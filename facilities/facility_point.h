#pragma once
// The facility, incident or forest-health point as the window shows it, and what each output
// makes of it: the category type lists, the text-file record, the KML icon and description.
// Values stay display texts until a file field needs a number; then the leading number of the
// text counts (0 when there is none), so "-084.1234" is written as -84.1234.

#include <string>
#include <string_view>
#include <vector>

namespace sw {

struct FacilityPoint {
    std::string name;
    std::string type;
    std::string latitude;  // "00.0000"
    std::string longitude; // "-000.0000"
    std::string albersX;
    std::string albersY;
    std::string utm;
    std::string usng;
};

enum class FacilityCategory { Facilities, Ics, ForestHealth };

// The types offered for a category, in display order, "Other" last.
const std::vector<std::string>& facilityTypes(FacilityCategory category);

// The text file: header line and one record line (both ending in CR LF).
std::string facilityHeaderLine();
std::string facilityRecordLine(const FacilityPoint& point);

// The placemark icon file for a type (exact, case-sensitive match; "other.png" otherwise).
std::string facilityIconFile(std::string_view type);

// The KML description lines: name, type, UTM and national grid texts.
std::vector<std::string> facilityDescriptionLines(const FacilityPoint& point);

} // namespace sw
