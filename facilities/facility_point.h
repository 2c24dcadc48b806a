#pragma once
// The facility, incident or forest-health point as the window shows it, and what each output
// makes of it: the category type lists, the column table behind the text file and the
// shapefile, the file names and filters, the KML placemark. Values stay display texts until a
// file field needs a number; then the leading number of the text counts (0 when there is
// none), so "-084.1234" is written as -84.1234.

#include "taskwindow/columns.h"
#include "taskwindow/outputs.h"

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

// The record's columns, in file order: text-file titles, shapefile fields, kinds, values.
const ColumnTable<FacilityPoint>& facilityColumns();

// The text file: header line and one record line (both ending in CR LF).
std::string facilityHeaderLine();
std::string facilityRecordLine(const FacilityPoint& point);

// The "pf" prefix and the dialogs' filters of the facility outputs.
OutputSettings facilityOutputSettings();

// The point in a shapefile: at its Albers easting and northing.
ShapePoint facilityShapePoint(const FacilityPoint& point);

// The placemark icon file for a type (exact, case-sensitive match; "other.png" otherwise).
std::string facilityIconFile(std::string_view type);

// The KML description lines: name, type, UTM and national grid texts.
std::vector<std::string> facilityDescriptionLines(const FacilityPoint& point);

// The point's KML document: the common template, "pf" + name offered as file name.
KmlPlacemark facilityPlacemark(const FacilityPoint& point);

} // namespace sw
