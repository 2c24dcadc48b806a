#pragma once
// UTM coordinates and US National Grid references on WGS 84 (projection module lltoAlbers).
//
// Zones: the 6-degree zones numbered from 180 W, each point belonging to the zone east of a
// zone meridian, except that the meridians 90 W, 84 W and 78 W themselves belong to the zone
// WEST of them (15, 16, 17): the agency's records put points on those lines that way. The one
// irregular zone kept is 32 for 56 <= lat < 64, 3 <= lon < 12; there are no Svalbard zones.
// Bands: 8-degree letters C..X from 80 S, X stretched to 84 N; none outside [-80, 84).
//
// Projection: the transverse Mercator forward series of Snyder (USGS Professional Paper 1395,
// equations 8-9 to 8-11 and 3-21), scale 0.9996, false easting 500000 m, false northing 0 north
// and 10000000 m south of the equator; a = 6378137 m, b = 6356752.31424518 m, degrees to radians
// by 3.14159265358979 / 180. Within the state (24-31.5 N, 79-88 W) it agrees with an exact
// transverse Mercator to well under a centimetre; it degrades far from the central meridian.
//
// Grid references round the easting and northing to whole metres (ties to even) before taking
// the 100 km square letters and the five-digit parts. The national grid standard truncates;
// the agency's records have always rounded, so a point 0.6 m short of a 100 km line carries the
// next square's letters here.

#include <cstdint>
#include <string>
#include <string_view>

namespace sw::lltoAlbers {

struct UtmPoint {
    int zone = 0;          // 1..60
    std::string band;      // "C".."X", or empty outside [-80, 84)
    double easting = 0.0;  // metres, unrounded
    double northing = 0.0; // metres, unrounded, with the false northing south of the equator
};

// latitude, longitude: decimal degrees, north and east positive; any longitude (normalised into
// [-180, 180)). Latitudes beyond +/-90 are not meaningful but are evaluated without failing.
UtmPoint utmFromLatLong(double latitude, double longitude);
// The same series in a zone given by the caller (1..60), whatever the point's own zone.
UtmPoint utmInZone(double latitude, double longitude, int zone);

// The zone of a point (after the normalisation, the tie-break and the zone 32 exception).
int utmZone(double latitude, double longitude);
// The band letter of a latitude, empty outside [-80, 84).
std::string bandLetter(double latitude);

struct UtmUsng {
    std::string utm;  // "16R 740550.42 3349132.77": designator, easting, northing ("000000.00")
    std::string usng; // "16R GU 40550 49133": designator, square letters, five-digit parts
};

// Both texts of a point. Example: (30.25, -84.5) -> "16R 740550.42 3349132.77",
// "16R GU 40550 49133". A point outside [-80, 84) gets a designator without band ("16 ...").
UtmUsng UtmUsngFromLatLong(double latitude, double longitude);
// The same two texts appended to `out` with `separator` between them, for batch output.
void appendUtmUsng(std::string& out, double latitude, double longitude, char separator);

// The two 100 km square letters (column letter first) for the letter set `set`
// (= zone mod 6, 0 counting as 6), a whole-metre northing and easting. Empty text for a set
// outside 1..6 (and for a negative easting, which no zone produces).
std::string GridSquareLetters(int set, std::int64_t northing, std::int64_t easting);

// x times x.
double Square(double x);

// The way back: the point of a UTM easting and northing in `zone` (1..60), with the same
// ellipsoid, scale, false easting and northing and degree constant as the forward path.
// `north` false means the northing carries the 10000000 m false northing of the south.
// Exact transverse Mercator (Krueger's series to sixth order in the third flattening), so it
// agrees with any exact inverse to a few nanometres within the zone and far beyond it; the
// forward series above stays within a millimetre of it inside the zones, which is what lets
// every text the forward path writes come back to itself. The longitude is normalised into
// [-180, 180). Inputs beyond the pole (a northing past the quarter meridian) give latitudes
// that are not meaningful; callers refuse them before.
struct LatLong {
    double latitude = 0.0;
    double longitude = 0.0;
};
LatLong latLongFromUtm(int zone, bool north, double easting, double northing);

// The northing of a latitude on the central meridian (with the south's false northing below
// the equator): where the forward path puts a band edge, used to decode the row letters.
double centralMeridianNorthing(double latitude);

// The column and row letters of the 100 km squares for letter set `set` (1..6, as in
// GridSquareLetters): the column letter at index i stands for eastings from (i + 1) x 100 km,
// the row letter at index j for northings j x 100 km modulo 2000 km.
std::string_view squareColumnLetters(int set);
std::string_view squareRowLetters(int set);

} // namespace sw::lltoAlbers
