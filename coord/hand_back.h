#pragma once
// The six texts that the coordinate converter hands back to a task window for one location,
// and that the command-line companion writes per point: one routine, so both give the same.

#include <functional>
#include <string>
#include <string_view>

#include "coord/utm_usng.h"

namespace sw {

struct HandBackTexts {
    std::string latitude;  // "00.0000"
    std::string longitude; // "000.0000" (with "-" when west)
    std::string albersX;   // shortest text of the rounded Albers easting, e.g. "351936.72"
    std::string albersY;   // shortest text of the rounded Albers northing, e.g. "693727.66"
    std::string utm;       // "16R 740550.42 3349132.77"
    std::string usng;      // "16R GU 40550 49133"
};

// What receives the converter's results: a task window's result panel, or a test's stand-in.
// The converter knows its target only through this, so a new task window needs nothing in
// the converter.
class HandBackTarget {
public:
    virtual ~HandBackTarget() = default;
    // The six texts after every accepted change, exactly as the converter shows them.
    virtual void receiveCoordinates(const HandBackTexts& texts) = 0;
};

// What every task window's coordinate button calls: show the converter, reset its fields and
// results, and make `target` the receiver of its results. The program hands the same call to
// every window.
using OpenConverter = std::function<void(HandBackTarget& target)>;

// latitude, longitude: decimal degrees, north and east positive (the converter passes its
// current values, the longitude already negative). Albers uses the values themselves; UTM and
// the grid use the two raw texts ("00.000000000000") read back as numbers, exactly as the
// converter's labels do, so the window and the command line never differ.
HandBackTexts handBackTexts(double latitude, double longitude);

// UTM and grid texts from the converter's two raw texts (read with leadingNumber).
lltoAlbers::UtmUsng utmUsngFromRawTexts(std::string_view rawLatitude,
                                        std::string_view rawLongitude);

// The Albers easting or northing as handed back: shortest text of the rounded value.
std::string albersText(double metres);

} // namespace sw
