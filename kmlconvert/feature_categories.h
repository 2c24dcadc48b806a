#pragma once
// What kind of feature a KML drawing is: a wildfire's line or perimeter, another incident, or
// a facility. The category decides the feature types offered, the captions, and which fire
// attributes apply (a facility has no incident number, report, fuel or cause: they read
// "N/A").

#include <optional>
#include <string>
#include <vector>

namespace sw::kml {

enum class FeatureCategory { Wildfire, OtherIncident, Facility };

// The feature types offered for a category, in display order.
const std::vector<std::string>& featureTypes(FeatureCategory category);

// How a pair of options with an extra "N/A" (report type, significance) is set.
struct NaOptions {
    bool naEnabled = false;
    bool naChosen = false; // choosing "N/A" records "N/A"
    bool othersEnabled = true;
};

// What choosing a category does to the window.
struct CategoryEffects {
    std::string nameCaption;                   // lblF_namey
    std::string timeCaption;                   // lblTime
    bool percentEnabled = true;                // otherwise the slider goes to 0 first
    std::optional<std::string> incidentNumber; // nothing: emptied
    NaOptions report;
    NaOptions significance;
    // Fuel and cause: nothing means emptied with the fire lists offered again, a text means
    // both boxes show it.
    std::optional<std::string> fuelAndCause;
};

const CategoryEffects& categoryEffects(FeatureCategory category);

// The procedure shown at the top of the window.
std::string procedureText();

} // namespace sw::kml
