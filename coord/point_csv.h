#pragma once
// Batch conversion of points (decimal degrees, USNG or UTM) into the converter's six hand-back
// texts, as CSV: the engine of the siteward-coords command. Kept apart from main() so tests and
// benchmarks drive exactly the code the command runs.

#include <cstdint>
#include <iosfwd>
#include <string>
#include <string_view>

#include "coord/hand_back.h"

namespace sw {

inline constexpr std::string_view pointCsvHeader = "Latitude,Longitude,AlbersX,AlbersY,UTM,USNG";
// Our text files end lines with CR LF; the CSV does too.
inline constexpr std::string_view pointCsvLineEnd = "\r\n";

// One input line holding a latitude and longitude: the one reader of a point as people write
// or copy it, for the command and for the converter window alike. Accepted forms: "lat,lon"
// or "lat lon" (blanks or tabs), blanks around the numbers allowed, a trailing CR ignored.
// Numbers: optional sign, digits, at most one point, an optional exponent ("1e-05"); no
// "nan"/"inf". Or the pair written with degree marks or hemisphere letters, as web maps and
// GPS units print it ("30°15'N 84°30'W", "N30 15.000 W84 30.000"; coord/marked_point.h).
// Latitude north positive in [-90, 90], longitude east positive in [-180, 180].
struct PointLine {
    enum class Kind { Point, Blank, Bad };
    Kind kind = Kind::Bad;
    double latitude = 0.0;
    double longitude = 0.0;
    std::string problem; // for Bad: what is wrong, e.g. "latitude 91 is outside -90..90"
};
PointLine parsePointLine(std::string_view line);

// How input lines are read: each line on its own (a pair of numbers is a latitude and
// longitude, anything else is tried as a grid reference and then as a pair with degree marks
// or hemisphere letters), or all in one notation.
enum class InputForm { Any, LatLon, Usng, Utm };

// One input line in the given form. Grid references give the point they name (see
// grid_reference.h); a refused one is Bad with the reader's message.
PointLine parseInputLine(std::string_view line, InputForm form);

// The CSV row (with its line end) of one point's texts, appended to `out`.
void appendPointCsvRow(std::string& out, const HandBackTexts& texts);

struct ConversionCount {
    std::int64_t points = 0;  // rows written
    std::int64_t skipped = 0; // bad lines reported and skipped
};

// Reads lines from `in` until its end, writes one CSV row per point to `out` (no header) and a
// message per bad line to `errors` ("<source>:<line>: <problem> - skipped"), both in input
// order. Blank lines are skipped silently. A UTF-8 byte-order mark before the first line is
// ignored. Large inputs are converted in blocks on all the machine's cores (`threads` 0) or on
// the number given; the output does not depend on it.
ConversionCount convertPointLines(std::istream& in, std::string_view sourceName, std::ostream& out,
                                  std::ostream& errors, InputForm form = InputForm::Any,
                                  unsigned threads = 0);

} // namespace sw
