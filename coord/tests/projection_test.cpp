#include <string>

#include <gtest/gtest.h>

#include "coord/albers.h"
#include "coord/hand_back.h"
#include "coord/utm_usng.h"

namespace sw::lltoAlbers {
namespace {

TEST(Albers, ReferencePointsOfTheStateGrid) {
    struct Case {
        double lat;
        double lon;
        double x;
        double y;
        const char* xText;
        const char* yText;
    };
    const Case cases[] = {{24, -84, 400000, 0, "400000", "0"},
                          {30, -84, 400000, 665880.43, "400000", "665880.43"},
                          {30.25, -84.5, 351936.72, 693727.66, "351936.72", "693727.66"},
                          {31.5, -87.5, 67536.70, 837022.73, "67536.7", "837022.73"},
                          {25.5, -80.25, 776454.49, 171997.95, "776454.49", "171997.95"}};
    for (const Case& c : cases) {
        const AlbersPoint p = AlbersFromLatLong(c.lat, c.lon);
        EXPECT_EQ(p.x, c.x) << c.lat << ", " << c.lon;
        EXPECT_EQ(p.y, c.y) << c.lat << ", " << c.lon;
        EXPECT_EQ(albersText(p.x), c.xText);
        EXPECT_EQ(albersText(p.y), c.yText);
        // A second run gives the same: nothing carries over between calls.
        const AlbersPoint again = AlbersFromLatLong(c.lat, c.lon);
        EXPECT_EQ(again.x, p.x);
        EXPECT_EQ(again.y, p.y);
    }
}

TEST(Utm, ReferencePointsAndZoneEdges) {
    struct Case {
        double lat;
        double lon;
        const char* utm;
        const char* usng;
    };
    const Case cases[] = {{30.25, -84.5, "16R 740550.42 3349132.77", "16R GU 40550 49133"},
                          // On 84 W the point belongs to the zone west of the meridian.
                          {30, -84, "16R 789409.65 3322575.90", "16R GU 89410 22576"},
                          {30, -83.999999, "17R 210590.44 3322575.90", "17R KP 10590 22576"},
                          {29.6516, -82.3248, "17R 371776.27 3280914.29", "17R LN 71776 80914"},
                          {25.5, -80.25, "17R 575374.50 2820526.30", "17R NJ 75374 20526"}};
    for (const Case& c : cases) {
        const UtmUsng t = UtmUsngFromLatLong(c.lat, c.lon);
        EXPECT_EQ(t.utm, c.utm) << c.lat << ", " << c.lon;
        EXPECT_EQ(t.usng, c.usng) << c.lat << ", " << c.lon;
    }
}

TEST(Utm, ZonesAndBands) {
    struct Case {
        double lat;
        double lon;
        int zone;
        const char* band;
    };
    const Case cases[] = {
        {30, -90, 15, "R"},        {30, -84, 16, "R"},        {30, -78, 17, "R"},
        {30, -96, 15, "R"},        {30, -90.000001, 15, "R"}, {30, -89.999999, 16, "R"},
        {30, -77.999999, 18, "R"}, {30, -180, 1, "R"},        {30, 180, 1, "R"},
        {30, 360 - 84.5, 16, "R"}, {30, 174, 60, "R"},        {30, 179.999999, 60, "R"},
        {60, 5, 32, "V"},          {56, 3, 32, "V"},          {55.999999, 3, 31, "U"},
        {64, 3, 31, "W"},          {60, 2.999999, 31, "V"},   {60, 11.999999, 32, "V"},
        {60, 12, 33, "V"},         {-80, 0, 31, "C"},         {-72.000001, 0, 31, "C"},
        {-72, 0, 31, "D"},         {-0.000001, 0, 31, "M"},   {0, 0, 31, "N"},
        {24, -84, 16, "R"},        {31.999999, -84, 16, "R"}, {32, -84, 16, "S"},
        {72, 10, 32, "X"},         {83.999999, 10, 32, "X"},  {84, -84, 16, ""},
        {85, -84, 16, ""},         {-80.000001, 0, 31, ""},   {78, 20, 34, "X"}, // no Svalbard
    };
    for (const Case& c : cases) {
        EXPECT_EQ(utmZone(c.lat, c.lon), c.zone) << c.lat << ", " << c.lon;
        EXPECT_EQ(bandLetter(c.lat), c.band) << c.lat;
    }
    EXPECT_EQ(UtmUsngFromLatLong(85, -84).utm.substr(0, 3), "16 ");
    EXPECT_EQ(UtmUsngFromLatLong(60, 5).usng.substr(0, 4), "32V ");
}

TEST(Utm, GridSquareLetters) {
    struct Case {
        int set;
        std::int64_t northing;
        std::int64_t easting;
        const char* letters;
    };
    const Case cases[] = {
        {4, 3349133, 740550, "GU"},
        {5, 3322576, 210590, "KP"},
        {1, 0, 100000, "AA"},
        {1, 1999999, 899999, "HV"},     // last row, last column
        {1, 2000000, 900000, "AA"},     // rows repeat every 2000 km, columns every 800 km
        {2, 0, 100000, "JF"},           // even sets start their rows at F
        {3, -150000, 250000, "TB"},     // a negative northing counts by its size
        {6, 99999, 99999, "YF"},        // column 0 takes the seventh letter
        {1, 40000000000, 100000, "AA"}, // far out of range still gives letters, quickly
        {0, 0, 100000, ""},
        {7, 0, 100000, ""},
        {1, 0, -100000, ""}};
    for (const Case& c : cases) {
        EXPECT_EQ(GridSquareLetters(c.set, c.northing, c.easting), c.letters)
            << c.set << ' ' << c.northing << ' ' << c.easting;
    }
    EXPECT_EQ(Square(-3.0), 9.0);
}

TEST(Utm, PolesGiveTextsNotGarbage) {
    // The converter reaches 90 degrees through its clamp; the texts must stay well-formed.
    for (const double lat : {90.0, -90.0, 89.999999}) {
        for (const double lon : {0.0, -84.0, -180.0}) {
            const UtmUsng t = UtmUsngFromLatLong(lat, lon);
            EXPECT_EQ(t.utm.find_first_of("NIai"), std::string::npos) << t.utm;
            EXPECT_EQ(t.usng.size(), t.usng.find(' ') + 15) << t.usng;
        }
    }
}

TEST(HandBack, SixTextsAsTheConverterShowsThem) {
    const HandBackTexts t = handBackTexts(30.25, -84.5);
    EXPECT_EQ(t.latitude, "30.2500");
    EXPECT_EQ(t.longitude, "-084.5000");
    EXPECT_EQ(t.albersX, "351936.72");
    EXPECT_EQ(t.albersY, "693727.66");
    EXPECT_EQ(t.utm, "16R 740550.42 3349132.77");
    EXPECT_EQ(t.usng, "16R GU 40550 49133");

    // The grid texts come from the raw texts (12 decimals): a longitude a hair east of 84 W
    // shows as -84.000000000000 there and so lands on the meridian, zone 16, exactly as the
    // converter's labels do, although the number itself lies in zone 17.
    const double hair = -83.9999999999999;
    EXPECT_EQ(utmZone(30, hair), 17);
    EXPECT_EQ(handBackTexts(30, hair).utm.substr(0, 4), "16R ");
    EXPECT_EQ(handBackTexts(30, hair).usng, "16R GU 89410 22576");
    EXPECT_EQ(handBackTexts(30, -83.999999).utm, "17R 210590.44 3322575.90");
}

} // namespace
} // namespace sw::lltoAlbers
