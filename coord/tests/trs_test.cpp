#include "coord/trs.h"

#include <cmath>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "services/database/database.h"
#include "testsupport/test_paths.h"

namespace sw::trs {
namespace {

using TD = TownshipDirection;
using RD = RangeDirection;

TEST(TrsKey, KeysHaveTwoDigitNumbersAndThePreviewAddsThePart) {
    struct Case {
        Description d;
        const char* part;
        std::string preview;
    };
    const Case cases[] = {
        {{5, TD::North, 12, RD::East, 7, nullptr}, "optSESE", "T05N R12E S07 SE1/4 SE1/4"},
        {{1, TD::North, 2, RD::East, 3, nullptr}, "optNE", "T01N R02E S03 NE1/4"},
        {{10, TD::South, 10, RD::West, 36, nullptr}, nullptr, "T10S R10W S36 "},
        {{68, TD::South, 34, RD::West, 123, nullptr}, "optSecC", "T68S R34W S123 CENTER"},
        {{0, TD::North, 0, RD::East, 0, nullptr}, nullptr, "T00N R00E S00 "}};
    for (Case c : cases) {
        c.d.part = c.part ? sectionPartByControl(c.part) : nullptr;
        EXPECT_EQ(previewText(c.d), c.preview);
        EXPECT_EQ(lookupKey(c.d), c.preview.substr(0, c.preview.find(' ', 10)));
    }
}

TEST(TrsParts, TheQuarterQuarterGridIsConsistentWithItsOffsets) {
    // Each of the 16 cells appears once; offsets grow eastward by column and fall southward by
    // row, so a cell typed into the wrong place of the table shows up here.
    std::set<std::pair<int, int>> cells;
    std::set<std::string_view> controls;
    const double north[] = {0.0055, 0.0018, -0.0018, -0.0055};
    const int east[] = {-600, -200, 200, 600};
    for (const SectionPart& p : sectionParts()) {
        EXPECT_TRUE(controls.insert(p.control).second) << p.control;
        EXPECT_EQ(sectionPartByControl(p.control), &p);
        if (!p.isQuarterQuarter()) {
            continue;
        }
        EXPECT_TRUE(cells.insert({p.gridRow, p.gridColumn}).second) << p.control;
        EXPECT_DOUBLE_EQ(p.northDegrees, north[p.gridRow - 1]) << p.control;
        EXPECT_EQ(p.eastMetres, east[p.gridColumn - 1]) << p.control;
        // The corner named in the caption is the corner of its quarter the cell sits in.
        const char ns = p.gridRow % 2 == 1 ? 'N' : 'S';
        const char ew = p.gridColumn % 2 == 1 ? 'W' : 'E';
        EXPECT_EQ(p.caption, std::string({ns, ew})) << p.control;
        EXPECT_EQ(p.description.substr(0, 2), p.caption) << p.control;
    }
    EXPECT_EQ(sectionParts().size(), 25u);
    EXPECT_EQ(cells.size(), 16u);
    EXPECT_EQ(sectionPartByControl("optNothing"), nullptr);
}

// A screen reader names each part by where it lies; a quarter-quarter by its corner and the
// quarter it lies in, which must agree with where the cell sits in the grid.
TEST(TrsParts, SpokenNamesSayWhichPartOfTheSection) {
    const std::pair<const char*, const char*> named[] = {
        {"optSecC", "Centre of the section"},
        {"optsecNH", "N half"},
        {"optWH", "W half"},
        {"optSE", "SE quarter"},
        {"optNWNE", "NE quarter of the NW quarter"},
        {"optNWNW", "NW quarter of the NW quarter"},
        {"optSESW", "SW quarter of the SE quarter"},
    };
    for (const auto& [control, name] : named) {
        EXPECT_EQ(spokenName(*sectionPartByControl(control)), name) << control;
    }
    std::set<std::string> names;
    for (const SectionPart& p : sectionParts()) {
        const std::string name = spokenName(p);
        EXPECT_TRUE(names.insert(name).second) << name;
        if (p.isQuarterQuarter()) {
            const char ns = p.gridRow <= 2 ? 'N' : 'S';
            const char ew = p.gridColumn <= 2 ? 'W' : 'E';
            EXPECT_TRUE(name.ends_with(std::string(" of the ") + ns + ew + " quarter")) << name;
        }
    }
}

TEST(TrsOffsets, ShiftTheCentroidAndRoundToFourDecimals) {
    struct Case {
        const char* control; // nullptr: none chosen
        Point centroid;
        Point expected;
    };
    const Case cases[] = {
        // 400 m east at 30 degrees north is 0.004149 degrees of longitude.
        {"optNE", {30, -84}, {30.0036, -83.9959}},
        {"optWH", {30, -84}, {30, -84.0041}},
        {"optSESE", {29.5, -82.25}, {29.4945, -82.2438}},
        {"optNWNW", {24.51, -87.43}, {24.5155, -87.4359}},
        {"optSENW", {30.848198, -83.158282}, {30.8464, -83.1562}},
        {"optSecC", {30.848198, -83.158282}, {30.8482, -83.1583}},
        {nullptr, {30.848198, -83.158282}, {30.8482, -83.1583}},
        // Halves round away from zero, on both sides of it.
        {"optSecC", {30.12345, -84.00005}, {30.1235, -84.0001}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.control ? c.control : "none");
        const Point got =
            applyPart(c.centroid, c.control ? sectionPartByControl(c.control) : nullptr);
        EXPECT_NEAR(got.latitude, c.expected.latitude, 1e-12);
        EXPECT_NEAR(got.longitude, c.expected.longitude, 1e-12);
    }
    // The east offset shrinks with the cosine of the latitude.
    EXPECT_NEAR(longitudeOffset(0, 400) / longitudeOffset(60, 400), 0.5, 1e-12);
}

// A small lookup file of our own, made the way the installed one is laid out.
void makeLookup(const std::filesystem::path& file,
                const std::vector<std::tuple<std::string, double, double>>& rows) {
    Database db;
    ASSERT_TRUE(db.create(file)) << db.lastError();
    ASSERT_TRUE(db.createTable("Plss_zorn", {{"TRS", ColumnType::Text, 20},
                                             {"LONGITUDE", ColumnType::Double, 8},
                                             {"LATITUDE", ColumnType::Double, 8}}))
        << db.lastError();
    for (const auto& [key, lon, lat] : rows) {
        ASSERT_TRUE(
            db.addRecord("Plss_zorn", {{"TRS", key}, {"LONGITUDE", lon}, {"LATITUDE", lat}}))
            << db.lastError();
    }
}

TEST(TrsLookup, FindsTheCentroidByKeyAndNeverRunsTheKeyAsSql) {
    test::TempDir dir;
    const auto file = dir / "zorn_trs.mdb";
    makeLookup(file, {{"T05N R12E S07", -84.0, 30.0}, {"T10S R10E S01", -82.25, 29.5}});

    Lookup found = lookupCentroid(file, "T10S R10E S01");
    ASSERT_EQ(found.status, Lookup::Status::Found) << found.message;
    EXPECT_DOUBLE_EQ(found.centroid.latitude, 29.5);
    EXPECT_DOUBLE_EQ(found.centroid.longitude, -82.25);

    for (const char* key : {"T05N R12E S08", "", "T05N R12E S07' OR '1'='1",
                            "x'; DROP TABLE Plss_zorn; --", "T05N R12E S07 "}) {
        SCOPED_TRACE(key);
        const Lookup missing = lookupCentroid(file, key);
        EXPECT_EQ(missing.status, Lookup::Status::NotFound) << missing.message;
    }
    EXPECT_EQ(lookupCentroid(file, "T05N R12E S07").status, Lookup::Status::Found);
}

TEST(TrsLookup, TheInstalledTableCoversTheLimitsTheChecksAllow) {
    // The checks and the table must agree: every key the checks let through at the corners of
    // the survey is found, and the first key beyond them is not.
    const auto file = lookupFile();
    ASSERT_TRUE(std::filesystem::exists(file)) << file;
    for (const char* key : {"T01N R01E S01", "T05N R12E S07", "T07N R43E S36", "T68S R34W S36",
                            "T68S R43E S01", "T07N R34W S01"}) {
        SCOPED_TRACE(key);
        const Lookup got = lookupCentroid(file, key);
        ASSERT_EQ(got.status, Lookup::Status::Found) << got.message;
        // Inside the state's reach, west longitudes negative.
        EXPECT_GT(got.centroid.latitude, 24.0);
        EXPECT_LT(got.centroid.latitude, 31.5);
        EXPECT_LT(got.centroid.longitude, -79.0);
        EXPECT_GT(got.centroid.longitude, -88.5);
    }
    for (const char* key : {"T08N R01E S01", "T69S R01E S01", "T01N R44E S01", "T01N R35W S01",
                            "T01N R01E S37", "T01N R01E S7"}) {
        EXPECT_EQ(lookupCentroid(file, key).status, Lookup::Status::NotFound) << key;
    }
}

} // namespace
} // namespace sw::trs
