#pragma once
// The fire or incident attributes that the one shapefile record of a KML conversion carries,
// as the window shows them, and the attribute file that hands them to the working database.

#include <string>

namespace sw::kml {

struct FireAttributes {
    std::string name;
    std::string incidentNumber;
    std::string report;       // "Initial", "Update", "Final", "N/A" or empty
    std::string entryDate;    // "mm-dd-yy" as shown
    std::string startDate;    // "mm-dd-yy" as shown
    std::string area;         // as shown: "1,234.50"
    std::string fuel;
    std::string cause;
    std::string featureType;
    std::string percent;      // "45.00%"
    std::string significance; // "Yes", "No", "N/A" or empty
};

// The attribute file's one line: the record number 1, then the eleven texts quoted, in the
// order of the FIRE_DAT columns, ending in CR LF.
std::string attributeLine(const FireAttributes& attributes);

} // namespace sw::kml
