#include "coord/albers.h"

#include <cmath>

#include "coord/number_text.h"

namespace sw::lltoAlbers {
namespace {

// The agency's grid was defined with pi written as 3.14159 and an inverse flattening of
// 298.25. Both are slightly off (within the state a point lands up to about 0.9 m from where a
// true WGS 84 Albers puts it), but every map sheet, shapefile and record of the agency carries
// coordinates computed with exactly these values, so they are kept: changing them would shift
// new points against the old ones.
constexpr double semiMajor = 6378137.0;
constexpr double flattening = 1.0 / 298.25;
constexpr double toRadians = 3.14159 / 180.0;
constexpr double firstParallel = 24.0;
constexpr double secondParallel = 31.5;
constexpr double originLatitude = 24.0;
constexpr double centralMeridian = -84.0;
constexpr double falseEasting = 400000.0;
constexpr double falseNorthing = 0.0;

struct Cone {
    double e2 = 0; // first eccentricity squared
    double e = 0;
    double n = 0; // cone constant
    double c = 0;
    double rho0 = 0; // radius at the latitude of origin
};

double mFactor(const Cone& k, double phi) {
    const double s = std::sin(phi);
    return std::cos(phi) / std::sqrt(1.0 - k.e2 * s * s);
}

double qFactor(const Cone& k, double phi) {
    const double s = std::sin(phi);
    return (1.0 - k.e2) * (s / (1.0 - k.e2 * s * s) -
                           (1.0 / (2.0 * k.e)) * std::log((1.0 - k.e * s) / (1.0 + k.e * s)));
}

Cone makeCone() {
    Cone k;
    k.e2 = 2.0 * flattening - flattening * flattening;
    k.e = std::sqrt(k.e2);
    const double m1 = mFactor(k, firstParallel * toRadians);
    const double m2 = mFactor(k, secondParallel * toRadians);
    const double q1 = qFactor(k, firstParallel * toRadians);
    const double q2 = qFactor(k, secondParallel * toRadians);
    const double q0 = qFactor(k, originLatitude * toRadians);
    k.n = (m1 * m1 - m2 * m2) / (q2 - q1);
    k.c = m1 * m1 + k.n * q1;
    k.rho0 = semiMajor * std::sqrt(k.c - k.n * q0) / k.n;
    return k;
}

const Cone& cone() {
    static const Cone k = makeCone();
    return k;
}

} // namespace

AlbersPoint albersUnrounded(double latitude, double longitude) {
    const Cone& k = cone();
    const double rho = semiMajor * std::sqrt(k.c - k.n * qFactor(k, latitude * toRadians)) / k.n;
    const double theta = k.n * (longitude - centralMeridian) * toRadians;
    return {falseEasting + rho * std::sin(theta), falseNorthing + k.rho0 - rho * std::cos(theta)};
}

AlbersPoint AlbersFromLatLong(double latitude, double longitude) {
    const AlbersPoint p = albersUnrounded(latitude, longitude);
    return {roundHalfAwayFromZero(p.x, 2), roundHalfAwayFromZero(p.y, 2)};
}

} // namespace sw::lltoAlbers
