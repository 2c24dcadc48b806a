#include "facilities/facility_point.h"

#include <gtest/gtest.h>

namespace {

const sw::FacilityPoint kCampA{"Camp A",    "Camp",      "29.6512", "-084.1234",
                               "512345.67", "612345.89", "U",       "N"};

TEST(FacilityTextFile, HeaderAndRecordLines) {
    EXPECT_EQ(sw::facilityHeaderLine(),
              "\"Name\",\"Type\",\"Latitude\",\"Longitude\",\"AlbersX\",\"AlbersY\",\"UTM\","
              "\"USNG\"\r\n");
    struct Case {
        sw::FacilityPoint point;
        const char* line;
    };
    const Case cases[] = {
        {kCampA, "\"Camp A\",\"Camp\",29.6512,-84.1234,512345.67,612345.89,\"U\",\"N\"\r\n"},
        // After "Clear Values" an unlocked window writes empty texts and zeros.
        {{}, "\"\",\"\",0,0,0,0,\"\",\"\"\r\n"},
        // Only the leading number of a text counts.
        {{"n", "t", " 30.25x", "abc", "400000", "-.5", "17R 123", "16R GU"},
         "\"n\",\"t\",30.25,0,400000,-0.5,\"17R 123\",\"16R GU\"\r\n"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(sw::facilityRecordLine(c.point), c.line);
    }
}

TEST(FacilityKml, IconByExactType) {
    struct Case {
        const char* type;
        const char* icon;
    };
    for (const Case& c :
         {Case{"Camp", "campa.png"}, Case{"camp", "other.png"}, Case{"Hot Spot", "hot_spotA.png"},
          Case{"Staging Area", "staginga.png"}, Case{"Forestry Site", "SHIELD.png"},
          Case{"State Forest Headquarters", "SHIELD.png"},
          Case{"Southern Pine Beetle", "beetle.png"}, Case{"Needle Rust", "rust.png"},
          Case{"Other Tree Disease", "otd.png"}, Case{"Timber Sale", "other.png"},
          Case{"Residence", "other.png"}, Case{"Camp ", "other.png"}, Case{"", "other.png"}}) {
        EXPECT_EQ(sw::facilityIconFile(c.type), c.icon) << c.type;
    }
}

TEST(FacilityKml, DescriptionLines) {
    EXPECT_EQ(
        sw::facilityDescriptionLines(kCampA),
        (std::vector<std::string>{"Camp A", "Camp", "UTM Coord: U", "National Grid Coord: N"}));
}

} // namespace
