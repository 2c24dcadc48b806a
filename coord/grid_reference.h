#pragma once
// Grid references read back to latitude and longitude: US National Grid (MGRS) references
// and UTM coordinates, as responders radio them in and GPS units print them, on the same
// WGS 84 grid that UtmUsngFromLatLong writes.
//
// Accepted, in upper or lower case, with any blanks or tabs between the parts:
// - USNG: zone, band, the two 100 km square letters and 0 to 5 digits each of easting and
//   northing, the digits either as two groups or as one run split in half:
//   "17R MH 90932 88611", "17rmh9093288611", "17R MH 9 8" (10 km), "17R MH" (100 km).
//   A reference names a square; the result is its centre (a 10 km reference gives the point
//   5 km east and north of the square's corner). A 1 m reference gives the point of its
//   digits: the forward path rounds to the nearest metre, so the metre it names is centred
//   there, and a reference written by the forward path comes back to itself.
// - UTM: "17R 490932.18 2788611.27" (the forward path's form: zone and band),
//   "17N 490932 2788611" / "17S ..." (zone and hemisphere), "17 490932 2788611 N" / "... S";
//   decimals allowed; an "m", "mE" or "mN" after a number is ignored. N and S are band
//   letters too: after the zone they are read as the band when the northing lies in that band
//   (where the forward path writes them), as the hemisphere otherwise.
// The band letter must fit the northing; a reference whose square touches its band (within
// half a metre, for the rounding of written references) is accepted. Polar references
// (bands A, B, Y, Z and anything beyond 84 N or 80 S) are refused: the polar grid is not
// supported. Zones are taken as written, whatever the longitude: the Norway and Svalbard
// zones read like any other.

#include <string>
#include <string_view>

namespace sw {

// Which notation a text is read as: Any finds out from the text itself.
enum class GridForm { Any, Usng, Utm };

struct GridReading {
    enum class Kind {
        Point,   // latitude and longitude hold the point
        NotGrid, // the text is not shaped like a grid reference at all
        Bad      // it is one, but refused: problem says why
    };
    Kind kind = Kind::NotGrid;
    double latitude = 0.0;  // decimal degrees, north positive
    double longitude = 0.0; // decimal degrees, east positive, in [-180, 180)
    std::string problem;    // for NotGrid and Bad, e.g. "not a grid reference"
};

GridReading readGridReference(std::string_view text, GridForm form = GridForm::Any);

} // namespace sw
