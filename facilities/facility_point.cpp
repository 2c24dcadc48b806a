#include "facilities/facility_point.h"

#include "coord/number_text.h"

#include <array>
#include <utility>

namespace sw {

const std::vector<std::string>& facilityTypes(FacilityCategory category) {
    static const std::vector<std::string> facilities = {"Accident",
                                                        "Boundary Corner",
                                                        "Building",
                                                        "DOT Fuel Site",
                                                        "Forestry Center",
                                                        "Forestry Site",
                                                        "Forestry Station",
                                                        "Parcel",
                                                        "Smoke Sensitive Feature",
                                                        "State Forest Headquarters",
                                                        "Timber Sale",
                                                        "Tower",
                                                        "Other"};
    static const std::vector<std::string> ics = {"Aerial Hazard",
                                                 "Camp",
                                                 "Drop Point",
                                                 "Fire Origin",
                                                 "First Aid Station",
                                                 "Helibase",
                                                 "Hot Spot",
                                                 "Incident Base",
                                                 "Incident Command Post",
                                                 "Mobile WEAX Unit",
                                                 "Spot Fire",
                                                 "Tanker Base",
                                                 "Water Source",
                                                 "Residence",
                                                 "Other"};
    static const std::vector<std::string> forestHealth = {
        "Black Turpentine Beetle", "IPS Engraver Beetle",
        "Southern Pine Beetle",    "Other Insect Infestation",
        "Fusiform Rust",           "Needle Rust",
        "Other Tree Disease",      "Other"};
    switch (category) {
    case FacilityCategory::Facilities:
        return facilities;
    case FacilityCategory::Ics:
        return ics;
    case FacilityCategory::ForestHealth:
        break;
    }
    return forestHealth;
}

const ColumnTable<FacilityPoint>& facilityColumns() {
    // A UTM text is up to 24 characters long ("16R 740550.42 3349132.77"); a narrower column
    // would cut off its northing, so the column holds all of it. Appending to older files
    // with a 20-character column still works (the writer cuts the text to the column).
    static const ColumnTable<FacilityPoint> table = {
        {Column::text("Name", "Name", 45), [](const FacilityPoint& p) { return p.name; }},
        {Column::text("Type", "Type", 45), [](const FacilityPoint& p) { return p.type; }},
        {Column::number("Latitude", "Lat"), [](const FacilityPoint& p) { return p.latitude; }},
        {Column::number("Longitude", "Long"), [](const FacilityPoint& p) { return p.longitude; }},
        {Column::number("AlbersX", "AlbersX"), [](const FacilityPoint& p) { return p.albersX; }},
        {Column::number("AlbersY", "AlbersY"), [](const FacilityPoint& p) { return p.albersY; }},
        {Column::text("UTM", "UTM", 24), [](const FacilityPoint& p) { return p.utm; }},
        {Column::text("USNG", "USNG", 20), [](const FacilityPoint& p) { return p.usng; }},
    };
    return table;
}

std::string facilityHeaderLine() {
    return headerLine(facilityColumns().row({}));
}

std::string facilityRecordLine(const FacilityPoint& point) {
    return recordLine(facilityColumns().row(point));
}

OutputSettings facilityOutputSettings() {
    return {.prefix = "pf",
            .appendTextFilter = "Text Files (pf*.txt)|pf*.txt",
            .appendShapeFilter = "Shape Files (pf*.shp)|pf*.shp"};
}

ShapePoint facilityShapePoint(const FacilityPoint& point) {
    return {leadingNumber(point.albersX), leadingNumber(point.albersY)};
}

std::string facilityIconFile(std::string_view type) {
    // "Staging Area" is in no list but keeps its icon for users who type it.
    static constexpr std::array<std::pair<std::string_view, std::string_view>, 30> icons = {{
        {"Aerial Hazard", "av_obstaclea.png"},
        {"Camp", "campa.png"},
        {"Drop Point", "droppoint.png"},
        {"Fire Origin", "fire_origina.png"},
        {"First Aid Station", "faids.png"},
        {"Helibase", "helibasea.png"},
        {"Hot Spot", "hot_spotA.png"},
        {"Incident Base", "incident_basea.png"},
        {"Incident Command Post", "icsa.png"},
        {"Mobile WEAX Unit", "weaxa.png"},
        {"Spot Fire", "spotfirea.png"},
        {"Staging Area", "staginga.png"},
        {"Water Source", "water_sourcea.png"},
        {"Tanker Base", "tanker_base.png"},
        {"Forestry Center", "SHIELD.png"},
        {"Forestry Site", "SHIELD.png"},
        {"Forestry Station", "SHIELD.png"},
        {"State Forest Headquarters", "SHIELD.png"},
        {"Smoke Sensitive Feature", "ssf.png"},
        {"Accident", "accident.png"},
        {"Tower", "towera.png"},
        {"DOT Fuel Site", "dot_logo.png"},
        {"Black Turpentine Beetle", "beetle.png"},
        {"IPS Engraver Beetle", "beetle.png"},
        {"Southern Pine Beetle", "beetle.png"},
        {"Other Insect Infestation", "beetle.png"},
        {"Fusiform Rust", "rust.png"},
        {"Needle Rust", "rust.png"},
        {"Other Tree Disease", "otd.png"},
        {"Other", "other.png"},
    }};
    for (const auto& [name, icon] : icons) {
        if (name == type) {
            return std::string(icon);
        }
    }
    return "other.png";
}

std::vector<std::string> facilityDescriptionLines(const FacilityPoint& point) {
    return {point.name, point.type, "UTM Coord: " + point.utm,
            "National Grid Coord: " + point.usng};
}

KmlPlacemark facilityPlacemark(const FacilityPoint& point) {
    return {.presetFileName = "pf" + point.name,
            .name = point.name,
            .descriptionLines = facilityDescriptionLines(point),
            .longitude = point.longitude,
            .latitude = point.latitude,
            .iconFile = facilityIconFile(point.type),
            .rangeElement = "<range>5000</range>"};
}

} // namespace sw
