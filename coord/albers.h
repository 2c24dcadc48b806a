#pragma once
// The state's Albers equal-area conic grid (projection module lltoAlbers): the grid of the
// agency's maps, in which every recorded point is also given.
//
// Parameters: ellipsoid a = 6378137 m, 1/f = 298.25; standard parallels 24 N and 31.5 N;
// latitude of origin 24 N; central meridian 84 W; false easting 400000 m, false northing 0.
// Degrees become radians by multiplying with 3.14159 / 180.
//
// Formulas: the ellipsoidal Albers forward equations in Snyder's form (USGS Professional Paper
// 1395, "Map Projections - A Working Manual", equations 14-15, 3-12, 14-12 to 14-14), evaluated
// directly; no range check. Over the conterminous US, Alaska and Hawaii they agree to well
// under a millimetre with an independent Albers built from the same constants; the odd
// constants themselves (see albers.cpp) put points up to about 0.9 m away from a true Albers
// on WGS 84 within the state (24-31.5 N, 79-88 W).

namespace sw::lltoAlbers {

struct AlbersPoint {
    double x = 0.0; // easting, metres, rounded to 2 decimals (half away from zero)
    double y = 0.0; // northing, metres, rounded to 2 decimals (half away from zero)
};

// latitude, longitude: decimal degrees, north and east positive (the program's longitudes are
// negative). Any finite input is evaluated; the inputs are only read.
// Example: (30.25, -84.5) -> x 351936.72, y 693727.66.
AlbersPoint AlbersFromLatLong(double latitude, double longitude);

// The same without the final rounding (metres), for checks against other implementations.
AlbersPoint albersUnrounded(double latitude, double longitude);

} // namespace sw::lltoAlbers
