#pragma once
// One position of a named storm as the Hurricanes window shows it, and what the outputs make of
// it: the completeness check before writing, the KML icon, placemark name and description, and
// the suggested KML file name. Values stay display texts until a file field needs a number.

#include "taskwindow/columns.h"
#include "taskwindow/outputs.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sw {

class Dialogs;

struct StormPosition {
    std::string name;         // cleaned by the entry rule
    std::string reportDate;   // "mm-dd-yyyy"
    std::string positionType; // "Actual", "Forecast", or empty until chosen
    std::string utcTime;      // "8/29/2025 15:00:00 UTC"
    std::string localTime;    // "8/29/2025 11:00:00 AM EDT"
    std::string latitude;     // "00.0000"
    std::string longitude;    // "-000.0000"
    std::string albersX;
    std::string albersY;
    std::string utm;
    std::string usng;
    std::string windMph;   // as typed ("115")
    std::string windKnots; // as shown ("100")
    std::string category;  // Hcat text; " " for a calm wind, empty before any wind is entered
    // The UTC month, day and hour labels ("9", "12", "15:00"), for the KML file name.
    std::string utcMonth;
    std::string utcDay;
    std::string utcHour;
};

// The record's fourteen columns, in file order: text-file titles, shapefile fields, kinds,
// values. The wind and knots go out as whole numbers (ties to even), as the window keeps them.
const ColumnTable<StormPosition>& stormColumns();

// The "ph" prefix, the dialogs' filters and the geographic projection file.
OutputSettings hurricaneOutputSettings();

// The position in a shapefile: at its longitude and latitude.
ShapePoint hurricaneShapePoint(const StormPosition& position);

inline constexpr const char* kActual = "Actual";
inline constexpr const char* kForecast = "Forecast";

// The first thing missing before the position may be written, in the order the user is asked
// for it; nothing when it is complete.
enum class StormMissingPart { Name, Wind, Coordinates, PositionType };
struct StormMissing {
    StormMissingPart part;
    const char* message;
};
std::optional<StormMissing> firstMissing(const StormPosition& position);

// "TD", "Cat2", "Fcast_Cat2"...: the icon code for a category text and position type; empty
// for a category that is none of the seven (a calm wind's " ").
std::string hurricaneIconCode(std::string_view category, std::string_view positionType);
// The icon file: the code followed by "Hurricane.gif".
std::string hurricaneIconFile(const StormPosition& position);

// "Ike , Category 3".
std::string hurricanePlacemarkName(const StormPosition& position);

// The five description lines: name, "Actual Location", "Local Time:..." , category,
// "Winds(kts/mph):100/115".
std::vector<std::string> hurricaneDescriptionLines(const StormPosition& position);

// The suggested KML file name: "phIke_1500_Sep12", "phForecastIke_1500_Sep12" for a forecast.
std::string hurricaneKmlFileName(const StormPosition& position);

// The position's KML document. Once the file is chosen, `dialogs` asks whether to add the
// satellite imagery, which chooses the template.
KmlPlacemark hurricanePlacemark(const StormPosition& position, Dialogs& dialogs);

// The view range of a storm placemark: far enough out to show the storm's surroundings.
inline constexpr const char* kHurricaneRangeElement = "<range>500000</range>";

// The imagery question and the two templates it chooses between.
inline constexpr const char* kImageryQuestion =
    "Add Latest GOES Wind Shear Imagery and Sea Surface Temperature / Anomaly Imagery ?";
inline constexpr const char* kImageryTemplate = "kml_template3ir.txt";
inline constexpr const char* kPlainTemplate = "kml_template3.txt";

} // namespace sw
