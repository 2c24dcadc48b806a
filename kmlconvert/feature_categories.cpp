#include "kmlconvert/feature_categories.h"

namespace sw::kml {

const std::vector<std::string>& featureTypes(FeatureCategory category) {
    // "Divison" is spelled as the agency's lists have always spelled it: records written with
    // it must keep matching.
    static const std::vector<std::string> wildfire = {"Fire Perimeter",
                                                      "Barrier",
                                                      "Divison",
                                                      "Completed Dozer Line",
                                                      "Proposed Dozer Line",
                                                      "Fire Break",
                                                      "Planned Fire Break",
                                                      "Fireline",
                                                      "Fire Spread Prediction",
                                                      "Uncontrolled Fire Edge",
                                                      "Planned Fireline",
                                                      "Plow Line",
                                                      "Water Drop",
                                                      "Foam Drop",
                                                      "Other",
                                                      "Unknown"};
    static const std::vector<std::string> incident = {"Accident",
                                                      "Southern Pine Beetle",
                                                      "Other Insect",
                                                      "Rust",
                                                      "Other Plant Disease",
                                                      "Flooding",
                                                      "Tornado",
                                                      "Wind Damage",
                                                      "Hail",
                                                      "Weather Event",
                                                      "Other"};
    static const std::vector<std::string> facility = {
        "Building",  "Parcel",        "Forestry Center", "Tower Site", "Timber Sale",
        "Tarn Site", "DOT Fuel Site", "Accident",        "Tower",      "Camp",
        "Helibase",  "Tanker Base",   "Incident Base",   "Unknown"};
    switch (category) {
    case FeatureCategory::Wildfire:
        return wildfire;
    case FeatureCategory::OtherIncident:
        return incident;
    case FeatureCategory::Facility:
        break;
    }
    return facility;
}

const CategoryEffects& categoryEffects(FeatureCategory category) {
    const NaOptions usual{false, false, true};
    const NaOptions notApplicable{true, true, false};
    static const CategoryEffects wildfire{
        "Fire Name", "Fire Start Date, mm/dd/yy:", true, std::nullopt, usual, usual, std::nullopt};
    static const CategoryEffects incident{"Incident Name",
                                          "Incident Date, mm/dd/yy:",
                                          false,
                                          std::nullopt,
                                          usual,
                                          notApplicable,
                                          "N/A"};
    static const CategoryEffects facility{"Facility Name",
                                          "Facility Date, mm/dd/yy:",
                                          false,
                                          "N/A",
                                          notApplicable,
                                          notApplicable,
                                          "N/A"};
    switch (category) {
    case FeatureCategory::Wildfire:
        return wildfire;
    case FeatureCategory::OtherIncident:
        return incident;
    case FeatureCategory::Facility:
        break;
    }
    return facility;
}

std::string procedureText() {
    return "1. Create the attributes for the fire first. Every attribute must be filled in. Use "
           "'Unknown' or '0' when necessary. \r\n"
           "2. Click 'Enable KML Conversion'\r\n"
           "3. Click 'Convert KML to Shapefile' and browse to the .kml file you want to convert "
           "to a polygon shapefile";
}

} // namespace sw::kml
