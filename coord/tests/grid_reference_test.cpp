// Grid references read back to latitude and longitude: the accepted spellings, the messages
// of refused ones, the round trip through the forward path, and the inverse checked against
// GeographicLib (an independent exact transverse Mercator and grid-reference reader).

#include "coord/grid_reference.h"

#include <cmath>
#include <random>
#include <string>

#include <GeographicLib/Geodesic.hpp>
#include <GeographicLib/MGRS.hpp>
#include <GeographicLib/TransverseMercatorExact.hpp>
#include <gtest/gtest.h>

#include "coord/hand_back.h"
#include "coord/utm_usng.h"

namespace sw {
namespace {

using Kind = GridReading::Kind;

double metresApart(double lat1, double lon1, double lat2, double lon2) {
    double s12 = 0;
    GeographicLib::Geodesic::WGS84().Inverse(lat1, lon1, lat2, lon2, s12);
    return s12;
}

TEST(GridReference, SpellingsOfOnePlaceReadTheSame) {
    const GridReading usng = readGridReference("17R MH 90932 88611");
    const GridReading utm = readGridReference("17R 490932 2788611");
    ASSERT_EQ(usng.kind, Kind::Point);
    ASSERT_EQ(utm.kind, Kind::Point);
    // A 1 m reference gives the point of its digits, which is the UTM point itself.
    EXPECT_EQ(usng.latitude, utm.latitude);
    EXPECT_EQ(usng.longitude, utm.longitude);
    const char* const spellings[] = {
        "17RMH9093288611",     "17rmh 90932 88611",       "  17R  MH\t90932   88611 \r",
        "17 R M H 9093288611", "17R MH 9093288611",       "17N 490932 2788611",
        "17 490932 2788611 N", "17 490932.00 2788611 n",  "17R 490932mE 2788611mN",
        "17R 0490932 2788611", "17r 490932.000 2788611.", "17R 490932 2788611 N",
    };
    for (const char* text : spellings) {
        const GridReading r = readGridReference(text);
        ASSERT_EQ(r.kind, Kind::Point) << '"' << text << "\": " << r.problem;
        EXPECT_EQ(r.latitude, usng.latitude) << text;
        EXPECT_EQ(r.longitude, usng.longitude) << text;
    }
    // The forms can be forced; then the other one is not read.
    EXPECT_EQ(readGridReference("17R MH 90932 88611", GridForm::Usng).kind, Kind::Point);
    EXPECT_EQ(readGridReference("17R 490932 2788611", GridForm::Utm).kind, Kind::Point);
    EXPECT_EQ(readGridReference("17R MH 90932 88611", GridForm::Utm).problem,
              "not a UTM coordinate");
    EXPECT_EQ(readGridReference("17R 490932 2788611", GridForm::Usng).problem,
              "not a USNG reference");
}

TEST(GridReference, RefusedReferencesSayWhatIsWrong) {
    struct Case {
        const char* text;
        Kind kind;
        const char* problem;
    };
    const char* const polar =
        "polar grid references (bands A, B, Y and Z, beyond 84 N and 80 S) are not supported";
    const Case cases[] = {
        {"17X 490932 2788611", Kind::Bad, "Band letter X does not match zone 17 at this northing"},
        // Row letter A of zone 17 is 0-100 km north modulo 2000 km: never in band R.
        {"17R MA 1 1", Kind::Bad, "Band letter R does not match zone 17 at this northing"},
        {"17R HV 12345 12345", Kind::Bad, "100 km square letters HV do not exist in zone 17"},
        {"17R MI 1 1", Kind::Bad, "100 km square letters MI do not exist in zone 17"},
        {"16R MH 1 1", Kind::Bad, "100 km square letters MH do not exist in zone 16"},
        {"17R MH 9093 88611", Kind::Bad,
         "easting and northing must have the same number of digits"},
        {"17R MH 909328861", Kind::Bad, "easting and northing must have the same number of digits"},
        {"17R MH 909321 886112", Kind::Bad,
         "easting and northing have at most five digits each (1 m)"},
        {"ZAH 12345 12345", Kind::Bad, polar},
        {"B AN 1 1", Kind::Bad, polar},
        {"17Z MH 1 1", Kind::Bad, polar},
        {"17 490932 9500000 N", Kind::Bad, polar},
        {"17 490932 500000 S", Kind::Bad, polar},
        // What the forward path writes beyond 84 N.
        {"16 GU 40550 49133", Kind::Bad, "zone 16 has no latitude band letter: polar grid"},
        {"17I MH 1 1", Kind::Bad, "I is not a latitude band letter (C to X, without I and O)"},
        {"61R MH 1 1", Kind::Bad, "zone 61 does not exist (zones 1 to 60)"},
        {"0 490932 2788611 N", Kind::Bad, "zone 0 does not exist (zones 1 to 60)"},
        {"17 490932 2788611", Kind::Bad,
         "zone 17 needs a latitude band letter, or N or S for the hemisphere"},
        {"17R 1490932 2788611", Kind::Bad, "easting 1490932 is outside the zone (0 to 1000000 m)"},
        {"17 490932 12788611 N", Kind::Bad,
         "northing 12788611 is outside the grid (0 to 10000000 m)"},
        {"17R 490932 2788611 S", Kind::Bad, "band letter R is not in hemisphere S"},
        {"hello", Kind::NotGrid, "not a grid reference"},
        {"", Kind::NotGrid, "not a grid reference"},
        {"30.25,-84.5", Kind::NotGrid, "not a grid reference"},
        {"17R MH 90932.5 88611", Kind::NotGrid, "not a grid reference"},
        {"17R -490932 2788611", Kind::Bad, "easting -490932 is outside the zone"},
        {"17R 490932 2788611 Q", Kind::NotGrid, "not a grid reference"},
        {"117R MH 1 1", Kind::NotGrid, "not a grid reference"},
        {"17RMHX 1 1", Kind::NotGrid, "not a grid reference"},
    };
    for (const Case& c : cases) {
        const GridReading r = readGridReference(c.text);
        EXPECT_EQ(r.kind, c.kind) << '"' << c.text << '"';
        EXPECT_TRUE(r.problem.starts_with(c.problem))
            << '"' << c.text << "\" gave \"" << r.problem << '"';
    }
}

// Each precision names a square; GeographicLib gives its corner and its centre. The references
// are those the forward path writes for random points, cut to every precision.
TEST(GridReference, EveryPrecisionGivesTheCentreOfItsSquare) {
    const GeographicLib::TransverseMercatorExact& tm =
        GeographicLib::TransverseMercatorExact::UTM();
    std::mt19937_64 rng(23);
    std::uniform_real_distribution<double> lat(-80, 84);
    std::uniform_real_distribution<double> lon(-180, 180);
    int compared = 0;
    for (int i = 0; i < 3000; ++i) {
        const std::string written = lltoAlbers::UtmUsngFromLatLong(lat(rng), lon(rng)).usng;
        // "16R GU 40550 49133" -> designator and letters, then the two five-digit parts
        const std::size_t digits = written.size() - 11;
        const std::string head = written.substr(0, digits - 1);
        for (std::size_t precision = 0; precision <= 5; ++precision) {
            const std::string ref = head + ' ' + written.substr(digits, precision) + ' ' +
                                    written.substr(digits + 6, precision);
            const GridReading r = readGridReference(ref);
            ASSERT_EQ(r.kind, Kind::Point) << ref << ": " << r.problem;
            int zone = 0;
            bool north = false;
            double x = 0;
            double y = 0;
            int prec = 0;
            std::string compact;
            for (const char c : ref) {
                if (c != ' ') {
                    compact.push_back(c);
                }
            }
            try {
                // The 1 m case: the metre the forward path rounds to its digits, so its corner.
                GeographicLib::MGRS::Reverse(compact, zone, north, x, y, prec, precision < 5);
            } catch (const GeographicLib::GeographicErr&) {
                continue; // bands 32X, 34X, 36X: written here, absent from the standard
            }
            double ox = 0;
            double oy = 0;
            tm.Forward((zone - 1) * 6.0 - 177.0, r.latitude, r.longitude, ox, oy);
            ASSERT_NEAR(ox + 500000.0, x, 0.001) << ref;
            ASSERT_NEAR(north ? oy : oy + 10000000.0, y, 0.001) << ref;
            ++compared;
        }
    }
    EXPECT_GT(compared, 17000);
}

TEST(GridReference, InverseAgreesWithAnExactTransverseMercatorWithinOneMillimetre) {
    const GeographicLib::TransverseMercatorExact& tm =
        GeographicLib::TransverseMercatorExact::UTM();
    std::mt19937_64 rng(21);
    std::uniform_real_distribution<double> easting(100000, 900000);
    std::uniform_real_distribution<double> northing(0, 9300000);
    std::uniform_int_distribution<int> zone(1, 60);
    double worst = 0;
    for (int i = 0; i < 50000; ++i) {
        const bool north = i % 2 == 0;
        const int z = zone(rng);
        const double e = easting(rng);
        const double n = north ? northing(rng) : 10000000.0 - northing(rng) + 100000.0;
        const lltoAlbers::LatLong ours = lltoAlbers::latLongFromUtm(z, north, e, n);
        double lat = 0;
        double lon = 0;
        tm.Reverse((z - 1) * 6.0 - 177.0, e - 500000.0, north ? n : n - 10000000.0, lat, lon);
        const double apart = metresApart(ours.latitude, ours.longitude, lat, lon);
        worst = std::max(worst, apart);
        ASSERT_LT(apart, 0.001) << z << (north ? "N " : "S ") << e << ' ' << n;
    }
    RecordProperty("worst_metres", std::to_string(worst));
}

// What the forward path writes (through the same texts the converter hands back) reads back to
// a point that writes the same texts again, including points on and beside the zone and band
// edges, where the centre of a rounded metre can lie across the line.
void expectRoundTrip(double lat, double lon) {
    const HandBackTexts written = handBackTexts(lat, lon);
    for (const bool usng : {true, false}) {
        const std::string& text = usng ? written.usng : written.utm;
        const GridReading r = readGridReference(text);
        ASSERT_EQ(r.kind, Kind::Point)
            << lat << ", " << lon << " \"" << text << "\": " << r.problem;
        const HandBackTexts again = handBackTexts(r.latitude, r.longitude);
        ASSERT_EQ(usng ? again.usng : again.utm, text) << lat << ", " << lon;
        ASSERT_LT(metresApart(lat, lon, r.latitude, r.longitude), 1.0) << text;
    }
}

TEST(GridReference, WhatTheForwardPathWritesComesBackToItself) {
    std::mt19937_64 rng(22);
    std::uniform_real_distribution<double> lat(-80, 84);
    std::uniform_real_distribution<double> lon(-180, 180);
    for (int i = 0; i < 20000; ++i) {
        expectRoundTrip(lat(rng), lon(rng));
    }
    const double nearby[] = {0.0, 1e-12, -1e-12, 1e-9, -1e-9, 3e-6, -3e-6, 1e-5, -1e-5};
    for (int meridian = -180; meridian < 180; meridian += 6) {
        for (const double d : nearby) {
            if (meridian + d >= -180.0) {
                expectRoundTrip(lat(rng), meridian + d);
            }
        }
    }
    for (int parallel = -80; parallel <= 84; parallel += 8) {
        const double edge = parallel == 80 ? 84.0 : parallel;
        for (const double d : nearby) {
            if (edge + d >= -80.0 && edge + d < 84.0) {
                expectRoundTrip(edge + d, lon(rng));
                expectRoundTrip(edge + d, std::floor(lon(rng) / 6.0) * 6.0 + d);
            }
        }
    }
    // Zone 32's wider reach in southern Norway, and the Svalbard area (plain zones here).
    for (const double la : {56.0, 56.0 + 1e-9, 60.0, 63.999999, 72.0, 78.0, 83.99999}) {
        for (const double lo : {0.0, 2.9999999, 3.0, 3.0000001, 5.5, 6.0, 8.9999, 9.0, 11.999999,
                                12.0, 21.0, 33.0, 41.999999}) {
            expectRoundTrip(la, lo);
        }
    }
}

} // namespace
} // namespace sw
