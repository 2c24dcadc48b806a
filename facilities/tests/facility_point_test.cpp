#include "facilities/facility_point.h"

#include <gtest/gtest.h>

namespace {

TEST(FacilityTextFile, HeaderAndRecordLines) {
    EXPECT_EQ(sw::facilityHeaderLine(),
              "\"Name\",\"Type\",\"Latitude\",\"Longitude\",\"AlbersX\",\"AlbersY\",\"UTM\","
              "\"USNG\"\r\n");
    struct Case {
        sw::FacilityPoint point;
        const char* line;
    };
    const Case cases[] = {
        {{"Camp A", "Camp", "29.6512", "-084.1234", "512345.67", "612345.89", "U", "N"},
         "\"Camp A\",\"Camp\",29.6512,-84.1234,512345.67,612345.89,\"U\",\"N\"\r\n"},
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
    const std::pair<const char*, const char*> cases[] = {{"Camp", "campa.png"},
                                                         {"camp", "other.png"},
                                                         {"Camp ", "other.png"},
                                                         {"Hot Spot", "hot_spotA.png"},
                                                         {"Staging Area", "staginga.png"},
                                                         {"Timber Sale", "other.png"}};
    for (const auto& [type, icon] : cases) {
        EXPECT_EQ(sw::facilityIconFile(type), icon) << type;
    }
}

} // namespace
