// The storm-name list, the completeness check and what the KML output makes of a position.

#include "hurricanes/storm_names.h"
#include "hurricanes/storm_position.h"
#include "testsupport/test_paths.h"

#include <gtest/gtest.h>

namespace sw {
namespace {

using Names = std::vector<std::string>;

TEST(StormNames, LinesCommasQuotesAndBlanks) {
    const std::pair<const char*, Names> cases[] = {
        {"Arthur\r\nBertha\r\n", {"Arthur", "Bertha"}},
        {"Arthur, Bertha,Cristobal", {"Arthur", "Bertha", "Cristobal"}},
        {"  Ike  \n\n\n Kate\t\n", {"Ike", "Kate"}},
        {"\"Unamed Depression, Gulf\",Ike", {"Unamed Depression, Gulf", "Ike"}},
        {" \"Ike\" , \"Kate\"\r\n", {"Ike", "Kate"}},
        {"Arthur,,\n,Bertha,", {"Arthur", "Bertha"}},
        {"\"Open quote, still\nBertha", {"\"Open quote, still", "Bertha"}},
        {"\xEF\xBB\xBF"
         "Arthur\nJos\xC3\xA9",
         {"Arthur", "Jos\xC3\xA9"}},
        {"", {}},
    };
    for (const auto& [text, names] : cases) {
        EXPECT_EQ(parseStormNames(text), names) << text;
    }
}

TEST(StormNames, TheYearsFileOrAMessageNamingItWhenMissing) {
    test::TempDir folder;
    test::writeFile(folder / "2026_hurricanes.txt", "Arthur\r\nBertha\r\n");
    const StormNameList found = loadStormNames(folder.path(), 2026);
    EXPECT_EQ(found.names, (Names{"Arthur", "Bertha"}));
    EXPECT_FALSE(found.problem);

    const StormNameList missing = loadStormNames(folder.path(), 2027);
    EXPECT_TRUE(missing.names.empty());
    EXPECT_EQ(missing.problem, (folder / "2027_hurricanes.txt").string() + " is missing");

    // The lists installed with the program read as plain names.
    const StormNameList installed = loadStormNames(test::runtimeDir(), 2026);
    EXPECT_FALSE(installed.problem);
    EXPECT_GE(installed.names.size(), 21u);
}

StormPosition ike() {
    StormPosition p;
    p.name = "Ike";
    p.reportDate = "09-12-2026";
    p.positionType = kActual;
    p.utcTime = "9/12/2026 15:00:00 UTC";
    p.localTime = "9/12/2026 11:00:00 AM EDT";
    p.latitude = "27.5000";
    p.longitude = "-088.0000";
    p.windMph = "115";
    p.windKnots = "100";
    p.category = "Category 3";
    p.utcMonth = "9";
    p.utcDay = "12";
    p.utcHour = "15:00";
    return p;
}

TEST(StormPosition, CompletenessIsCheckedInOrderAndACalmWindCounts) {
    struct Case {
        const char* what;
        void (*change)(StormPosition&);
        std::optional<StormMissingPart> missing;
    };
    const Case cases[] = {
        {"complete", [](StormPosition&) {}, std::nullopt},
        {"calm wind (one blank) is a wind", [](StormPosition& p) { p.category = " "; },
         std::nullopt},
        {"nothing at all", [](StormPosition& p) { p = {}; }, StormMissingPart::Name},
        {"no wind", [](StormPosition& p) { p.category.clear(); }, StormMissingPart::Wind},
        {"no coordinates, no type",
         [](StormPosition& p) {
             p.longitude.clear();
             p.positionType.clear();
         },
         StormMissingPart::Coordinates},
        {"no type", [](StormPosition& p) { p.positionType.clear(); },
         StormMissingPart::PositionType},
    };
    for (const Case& c : cases) {
        StormPosition p = ike();
        c.change(p);
        const std::optional<StormMissing> missing = firstMissing(p);
        ASSERT_EQ(missing.has_value(), c.missing.has_value()) << c.what;
        if (missing) {
            EXPECT_EQ(missing->part, *c.missing) << c.what;
        }
    }
    StormPosition empty;
    EXPECT_STREQ(firstMissing(empty)->message, "Enter Storm Name");
}

TEST(HurricaneKml, IconCodeByCategoryAndPosition) {
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"Tropical Depression", kActual, "TD"},
        {"Tropical Storm", kActual, "TS"},
        {"Category 1", kActual, "Cat1"},
        {"Category 5", kActual, "Cat5"},
        {"Tropical Depression", kForecast, "Fcast_TD"},
        {"Category 2", kForecast, "Fcast_Cat2"},
        {" ", kActual, ""},
        {" ", kForecast, ""},
        {"category 2", kActual, ""},
        {"Category 2", "", "Cat2"},
    };
    for (const auto& [category, position, code] : cases) {
        EXPECT_EQ(hurricaneIconCode(category, position), code) << category << "/" << position;
    }
}

TEST(HurricaneKml, NameDescriptionAndSuggestedFileName) {
    StormPosition p = ike();
    EXPECT_EQ(hurricanePlacemarkName(p), "Ike , Category 3");
    EXPECT_EQ(hurricaneIconFile(p), "Cat3Hurricane.gif");
    EXPECT_EQ(hurricaneDescriptionLines(p),
              (Names{"Ike", "Actual Location", "Local Time:9/12/2026 11:00:00 AM EDT", "Category 3",
                     "Winds(kts/mph):100/115"}));
    EXPECT_EQ(hurricaneKmlFileName(p), "phIke_1500_Sep12");

    p.positionType = kForecast;
    p.category = "Category 2";
    p.utcHour = "03:00";
    p.utcMonth = "1";
    p.utcDay = "2";
    EXPECT_EQ(hurricaneKmlFileName(p), "phForecastIke_0300_Jan2");
    EXPECT_EQ(hurricaneIconFile(p), "Fcast_Cat2Hurricane.gif");

    p.category = " ";
    EXPECT_EQ(hurricanePlacemarkName(p), "Ike ,  ");
    EXPECT_EQ(hurricaneIconFile(p), "Hurricane.gif");
}

} // namespace
} // namespace sw
