#pragma once
// What kind of feature a KML drawing is: a wildfire's line or perimeter, another incident, or
// a facility. The category decides the feature types offered, the captions, and which fire
// attributes apply (a facility has no incident number, report, fuel or cause: they read
// "N/A").

#include "wildfires/fire_record.h"

#include <string>
#include <vector>

namespace sw::kml {

enum class FeatureCategory { Wildfire, OtherIncident, Facility };

// The feature types offered for a category, in display order.
const std::vector<std::string>& featureTypes(FeatureCategory category);

// What choosing a category puts into the fire form: the name and start date captions, the
// percent slider, the incident number, the "N/A" options, fuel and cause.
using CategoryEffects = FirePresets;

const CategoryEffects& categoryEffects(FeatureCategory category);

// The procedure shown at the top of the window.
std::string procedureText();

} // namespace sw::kml
