#pragma once
// The fire or incident attributes that the one shapefile record of a KML conversion carries,
// as the window shows them, and the attribute file that hands them to the working database.

#include "wildfires/fire_record.h"

#include <string>

namespace sw::kml {

// The wildfire record without its coordinates (a drawing has no one location), dates as
// "mm-dd-yy", and the feature type the user picked.
struct FireAttributes {
    FireRecord fire;
    std::string featureType;
};

// The attribute file's one line: the record number 1, then the eleven texts quoted, in the
// order of the FIRE_DAT columns, ending in CR LF.
std::string attributeLine(const FireAttributes& attributes);

} // namespace sw::kml
