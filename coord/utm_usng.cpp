#include "coord/utm_usng.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <string_view>

#include "coord/number_text.h"

namespace sw::lltoAlbers {
namespace {

constexpr double semiMajor = 6378137.0;
constexpr double semiMinor = 6356752.31424518;
constexpr double scale = 0.9996;
constexpr double toRadians = 3.14159265358979 / 180.0;
constexpr double falseEasting = 500000.0;
constexpr double southFalseNorthing = 10000000.0;

struct Ellipsoid {
    double e2 = 0;
    double e4 = 0;
    double e6 = 0;
    double ep2 = 0; // second eccentricity squared
};

const Ellipsoid& ellipsoid() {
    static const Ellipsoid el = [] {
        Ellipsoid x;
        const double f = (semiMajor - semiMinor) / semiMajor;
        x.e2 = 2.0 * f - f * f;
        x.e4 = x.e2 * x.e2;
        x.e6 = x.e2 * x.e4;
        x.ep2 = x.e2 / (1.0 - x.e2);
        return x;
    }();
    return el;
}

double normalisedLongitude(double longitude) {
    return (longitude + 180.0) - 360.0 * std::floor((longitude + 180.0) / 360.0) - 180.0;
}

int zoneOfNormalised(double latitude, double lon) {
    int zone = static_cast<int>(std::floor((lon + 180.0) / 6.0)) + 1;
    // Points on these three meridians go to the zone west of them, as the agency has always
    // recorded them (the state straddles 84 W).
    if (lon == -90.0 || lon == -84.0 || lon == -78.0) {
        zone -= 1;
    }
    if (latitude >= 56.0 && latitude < 64.0 && lon >= 3.0 && lon < 12.0) {
        zone = 32;
    }
    return zone;
}

constexpr std::array<std::string_view, 7> columnLetters{
    "", "ABCDEFGH", "JKLMNPQR", "STUVWXYZ", "ABCDEFGH", "JKLMNPQR", "STUVWXYZ"};
constexpr std::array<std::string_view, 7> rowLetters{"",
                                                     "ABCDEFGHJKLMNPQRSTUV",
                                                     "FGHJKLMNPQRSTUVABCDE",
                                                     "ABCDEFGHJKLMNPQRSTUV",
                                                     "FGHJKLMNPQRSTUVABCDE",
                                                     "ABCDEFGHJKLMNPQRSTUV",
                                                     "FGHJKLMNPQRSTUVABCDE"};

// Whole metres, ties to even; out-of-range or non-finite values (only from latitudes at or
// beyond the poles) become 0 rather than undefined integer conversions.
std::int64_t wholeMetres(double metres) {
    const double r = roundTiesToEven(metres);
    if (!std::isfinite(r) || std::fabs(r) > 9.0e15) {
        return 0;
    }
    return static_cast<std::int64_t>(r);
}

// The last five digits of whole metres, zero-padded.
void appendFiveDigits(std::string& out, std::int64_t metres) {
    std::int64_t m = (metres < 0 ? -metres : metres) % 100000;
    std::array<char, 5> digits{};
    for (auto d = digits.rbegin(); d != digits.rend(); ++d) {
        *d = static_cast<char>('0' + m % 10);
        m /= 10;
    }
    out.append(digits.data(), digits.size());
}

void appendSquareLetters(std::string& out, int set, std::int64_t northing, std::int64_t easting) {
    if (set < 1 || set > 6 || easting < 0) {
        return;
    }
    // Rows repeat every 2000 km, columns every 800 km (the modular form of subtracting 20 or 8
    // until in range, safe for any magnitude).
    std::int64_t row = (northing < 0 ? -northing : northing) / 100000 + 1;
    if (row > 20) {
        row = (row - 1) % 20 + 1;
    }
    std::int64_t column = easting / 100000;
    if (column > 8) {
        column = (column - 1) % 8 + 1;
    }
    if (column == 0) {
        column = 7;
    }
    const auto s = static_cast<std::size_t>(set);
    out.push_back(columnLetters[s][static_cast<std::size_t>(column - 1)]);
    out.push_back(rowLetters[s][static_cast<std::size_t>(row - 1)]);
}

// The exact transverse Mercator inverse: the third flattening n, the rectifying radius A and
// Krueger's coefficients for going from the projection plane back to conformal coordinates.
struct Inverse {
    double e = 0;
    double e2m = 0; // 1 - e^2
    double rectifying = 0;
    std::array<double, 6> beta{};
};

const Inverse& inverse() {
    static const Inverse inv = [] {
        Inverse x;
        const double f = (semiMajor - semiMinor) / semiMajor;
        const double e2 = 2.0 * f - f * f;
        x.e = std::sqrt(e2);
        x.e2m = 1.0 - e2;
        const double n = f / (2.0 - f);
        const double n2 = n * n;
        const double n3 = n2 * n;
        const double n4 = n3 * n;
        const double n5 = n4 * n;
        const double n6 = n5 * n;
        x.rectifying = semiMajor / (1.0 + n) * (1.0 + n2 / 4.0 + n4 / 64.0 + n6 / 256.0);
        x.beta = {n / 2.0 - 2.0 * n2 / 3.0 + 37.0 * n3 / 96.0 - n4 / 360.0 - 81.0 * n5 / 512.0 +
                      96199.0 * n6 / 604800.0,
                  n2 / 48.0 + n3 / 15.0 - 437.0 * n4 / 1440.0 + 46.0 * n5 / 105.0 -
                      1118711.0 * n6 / 3870720.0,
                  17.0 * n3 / 480.0 - 37.0 * n4 / 840.0 - 209.0 * n5 / 4480.0 +
                      5569.0 * n6 / 90720.0,
                  4397.0 * n4 / 161280.0 - 11.0 * n5 / 504.0 - 830251.0 * n6 / 7257600.0,
                  4583.0 * n5 / 161280.0 - 108847.0 * n6 / 3991680.0,
                  20648693.0 * n6 / 638668800.0};
        return x;
    }();
    return inv;
}

// tan of the conformal latitude for tan of the geodetic latitude.
double conformalTan(const Inverse& inv, double tau) {
    const double tau1 = std::hypot(1.0, tau);
    const double sigma = std::sinh(inv.e * std::atanh(inv.e * tau / tau1));
    return std::hypot(1.0, sigma) * tau - sigma * tau1;
}

// tan of the geodetic latitude for tan of the conformal latitude, by Newton's method (a few
// steps reach full precision anywhere short of the poles).
double geodeticTan(const Inverse& inv, double taup) {
    double tau = taup / inv.e2m;
    const double tolerance = std::sqrt(std::numeric_limits<double>::epsilon()) / 10.0;
    for (int i = 0; i < 8; ++i) {
        const double taupa = conformalTan(inv, tau);
        const double step = (taup - taupa) * (1.0 + inv.e2m * tau * tau) /
                            (inv.e2m * std::hypot(1.0, tau) * std::hypot(1.0, taupa));
        tau += step;
        if (!(std::fabs(step) >= tolerance * std::max(1.0, std::fabs(tau)))) {
            break;
        }
    }
    return tau;
}

} // namespace

LatLong latLongFromUtm(int zone, bool north, double easting, double northing) {
    const Inverse& inv = inverse();
    const double xi = (north ? northing : northing - southFalseNorthing) / scale / inv.rectifying;
    const double eta = (easting - falseEasting) / scale / inv.rectifying;
    double xip = xi;
    double etap = eta;
    for (std::size_t j = 0; j < inv.beta.size(); ++j) {
        const double k = 2.0 * static_cast<double>(j + 1);
        xip -= inv.beta[j] * std::sin(k * xi) * std::cosh(k * eta);
        etap -= inv.beta[j] * std::cos(k * xi) * std::sinh(k * eta);
    }
    const double sinhEtap = std::sinh(etap);
    const double cosXip = std::cos(xip);
    const double taup = std::sin(xip) / std::hypot(sinhEtap, cosXip);
    const double lambda = std::atan2(sinhEtap, cosXip);
    const double centralMeridian = (zone - 1) * 6 - 180 + 3;
    LatLong p;
    p.latitude = std::atan(geodeticTan(inv, taup)) / toRadians;
    p.longitude = normalisedLongitude(centralMeridian + lambda / toRadians);
    return p;
}

double centralMeridianNorthing(double latitude) {
    // On the central meridian the forward series is the meridian arc alone.
    const double lon = -177.0; // zone 1's central meridian
    return utmFromLatLong(latitude, lon).northing;
}

double Square(double x) {
    return x * x;
}

std::string bandLetter(double latitude) {
    static constexpr std::string_view bands = "CDEFGHJKLMNPQRSTUVWX";
    if (!(latitude >= -80.0 && latitude < 84.0)) {
        return {};
    }
    const int index = latitude >= 72.0 ? 19 : static_cast<int>(std::floor((latitude + 80.0) / 8.0));
    return std::string(1, bands[static_cast<std::size_t>(index)]);
}

int utmZone(double latitude, double longitude) {
    return zoneOfNormalised(latitude, normalisedLongitude(longitude));
}

UtmPoint utmFromLatLong(double latitude, double longitude) {
    return utmInZone(latitude, longitude,
                     zoneOfNormalised(latitude, normalisedLongitude(longitude)));
}

UtmPoint utmInZone(double latitude, double longitude, int zone) {
    const Ellipsoid& el = ellipsoid();
    const double lon = normalisedLongitude(longitude);
    UtmPoint p;
    p.zone = zone;
    p.band = bandLetter(latitude);
    const double centralMeridian = (p.zone - 1) * 6 - 180 + 3;

    const double phi = latitude * toRadians;
    const double sinPhi = std::sin(phi);
    const double cosPhi = std::cos(phi);
    const double tanPhi = std::tan(phi);
    const double n = semiMajor / std::sqrt(1.0 - el.e2 * Square(sinPhi));
    const double t = Square(tanPhi);
    const double c = el.ep2 * Square(cosPhi);
    double fromMeridian = lon - centralMeridian;
    if (fromMeridian < -180.0) { // only for a zone given across the 180th meridian
        fromMeridian += 360.0;
    } else if (fromMeridian >= 180.0) {
        fromMeridian -= 360.0;
    }
    const double a = cosPhi * fromMeridian * toRadians;
    const double m =
        semiMajor *
        ((1.0 - el.e2 / 4.0 - 3.0 * el.e4 / 64.0 - 5.0 * el.e6 / 256.0) * phi -
         (3.0 * el.e2 / 8.0 + 3.0 * el.e4 / 32.0 + 45.0 * el.e6 / 1024.0) * std::sin(2.0 * phi) +
         (15.0 * el.e4 / 256.0 + 45.0 * el.e6 / 1024.0) * std::sin(4.0 * phi) -
         (35.0 * el.e6 / 3072.0) * std::sin(6.0 * phi));

    const double a2 = Square(a);
    const double a3 = a2 * a;
    const double a4 = Square(a2);
    p.easting = scale * n *
                    (a + (1.0 - t + c) * a3 / 6.0 +
                     (5.0 - 18.0 * t + Square(t) + 72.0 * c - 58.0 * el.ep2) * a4 * a / 120.0) +
                falseEasting;
    p.northing =
        scale *
        (m + n * tanPhi *
                 (a2 / 2.0 + (5.0 - t + 9.0 * c + 4.0 * Square(c)) * a4 / 24.0 +
                  (61.0 - 58.0 * t + Square(t) + 600.0 * c - 330.0 * el.ep2) * a4 * a2 / 720.0));
    if (latitude < 0.0) {
        p.northing += southFalseNorthing;
    }
    return p;
}

std::string_view squareColumnLetters(int set) {
    return set >= 1 && set <= 6 ? columnLetters[static_cast<std::size_t>(set)] : std::string_view{};
}

std::string_view squareRowLetters(int set) {
    return set >= 1 && set <= 6 ? rowLetters[static_cast<std::size_t>(set)] : std::string_view{};
}

std::string GridSquareLetters(int set, std::int64_t northing, std::int64_t easting) {
    std::string letters;
    appendSquareLetters(letters, set, northing, easting);
    return letters;
}

void appendUtmUsng(std::string& out, double latitude, double longitude, char separator) {
    const UtmPoint p = utmFromLatLong(latitude, longitude);
    std::array<char, 16> designator{};
    char* end = std::to_chars(designator.data(), designator.data() + 12, p.zone).ptr;
    if (!p.band.empty()) {
        *end++ = p.band.front();
    }
    const std::string_view zoneAndBand(designator.data(),
                                       static_cast<std::size_t>(end - designator.data()));

    out += zoneAndBand;
    out.push_back(' ');
    appendDigitPattern(out, p.easting, "000000.00");
    out.push_back(' ');
    appendDigitPattern(out, p.northing, "000000.00");
    out.push_back(separator);

    // Rounded, not truncated: the agency's grid references have always been rounded to the
    // nearest metre (ties to even), e.g. easting 740550.42 -> 40550 but 740550.62 -> 40551.
    const std::int64_t e1 = wholeMetres(p.easting);
    const std::int64_t n1 = wholeMetres(p.northing);
    const int set = p.zone % 6 == 0 ? 6 : p.zone % 6;
    out += zoneAndBand;
    out.push_back(' ');
    appendSquareLetters(out, set, n1, e1);
    out.push_back(' ');
    appendFiveDigits(out, e1);
    out.push_back(' ');
    appendFiveDigits(out, n1);
}

UtmUsng UtmUsngFromLatLong(double latitude, double longitude) {
    std::string both;
    both.reserve(48);
    appendUtmUsng(both, latitude, longitude, '\n');
    const std::size_t gap = both.find('\n');
    return {both.substr(0, gap), both.substr(gap + 1)};
}

} // namespace sw::lltoAlbers
