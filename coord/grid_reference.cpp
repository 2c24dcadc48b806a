#include "coord/grid_reference.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>

#include "coord/number_text.h"
#include "coord/utm_usng.h"

namespace sw {
namespace {

using lltoAlbers::LatLong;

constexpr std::string_view bandLetters = "CDEFGHJKLMNPQRSTUVWX";
constexpr double southernmost = -80.0;
constexpr double northernmost = 84.0;
constexpr double hundredKm = 100000.0;
constexpr double rowCycle = 2000000.0; // the row letters repeat every 2000 km
constexpr double southFalseNorthing = 10000000.0;
// Written references are rounded to the metre (UTM texts to the centimetre), so a point
// within half a metre of a band edge may carry either band.
constexpr double roundingSlack = 0.5;
constexpr double utmCellHalf = 0.005; // UTM texts carry centimetres

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
bool isLetter(char c) {
    return c >= 'A' && c <= 'Z';
}
bool isPolarBand(char c) {
    return c == 'A' || c == 'B' || c == 'Y' || c == 'Z';
}

GridReading notGrid(std::string problem = "not a grid reference") {
    GridReading r;
    r.kind = GridReading::Kind::NotGrid;
    r.problem = std::move(problem);
    return r;
}

GridReading refused(std::string problem) {
    GridReading r;
    r.kind = GridReading::Kind::Bad;
    r.problem = std::move(problem);
    return r;
}

GridReading polar() {
    return refused("polar grid references (bands A, B, Y and Z, beyond 84 N and 80 S) are not "
                   "supported");
}

GridReading at(LatLong p) {
    GridReading r;
    r.kind = GridReading::Kind::Point;
    r.latitude = p.latitude;
    r.longitude = p.longitude;
    return r;
}

struct Band {
    double south = 0;
    double north = 0;
};

// For a letter of bandLetters.
Band bandOf(char letter) {
    const auto index = static_cast<double>(bandLetters.find(letter));
    Band b;
    b.south = southernmost + 8.0 * index;
    b.north = letter == 'X' ? northernmost : b.south + 8.0;
    return b;
}

// The latitudes a rectangle of the zone's grid covers. Along a line of constant northing the
// latitude is furthest from the equator on the central meridian and nearest at the edge
// furthest from it, so the corners and the central meridian bound it.
struct Span {
    double south = 0;
    double north = 0;
};
Span latitudeSpan(int zone, bool north, double east0, double east1, double north0, double north1) {
    const std::array<double, 3> eastings{east0, east1, std::clamp(500000.0, east0, east1)};
    Span s{90.0, -90.0};
    for (const double n : {north0, north1}) {
        for (const double e : eastings) {
            const double lat = lltoAlbers::latLongFromUtm(zone, north, e, n).latitude;
            s.south = std::min(s.south, lat);
            s.north = std::max(s.north, lat);
        }
    }
    return s;
}

// A written reference names its zone and band; a point the forward path wrote it for lies
// inside both, while the centre of its rounding cell may lie a hair outside (up to half a
// metre from a zone or band edge). Such a point is moved onto the edge, just inside, so that
// it writes the same reference again. Points further out (a square straddling an edge, a
// coordinate carried on into the next zone) are left where they are.
constexpr double edgeReach = 1.0;    // metres: half the diagonal of a 1 m cell, with room
constexpr double justInside = 1e-11; // degrees, a micrometre, kept by 12-decimal degree texts
constexpr double metresPerDegree = 111320.0;

double clampNear(double value, double low, double high, double metresPerUnit) {
    if (value < low + justInside && (low - value) * metresPerUnit <= edgeReach) {
        return low + justInside;
    }
    if (value > high - justInside && (value - high) * metresPerUnit <= edgeReach) {
        return high - justInside;
    }
    return value;
}

// The latitudes a reference allows: its band, or without one its hemisphere.
Band allowedLatitudes(char band, bool north) {
    if (band != '\0') {
        return bandOf(band);
    }
    return north ? Band{0.0, northernmost} : Band{southernmost, 0.0};
}

// A read reference: its zone, band (or '\0') and hemisphere, the easting and northing it
// gives, and the half-width of the cell that writing rounds to (half a metre for a 1 m grid
// reference, half a centimetre for a UTM text, 0 where nothing is written that fine).
struct Named {
    int zone = 0;
    char band = '\0';
    bool north = true;
    double easting = 0;
    double northing = 0;
    double cellHalf = 0;
};

// Moved onto an edge, a point can leave the cell: the edge crosses the grid at a slant (the
// more so the higher the latitude), and near a corner of the cell the straight move ends
// outside it. Sliding along the edge line (the parallel, or the meridian) finds the part of
// the line inside the cell; the point goes to its middle. Over a cell the line is straight.
LatLong slideIntoCell(const Named& r, LatLong q, bool alongParallel) {
    constexpr double step = 1e-6; // degrees
    const auto moved = [&](double t) {
        LatLong x = q;
        (alongParallel ? x.longitude : x.latitude) += t;
        return x;
    };
    const lltoAlbers::UtmPoint w0 = lltoAlbers::utmInZone(q.latitude, q.longitude, r.zone);
    const LatLong q1 = moved(step);
    const lltoAlbers::UtmPoint w1 = lltoAlbers::utmInZone(q1.latitude, q1.longitude, r.zone);
    double low = -1.0;
    double high = 1.0;
    const double margin = 0.001 * r.cellHalf; // room for the last digits of the texts
    const auto keepWithin = [&](double value, double perDegree, double centre) {
        const double a = (centre - r.cellHalf + margin - value) / perDegree;
        const double b = (centre + r.cellHalf - margin - value) / perDegree;
        low = std::max(low, std::min(a, b));
        high = std::min(high, std::max(a, b));
    };
    keepWithin(w0.easting, (w1.easting - w0.easting) / step, r.easting);
    keepWithin(w0.northing, (w1.northing - w0.northing) / step, r.northing);
    if (!(low <= high)) {
        return q; // the line misses the cell: nothing better than the edge itself
    }
    return moved((low + high) / 2.0);
}

LatLong pointOf(const Named& r) {
    LatLong p = lltoAlbers::latLongFromUtm(r.zone, r.north, r.easting, r.northing);
    const Band allowed = allowedLatitudes(r.band, r.north);

    // Onto the band edge along the meridian, then along it into the cell.
    const double latitude = clampNear(p.latitude, allowed.south, allowed.north, metresPerDegree);
    if (latitude != p.latitude) {
        p.latitude = latitude;
        if (r.cellHalf > 0.0) {
            p = slideIntoCell(r, p, true);
        }
    }

    // Onto the zone edge along the parallel, counting longitudes from the central meridian.
    const double centralMeridian = (r.zone - 1) * 6 - 180 + 3;
    double west = -3.0;
    double east = 3.0;
    if (p.latitude >= 56.0 && p.latitude < 64.0 && (r.zone == 31 || r.zone == 32)) {
        west = r.zone == 32 ? -6.0 : -3.0; // zone 32 reaches west to 3 E there
        east = r.zone == 32 ? 3.0 : 0.0;
    }
    double offset = p.longitude - centralMeridian;
    offset -= 360.0 * std::floor((offset + 180.0) / 360.0);
    const double moved = clampNear(
        offset, west, east, metresPerDegree * std::cos(p.latitude * 3.14159265358979 / 180.0));
    if (moved != offset) {
        double lon = centralMeridian + moved;
        lon -= 360.0 * std::floor((lon + 180.0) / 360.0);
        p.longitude = lon;
        if (r.cellHalf > 0.0) {
            p = slideIntoCell(r, p, false);
            // In a corner of zone and band the slide may cross the band edge again.
            p.latitude = clampNear(p.latitude, allowed.south, allowed.north, metresPerDegree);
        }
    }
    return p;
}

bool touches(const Span& s, double south, double north) {
    return s.north >= south && s.south < north;
}

std::string bandMismatch(char band, int zone) {
    return std::string("Band letter ") + band + " does not match zone " + std::to_string(zone) +
           " at this northing";
}

// The text, upper-cased, walked part by part.
class Scanner {
public:
    explicit Scanner(std::string_view text) {
        text_.reserve(text.size());
        for (const char c : text) {
            text_.push_back(c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c);
        }
    }
    void skipBlanks() {
        while (i_ < text_.size() && isBlank(text_[i_])) {
            ++i_;
        }
    }
    bool atEnd() const { return i_ >= text_.size(); }
    char peek() const { return atEnd() ? '\0' : text_[i_]; }
    std::string_view digits() {
        const std::size_t start = i_;
        while (i_ < text_.size() && isDigit(text_[i_])) {
            ++i_;
        }
        return std::string_view(text_).substr(start, i_ - start);
    }
    // Letters, blanks allowed between them, up to the next digit or the end.
    std::string letters() {
        std::string out;
        skipBlanks();
        while (isLetter(peek())) {
            out.push_back(text_[i_++]);
            skipBlanks();
        }
        return out;
    }
    // A metre value: a number (the program's one rule for which texts are numbers), then an
    // optional "M", "ME" or "MN" as GPS units print them.
    bool metres(double& value) {
        const std::size_t start = i_;
        while (!atEnd() && !isBlank(peek())) {
            ++i_;
        }
        std::string_view token = std::string_view(text_).substr(start, i_ - start);
        for (const std::string_view unit : {"ME", "MN", "M"}) {
            if (token.size() > unit.size() && token.ends_with(unit)) {
                token.remove_suffix(unit.size());
                break;
            }
        }
        const std::optional<double> number = readNumber(token);
        if (!number) {
            return false;
        }
        value = *number;
        return true;
    }

private:
    std::string text_;
    std::size_t i_ = 0;
};

int digitValue(std::string_view digits) {
    int v = 0;
    for (const char c : digits) {
        v = v * 10 + (c - '0');
    }
    return v;
}

GridReading readUsng(int zone, const std::string& letters, std::string_view eastDigits,
                     std::string_view northDigits) {
    const char band = letters[0];
    const int set = zone % 6 == 0 ? 6 : zone % 6;
    const std::size_t column = lltoAlbers::squareColumnLetters(set).find(letters[1]);
    const std::size_t row = lltoAlbers::squareRowLetters(set).find(letters[2]);
    if (column == std::string_view::npos || row == std::string_view::npos) {
        return refused("100 km square letters " + letters.substr(1, 2) + " do not exist in zone " +
                       std::to_string(zone));
    }
    const auto precision = static_cast<int>(eastDigits.size());
    const double size = std::pow(10.0, 5 - precision);
    // A 1 m reference is the metre the forward path rounds to its digits; a coarser one is the
    // square whose south-west corner its digits give, as it is read off a map.
    const double toCentre = precision == 5 ? 0.0 : size / 2.0;
    const double easting =
        static_cast<double>(column + 1) * hundredKm + digitValue(eastDigits) * size + toCentre;
    const double inCycle =
        static_cast<double>(row) * hundredKm + digitValue(northDigits) * size + toCentre;

    // The band says which 2000 km cycle of rows is meant: the one nearest the band's middle.
    const bool north = band >= 'N';
    const Band b = bandOf(band);
    const double middle = lltoAlbers::centralMeridianNorthing((b.south + b.north) / 2.0);
    double northing = inCycle;
    for (int cycle = 1; cycle <= 5; ++cycle) {
        const double candidate = inCycle + cycle * rowCycle;
        if (std::fabs(candidate - middle) < std::fabs(northing - middle)) {
            northing = candidate;
        }
    }
    const double reach = size / 2.0 + roundingSlack;
    const Span span = latitudeSpan(zone, north, easting - reach, easting + reach, northing - reach,
                                   northing + reach);
    if (!touches(span, b.south, b.north)) {
        return refused(bandMismatch(band, zone));
    }
    Named named;
    named.zone = zone;
    named.band = band;
    named.north = north;
    named.easting = easting;
    named.northing = northing;
    named.cellHalf = precision == 5 ? 0.5 : 0.0;
    return at(pointOf(named));
}

// The span of a UTM point, widened by the rounding of written coordinates.
Span pointSpan(int zone, bool north, double easting, double northing) {
    return latitudeSpan(zone, north, easting - roundingSlack, easting + roundingSlack,
                        northing - roundingSlack, northing + roundingSlack);
}

GridReading readUtm(int zone, char letter, double easting, double northing, char hemisphere) {
    if (!(easting > 0.0 && easting < 1000000.0)) {
        return refused("easting " + recordNumberText(easting) +
                       " is outside the zone (0 to 1000000 m)");
    }
    if (!(northing >= 0.0 && northing <= southFalseNorthing)) {
        return refused("northing " + recordNumberText(northing) +
                       " is outside the grid (0 to 10000000 m)");
    }
    if (letter != '\0') {
        if (isPolarBand(letter)) {
            return polar();
        }
        if (bandLetters.find(letter) == std::string_view::npos) {
            return refused(std::string(1, letter) +
                           " is not a latitude band letter (C to X, without I and O)");
        }
        const bool north = letter >= 'N';
        const Band b = bandOf(letter);
        if (hemisphere != '\0' && (hemisphere == 'N') != north) {
            return refused(std::string("band letter ") + letter + " is not in hemisphere " +
                           hemisphere);
        }
        if (touches(pointSpan(zone, north, easting, northing), b.south, b.north)) {
            return at(pointOf(Named{zone, letter, north, easting, northing, utmCellHalf}));
        }
        if (hemisphere != '\0' || (letter != 'N' && letter != 'S')) {
            return refused(bandMismatch(letter, zone));
        }
        hemisphere = letter; // "17N 490932 2788611": not band N, the northern hemisphere
    }
    if (hemisphere == '\0') {
        return refused("zone " + std::to_string(zone) +
                       " needs a latitude band letter, or N or S for the hemisphere");
    }
    const bool north = hemisphere == 'N';
    if (!touches(pointSpan(zone, north, easting, northing), southernmost, northernmost)) {
        return polar();
    }
    return at(pointOf(Named{zone, '\0', north, easting, northing, utmCellHalf}));
}

// The rest of a USNG reference after its zone and letters: the digits, then the checks.
GridReading readUsngDigits(Scanner& s, int zone, const std::string& letters,
                           std::string_view wrongForm) {
    std::string_view east = s.digits();
    s.skipBlanks();
    std::string_view north = s.digits();
    s.skipBlanks();
    if (!s.atEnd()) {
        return notGrid(std::string(wrongForm));
    }
    if (zone < 1 || zone > 60) {
        return refused("zone " + std::to_string(zone) + " does not exist (zones 1 to 60)");
    }
    if (letters.size() == 2) {
        // What the forward path writes beyond 84 N and 80 S, where no band exists.
        return refused("zone " + std::to_string(zone) +
                       " has no latitude band letter: " + polar().problem);
    }
    if (isPolarBand(letters[0])) {
        return polar();
    }
    if (bandLetters.find(letters[0]) == std::string_view::npos) {
        return refused(std::string(1, letters[0]) +
                       " is not a latitude band letter (C to X, without I and O)");
    }
    if (north.empty() && east.size() % 2 == 0) {
        north = east.substr(east.size() / 2);
        east = east.substr(0, east.size() / 2);
    }
    if (east.size() != north.size()) {
        return refused("easting and northing must have the same number of digits");
    }
    if (east.size() > 5) {
        return refused("easting and northing have at most five digits each (1 m)");
    }
    return readUsng(zone, letters, east, north);
}

} // namespace

GridReading readGridReference(std::string_view text, GridForm form) {
    const std::string_view wrongForm = form == GridForm::Usng  ? "not a USNG reference"
                                       : form == GridForm::Utm ? "not a UTM coordinate"
                                                               : "not a grid reference";
    Scanner s(text);
    s.skipBlanks();
    if (s.atEnd()) {
        return notGrid(std::string(wrongForm));
    }
    if (isLetter(s.peek())) {
        // A polar reference starts with its band letter (no zone).
        return isPolarBand(s.peek()) ? polar() : notGrid(std::string(wrongForm));
    }
    const std::string_view zoneDigits = s.digits();
    if (zoneDigits.empty() || zoneDigits.size() > 2 ||
        !(s.atEnd() || isBlank(s.peek()) || isLetter(s.peek()))) {
        return notGrid(std::string(wrongForm));
    }
    const int zone = digitValue(zoneDigits);
    const std::string letters = s.letters();
    const bool usngShaped = letters.size() == 2 || letters.size() == 3;
    if (letters.size() > 3 || (usngShaped && form == GridForm::Utm) ||
        (!usngShaped && form == GridForm::Usng)) {
        return notGrid(std::string(wrongForm));
    }

    if (usngShaped) {
        return readUsngDigits(s, zone, letters, wrongForm);
    }

    double easting = 0.0;
    double northing = 0.0;
    if (!s.metres(easting)) {
        return notGrid(std::string(wrongForm));
    }
    s.skipBlanks();
    if (!s.metres(northing)) {
        return notGrid(std::string(wrongForm));
    }
    const std::string after = s.letters();
    if (!s.atEnd() || !(after.empty() || after == "N" || after == "S")) {
        return notGrid(std::string(wrongForm));
    }
    if (zone < 1 || zone > 60) {
        return refused("zone " + std::to_string(zone) + " does not exist (zones 1 to 60)");
    }
    return readUtm(zone, letters.empty() ? '\0' : letters[0], easting, northing,
                   after.empty() ? '\0' : after[0]);
}

} // namespace sw
