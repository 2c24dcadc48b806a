#pragma once
// A latitude and longitude written with degree marks or hemisphere letters, as web maps,
// GPS units and documents print them:
//   30°15'N 84°30'W          30°15'00.0"N 84°30'00.0"W     30.25°N, 84.5°W
//   N30 15.000 W84 30.000    30°15′N 84°30′W (primes)      30°15'N, -84°30'
// Each of the two angles is degrees, optionally minutes, optionally seconds; a part is marked
// (°, º or ˚ for degrees; ', ′ or ’ for minutes; ", ″, ” or '' for seconds) or, unmarked,
// takes the next unit after the part before it. Only the last part may have decimals.
// The hemisphere is a letter N, S, E or W (either case) before or after the angle, or a sign;
// not both. Without any mark both angles need their letters ("30.25N 84.5W"). Latitude comes first
// unless the letters say otherwise; S and W are negative. The angles are told apart by a comma, by
// their letters, or by the second degree mark.
//
// A pair of plain decimal numbers ("30.25,-84.5") has neither marks nor letters and is not
// read here: coord/point_csv.h reads those, and sends other texts here.

#include <string>
#include <string_view>

namespace sw {

struct MarkedPoint {
    enum class Kind {
        Point,     // latitude and longitude hold the point
        NotMarked, // the text is not shaped like a marked pair
        Bad        // it is one, but refused: problem says why
    };
    Kind kind = Kind::NotMarked;
    double latitude = 0.0;  // decimal degrees, north positive, in [-90, 90]
    double longitude = 0.0; // decimal degrees, east positive, in [-180, 180]
    std::string problem;    // for Bad, e.g. "minutes 75 must be under 60"
};

MarkedPoint readMarkedPoint(std::string_view text);

} // namespace sw
