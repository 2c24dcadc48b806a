#include "kmlconvert/conversion.h"
#include "kmlconvert/perimeter_area.h"
#include "kmlconvert/perimeter_shapefile.h"
#include "kmlconvert/working_database.h"
#include "services/database/database.h"

#include "kmlconvert/tests/kml_test_data.h"
#include "testsupport/run_process.h"
#include "testsupport/scripted_dialogs.h"
#include "testsupport/shapefile_reading.h"
#include "testsupport/test_paths.h"

#include <QJsonArray>
#include <QLockFile>

#include <cstring>
#include <gtest/gtest.h>
#include <set>

namespace {

namespace fs = std::filesystem;
using sw::Answer;
using sw::kml::ConversionOutcome;
using sw::kml::convertKml;
using sw::kml::FireAttributes;
using sw::test::readFile;
using sw::test::ScriptedDialogs;
using sw::test::TempDir;
using sw::test::writeFile;

FireAttributes ridgeFire() {
    FireAttributes a;
    a.fire.name = "Ridge Fire";
    a.fire.incident = "FL-123";
    a.fire.report = "Update";
    a.fire.entryDate = "06-11-26";
    a.fire.startDate = "06-10-26";
    a.fire.area = "1,234.50";
    a.fire.fuel = "Grass";
    a.fire.cause = "lightning";
    a.featureType = "Fire Perimeter";
    a.fire.percent = "100.00%";
    a.fire.significant = "Yes";
    return a;
}

// A KML of one line string through the given "lon,lat" tuples.
std::string lineKml(const std::vector<std::string>& tuples) {
    std::string kml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                      "<kml xmlns=\"http://www.opengis.net/kml/2.2\"><Placemark><LineString>"
                      "<coordinates>\n";
    for (const auto& t : tuples) {
        kml += t + " ";
    }
    return kml + "\n</coordinates></LineString></Placemark></kml>\n";
}

std::set<std::string> filesIn(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

// The drawn area against PROJ's Albers of the same grid parameters.
void expectDrawnAcres(const ConversionOutcome& outcome, const sw::test::ReadBack& back) {
    const double expected = back.gdal.value("acres").toDouble();
    ASSERT_TRUE(outcome.drawnAcres.has_value());
    EXPECT_GT(expected, 0);
    EXPECT_NEAR(*outcome.drawnAcres, expected, expected * 1e-4);
}

// The vertex counts of the record's parts, as GDAL's byte-level companion reads them.
std::vector<int> partSizes(const sw::test::ReadBack& back) {
    std::vector<int> sizes;
    const auto records = back.raw.value("records").toArray();
    if (records.isEmpty()) {
        return sizes;
    }
    for (const auto& part : records[0].toObject().value("parts").toArray()) {
        sizes.push_back(static_cast<int>(part.toArray().size()));
    }
    return sizes;
}

struct Session {
    ConversionOutcome outcome;
    ScriptedDialogs dialogs;
    sw::FileDialogMemory kmlDialog;
};

void convert(Session& run, const fs::path& kml, std::initializer_list<Answer> answers) {
    run.dialogs.fileNext(kml.string());
    for (Answer a : answers) {
        run.dialogs.answerNext(a);
    }
    run.outcome = convertKml(run.dialogs, ridgeFire(), run.kmlDialog);
}

constexpr Answer Yes = Answer::Yes;
constexpr Answer No = Answer::No;

// The shape type follows the drawing and the user's answers, question by question.
TEST(KmlConversion, ShapeTypeDecisions) {
    const std::string a = "-82.30,29.60", b = "-82.20,29.60", c = "-82.20,29.70",
                      d = "-82.25,29.75", e = "-82.28,29.72", sameLon = "-82.30,29.65";
    struct Case {
        const char* name;
        std::vector<std::string> tuples;
        std::vector<Answer> answers;
        std::vector<std::string> questions; // every box shown, in order
        int type;
        std::vector<int> parts; // vertices per part as written
        const char* geometry;   // GDAL's geometry type name
    };
    const std::string points = "Build all Locations as Points?";
    const std::string asLine = "Initial Shape Type is Polygon - Build as Line Instead?";
    const std::string asPolygon = "Initial Shape Type is Line - Build as Polygon Instead?";
    const std::string pointBox = "Point Shapefile will be created";
    const Case cases[] = {
        {"one vertex", {a}, {}, {pointBox, "KML Converted to Point Shapefile"}, 1, {1}, "Point"},
        {"all as points",
         {a, b, c},
         {Yes},
         {points, pointBox, "KML Converted to Point Shapefile"},
         8,
         {3},
         "Multi Point"},
        {"two vertices",
         {a, b},
         {No},
         {points, "KML Converted to Polyline Shapefile"},
         3,
         {2},
         "Line String"},
        {"open five as polygon",
         {a, b, c, d, e},
         {No, Yes},
         {points, asPolygon, "KML Converted to Polygon Shapefile"},
         5,
         {6},
         "Polygon"},
        {"open five as line",
         {a, b, c, d, e},
         {No, No},
         {points, asPolygon, "KML Converted to Polyline Shapefile"},
         3,
         {5},
         "Line String"},
        {"closed ring as polygon",
         {a, b, c, d, a},
         {No, No},
         {points, asLine, "KML Converted to Polygon Shapefile"},
         5,
         {5},
         "Polygon"},
        {"closed ring as line",
         {a, b, c, d, a},
         {No, Yes},
         {points, asLine, "KML Converted to Polyline Shapefile"},
         3,
         {5},
         "Line String"},
        // the same longitude at both ends counts as closed; the ring is closed on writing
        {"same longitude",
         {a, b, c, sameLon},
         {No, No},
         {points, asLine, "KML Converted to Polygon Shapefile"},
         5,
         {5},
         "Polygon"},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        TempDir dir;
        const fs::path kml = dir / "Drawn Line.kml";
        writeFile(kml, lineKml(test.tuples));
        Session run;
        run.dialogs.fileNext(kml.string());
        for (Answer answer : test.answers) {
            run.dialogs.answerNext(answer);
        }
        run.outcome = convertKml(run.dialogs, ridgeFire(), run.kmlDialog);
        EXPECT_TRUE(run.outcome.completed);
        EXPECT_EQ(run.dialogs.messageTexts(), test.questions);
        EXPECT_TRUE(run.dialogs.allAnswersUsed());
        EXPECT_EQ(static_cast<int>(run.outcome.shapeType), test.type);
        EXPECT_FALSE(run.dialogs.waitCursorOn);

        auto back = sw::test::readShapefile(dir / "swDrawnLine.shp");
        ASSERT_EQ(sw::test::problemsOf(back), "");
        EXPECT_EQ(back.raw.value("shape_type").toInt(), test.type);
        EXPECT_EQ(partSizes(back), test.parts);
        const auto features = back.gdal.value("features").toArray();
        ASSERT_EQ(features.size(), 1);
        EXPECT_EQ(back.gdal.value("geometry_type").toString().toStdString(), test.geometry);
        if (test.type == 5) {
            // Whatever the drawing's direction, the ring is written clockwise.
            EXPECT_LT(back.raw.value("records")[0]["areas"][0].toDouble(), 0);
            ASSERT_TRUE(run.outcome.drawnAcres.has_value());
        } else {
            EXPECT_FALSE(run.outcome.drawnAcres.has_value());
        }
    }
}

// Single points beside lines and polygons: the questions are judged on the first drawing
// that can make a line, and a line or polygon shapefile leaves the single points out, saying
// how many.
TEST(KmlConversion, SinglePointsBesideLinesAndPolygons) {
    const std::string point = "<Placemark><Point><coordinates>-82.10,29.10</coordinates>"
                              "</Point></Placemark>";
    const std::string ring =
        "<Placemark><Polygon><outerBoundaryIs><LinearRing><coordinates>-82.30,29.60 "
        "-82.20,29.60 -82.20,29.70 -82.30,29.60</coordinates></LinearRing></outerBoundaryIs>"
        "</Polygon></Placemark>";
    const std::string path = "<Placemark><LineString><coordinates>-82.30,29.60 -82.20,29.60 "
                             "-82.20,29.70</coordinates></LineString></Placemark>";
    const std::string points = "Build all Locations as Points?";
    struct Case {
        const char* name;
        std::string placemarks;
        std::vector<Answer> answers;
        std::vector<std::string> messages;
        int type;
        std::vector<int> parts;
    };
    const Case cases[] = {
        {"point, then polygon",
         point + ring,
         {No, No},
         {points, "Initial Shape Type is Polygon - Build as Line Instead?",
          "KML Converted to Polygon Shapefile\n1 single point was left out."},
         5,
         {4}},
        {"points around a line",
         point + path + point,
         {No, No},
         {points, "Initial Shape Type is Line - Build as Polygon Instead?",
          "KML Converted to Polyline Shapefile\n2 single points were left out."},
         3,
         {3}},
        {"point and polygon, all as points",
         point + ring,
         {Yes},
         {points, "Point Shapefile will be created", "KML Converted to Point Shapefile"},
         8,
         {5}},
        {"points only",
         point + point,
         {},
         {"Point Shapefile will be created", "KML Converted to Point Shapefile"},
         8,
         {2}},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        TempDir dir;
        writeFile(dir / "mixed.kml", "<kml xmlns=\"http://www.opengis.net/kml/2.2\"><Document>" +
                                         test.placemarks + "</Document></kml>");
        Session run;
        run.dialogs.fileNext((dir / "mixed.kml").string());
        for (Answer answer : test.answers) {
            run.dialogs.answerNext(answer);
        }
        run.outcome = convertKml(run.dialogs, ridgeFire(), run.kmlDialog);
        EXPECT_TRUE(run.outcome.completed);
        EXPECT_EQ(run.dialogs.messageTexts(), test.messages);
        EXPECT_TRUE(run.dialogs.allAnswersUsed());
        auto back = sw::test::readShapefile(dir / "swmixed.shp");
        ASSERT_EQ(sw::test::problemsOf(back), "");
        EXPECT_EQ(back.raw.value("shape_type").toInt(), test.type);
        EXPECT_EQ(partSizes(back), test.parts);
    }
}

// The question boxes carry their own titles, icons and default buttons.
TEST(KmlConversion, QuestionBoxes) {
    TempDir dir;
    writeFile(dir / "f.kml", lineKml({"-82.30,29.60", "-82.20,29.60", "-82.20,29.70"}));
    Session run;
    convert(run, dir / "f.kml", {No, Yes});
    ASSERT_EQ(run.dialogs.messages.size(), 3u) << run.dialogs.messages[0].text;
    const sw::MessageRequest expected[] = {
        // Enter keeps the drawing as drawn: No is the default of every shape question.
        {"Build all Locations as Points?", "Shapefile Type", sw::Icon::Question, sw::Buttons::YesNo,
         Answer::No},
        {"Initial Shape Type is Line - Build as Polygon Instead?", "Shapefile Type",
         sw::Icon::Question, sw::Buttons::YesNo, Answer::No},
        {"KML Converted to Polygon Shapefile", "Conversion Complete", sw::Icon::Information,
         sw::Buttons::Ok, Answer::Ok},
    };
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(run.dialogs.messages[i], expected[i]) << run.dialogs.messages[i].text;
    }
    ASSERT_EQ(run.dialogs.files.size(), 1u);
    EXPECT_EQ(run.dialogs.files[0].filter,
              "KML Files(*.kml)|*.kml|KMZ Files(*.kmz)|*.kmz|GPS Files(*.gpx)|*.gpx");
    EXPECT_EQ(run.dialogs.files[0].defaultExtension, ".kml");
}

// A perimeter drawn in Google Earth: every file of the conversion, and the shapefile as GDAL
// reads it.
TEST(KmlConversion, FilesAfterAConversion) {
    TempDir dir;
    const fs::path kml = dir / "Big Fire #2 (east).kml";
    fs::copy_file(sw::test::kmlTestFile("polygon_ge.kml"), kml);
    Session run;
    convert(run, kml, {No, No});
    ASSERT_TRUE(run.outcome.completed) << testing::PrintToString(run.dialogs.messageTexts());

    // No plain-text, lines-without-tags or one-tuple-per-line files: the XML reader needs none.
    const std::set<std::string> expected = {
        "Big Fire #2 (east).kml", "swBigFire2ea.kml", "ccswBigFire2ea.csv", "pwattswBigFire2ea.csv",
        "swBigFire2ea.mdb",       "swBigFire2ea.shp", "swBigFire2ea.shx",   "swBigFire2ea.dbf",
        "swBigFire2ea.cpg",       "swBigFire2ea.prj"};
    EXPECT_EQ(filesIn(dir.path()), expected);
    EXPECT_EQ(readFile(dir / "swBigFire2ea.kml"), readFile(kml));
    EXPECT_EQ(readFile(dir / "pwattswBigFire2ea.csv"),
              "1,\"Ridge Fire\",\"FL-123\",\"Update\",\"06-11-26\",\"06-10-26\",\"1,234.50\","
              "\"Grass\",\"lightning\",\"Fire Perimeter\",\"100.00%\",\"Yes\"\r\n");
    EXPECT_EQ(readFile(dir / "ccswBigFire2ea.csv"),
              "1,-82.3411,29.6512,0\r\n1,-82.3302,29.6519,0\r\n1,-82.3298,29.6431,0\r\n"
              "1,-82.3405,29.6427,0\r\n1,-82.3411,29.6512,0\r\n");
    EXPECT_EQ(readFile(dir / "swBigFire2ea.prj"),
              "GEOGCS[\"GCS_WGS_1984\",DATUM[\"D_WGS_1984\",SPHEROID[\"WGS_1984\",6378137,"
              "298.257223563]],PRIMEM[\"Greenwich\",0],UNIT[\"Degree\",0.017453292519943295]]"
              "\r\n");

    auto back = sw::test::readShapefile(dir / "swBigFire2ea.shp");
    ASSERT_EQ(sw::test::problemsOf(back), "");
    EXPECT_EQ(back.gdal.value("geometry_type").toString(), "Polygon");
    EXPECT_EQ(partSizes(back), std::vector<int>{5});
    const auto fields = back.raw.value("dbf_fields").toArray();
    std::vector<std::string> names;
    for (const auto& f : fields) {
        names.push_back(f.toObject().value("name").toString().toStdString());
    }
    EXPECT_EQ(names, (std::vector<std::string>{"GISID", "NAME", "INC_NUM", "REPORT", "ENTRY_DATE",
                                               "START_DATE", "ACRES", "FUEL", "CAUSE", "TYPE",
                                               "CONTAINED", "SIGNIF"}));
    const auto values = back.gdal.value("features")[0]["values"].toObject();
    EXPECT_EQ(values.value("GISID").toInt(), 1);
    EXPECT_EQ(values.value("NAME").toString(), "Ridge Fire");
    EXPECT_EQ(values.value("ACRES").toInt(), 1234);             // "1,234.50", halves to even
    EXPECT_EQ(values.value("CONTAINED").toString(), "100.00%"); // whole, not cut to 6
    EXPECT_EQ(values.value("ENTRY_DATE").toString(), "06-11-26");
    EXPECT_EQ(values.value("TYPE").toString(), "Fire Perimeter");
    EXPECT_EQ(values.value("SIGNIF").toString(), "Yes");

    EXPECT_EQ(back.prj.value("epsg").toString(), "4326");
    EXPECT_TRUE(back.prj.value("geographic").toBool());
    expectDrawnAcres(run.outcome, back);
}

// Separate drawings stay separate: no segment joins one placemark to the next, and a hole
// stays a hole.
TEST(KmlConversion, SeveralDrawingsAreSeveralParts) {
    TempDir dir;
    const std::string kml =
        "<kml xmlns=\"http://www.opengis.net/kml/2.2\"><Document>"
        "<Placemark><LineString><coordinates>-82.41,29.71 -82.42,29.72 -82.43,29.71"
        "</coordinates></LineString></Placemark>"
        "<Placemark><LineString><coordinates>-82.30,29.60 -82.31,29.61</coordinates>"
        "</LineString></Placemark></Document></kml>";
    writeFile(dir / "lines.kml", kml);
    Session lines;
    convert(lines, dir / "lines.kml", {No, No});
    ASSERT_TRUE(lines.outcome.completed);
    auto back = sw::test::readShapefile(dir / "swlines.shp");
    ASSERT_EQ(sw::test::problemsOf(back), "");
    EXPECT_EQ(back.gdal.value("geometry_type").toString(), "Line String");
    EXPECT_EQ(partSizes(back), (std::vector<int>{3, 2}));
    EXPECT_EQ(back.gdal.value("features")[0]["geometry"].toString(), "MULTILINESTRING");

    Session holes;
    const std::string withHole =
        "<kml xmlns=\"http://www.opengis.net/kml/2.2\"><Placemark><Polygon>"
        "<outerBoundaryIs><LinearRing><coordinates>-82.50,29.50 -82.50,29.60 -82.40,29.60 "
        "-82.40,29.50 -82.50,29.50</coordinates></LinearRing></outerBoundaryIs>"
        "<innerBoundaryIs><LinearRing><coordinates>-82.47,29.53 -82.43,29.53 -82.43,29.57 "
        "-82.47,29.57 -82.47,29.53</coordinates></LinearRing></innerBoundaryIs>"
        "</Polygon></Placemark></kml>";
    writeFile(dir / "hole.kml", withHole);
    convert(holes, dir / "hole.kml", {No, No});
    ASSERT_TRUE(holes.outcome.completed);
    back = sw::test::readShapefile(dir / "swhole.shp");
    ASSERT_EQ(sw::test::problemsOf(back), "");
    EXPECT_EQ(partSizes(back), (std::vector<int>{5, 5}));
    const auto areas = back.raw.value("records")[0]["areas"].toArray();
    EXPECT_LT(areas[0].toDouble(), 0); // outer ring clockwise
    EXPECT_GT(areas[1].toDouble(), 0); // hole counter-clockwise
    EXPECT_EQ(back.gdal.value("features")[0]["wkt"].toString().left(9), "POLYGON (");
    expectDrawnAcres(holes.outcome, back);
}

// A ring is a hole only where the KML says so: a second perimeter drawn inside the first is a
// perimeter of its own, and an image overlay's corners around the drawing are no drawing.
TEST(KmlConversion, RingRolesComeFromTheKmlNotFromWhichRingLiesInsideWhich) {
    TempDir dir;
    const std::string ring = "<Placemark><Polygon><outerBoundaryIs><LinearRing><coordinates>";
    const std::string end = "</coordinates></LinearRing></outerBoundaryIs></Polygon></Placemark>";
    const std::string kml =
        "<kml xmlns=\"http://www.opengis.net/kml/2.2\" "
        "xmlns:gx=\"http://www.google.com/kml/ext/2.2\"><Document>"
        "<GroundOverlay><gx:LatLonQuad><coordinates>-83,29 -82,29 -82,30 -83,30"
        "</coordinates></gx:LatLonQuad></GroundOverlay>" +
        ring + "-82.50,29.50 -82.50,29.60 -82.40,29.60 -82.40,29.50 -82.50,29.50" + end + ring +
        "-82.47,29.53 -82.43,29.53 -82.43,29.57 -82.47,29.57 -82.47,29.53" + end +
        "</Document></kml>";
    writeFile(dir / "nested.kml", kml);
    Session run;
    convert(run, dir / "nested.kml", {No, No});
    ASSERT_TRUE(run.outcome.completed) << ::testing::PrintToString(run.dialogs.messageTexts());
    EXPECT_EQ(run.outcome.vertexCount, 10u);
    const auto back = sw::test::readShapefile(dir / "swnested.shp");
    ASSERT_EQ(sw::test::problemsOf(back), "");
    EXPECT_EQ(partSizes(back), (std::vector<int>{5, 5}));
    const auto areas = back.raw.value("records")[0]["areas"].toArray();
    EXPECT_LT(areas[0].toDouble(), 0); // both outer rings: clockwise
    EXPECT_LT(areas[1].toDouble(), 0);
    EXPECT_EQ(back.gdal.value("features")[0]["wkt"].toString().left(14), "MULTIPOLYGON (");
    expectDrawnAcres(run.outcome, back); // the label adds both, as the shape holds both
}

// GDAL's GPX test file: its route and the two segments of its track become a line shapefile
// of three parts; its two waypoints, single points, are left out and counted.
TEST(KmlConversion, AGpsFileConvertsLikeADrawing) {
    TempDir dir;
    fs::copy_file(sw::test::sourceDir() / "kmlconvert" / "tests" / "gpx" / "test.gpx",
                  dir / "test.gpx");
    Session run;
    convert(run, dir / "test.gpx", {No, No});
    ASSERT_TRUE(run.outcome.completed) << ::testing::PrintToString(run.dialogs.messageTexts());
    EXPECT_EQ(run.dialogs.messageTexts().back(),
              "KML Converted to Polyline Shapefile\n2 single points were left out.");
    EXPECT_EQ(readFile(dir / "ccswtest.csv").substr(0, 16), "1,1,0,2\r\n1,4,3\r\n");
    const auto back = sw::test::readShapefile(dir / "swtest.shp");
    ASSERT_EQ(sw::test::problemsOf(back), "");
    EXPECT_EQ(partSizes(back), (std::vector<int>{3, 2, 2}));
}

TEST(KmlConversion, OverwriteCancelAndRefusal) {
    TempDir dir;
    const fs::path kml = dir / "Ridge.kml";
    fs::copy_file(sw::test::kmlTestFile("polygon_ge.kml"), kml);
    Session first;
    convert(first, kml, {No, No});
    ASSERT_TRUE(first.outcome.completed);
    const std::string shapeBefore = readFile(dir / "swRidge.shp");

    // No to overwriting, then cancelling the save dialog: nothing more is written.
    const auto before = filesIn(dir.path());
    Session cancelled;
    cancelled.dialogs.fileNext(kml.string()).fileNext(std::nullopt).answerNext(No);
    cancelled.outcome = convertKml(cancelled.dialogs, ridgeFire(), cancelled.kmlDialog);
    EXPECT_FALSE(cancelled.outcome.completed);
    EXPECT_EQ(cancelled.dialogs.messageTexts(),
              std::vector<std::string>{"Shapefile " + (dir / "swRidge.shp").string() +
                                       " exists - overwrite?"});
    EXPECT_EQ(cancelled.dialogs.messages[0].title, "Overwrite");
    EXPECT_EQ(cancelled.dialogs.messages[0].icon, sw::Icon::Warning);
    // Enter keeps the old shapefile, as at every other overwrite question.
    EXPECT_EQ(cancelled.dialogs.messages[0].defaultButton, Answer::No);
    ASSERT_EQ(cancelled.dialogs.files.size(), 2u);
    EXPECT_EQ(cancelled.dialogs.files[1].kind, sw::FileRequest::Kind::Save);
    EXPECT_EQ(cancelled.dialogs.files[1].filter, "Shape Files(*.shp)|*.shp");
    EXPECT_EQ(cancelled.dialogs.files[1].fileName, (dir / "swRidge.shp").string());
    EXPECT_EQ(filesIn(dir.path()), before);

    // No, then another name: the working files follow the picked name.
    Session renamed;
    renamed.dialogs.fileNext(kml.string()).fileNext((dir / "Final.shp").string());
    renamed.dialogs.answerNext(No).answerNext(No).answerNext(No);
    renamed.outcome = convertKml(renamed.dialogs, ridgeFire(), renamed.kmlDialog);
    ASSERT_TRUE(renamed.outcome.completed);
    for (const char* name :
         {"Final.shp", "Final.prj", "Final.mdb", "ccFinal.csv", "pwattFinal.csv"}) {
        EXPECT_TRUE(fs::exists(dir / name)) << name;
    }

    // Yes to overwriting, but the KML is now broken: the message names it, and the shapefile
    // it was to replace is still there, whole.
    writeFile(kml, "<kml><Placemark><Point><coordinates>-82,29</Point></Placemark></kml>");
    Session broken;
    convert(broken, kml, {Yes});
    EXPECT_FALSE(broken.outcome.completed);
    ASSERT_EQ(broken.dialogs.messages.size(), 2u);
    EXPECT_NE(broken.dialogs.messages[1].text.find(kml.string()), std::string::npos);
    EXPECT_NE(broken.dialogs.messages[1].text.find("Line 1:"), std::string::npos);
    EXPECT_EQ(readFile(dir / "swRidge.shp"), shapeBefore);
    EXPECT_TRUE(fs::exists(dir / "swRidge.dbf"));
    EXPECT_FALSE(broken.dialogs.waitCursorOn);

    // Yes and a sound KML, but a folder stands where the projection file goes: the message
    // names it, and the old shapefile is still there, whole, with nothing half-replaced.
    fs::copy_file(sw::test::kmlTestFile("line_tabs_21.kml"), kml,
                  fs::copy_options::overwrite_existing);
    fs::remove(dir / "swRidge.prj");
    fs::create_directory(dir / "swRidge.prj");
    const std::string tableBefore = readFile(dir / "swRidge.dbf");
    Session blocked;
    convert(blocked, kml, {Yes, No, No});
    EXPECT_FALSE(blocked.outcome.completed);
    const std::string said = blocked.dialogs.messageTexts().back();
    EXPECT_NE(said.find((dir / "swRidge.prj").string() + " is a folder"), std::string::npos)
        << said;
    EXPECT_EQ(readFile(dir / "swRidge.shp"), shapeBefore);
    EXPECT_EQ(readFile(dir / "swRidge.dbf"), tableBefore);
    fs::remove(dir / "swRidge.prj");

    // Yes, and a sound KML: replaced.
    Session again;
    convert(again, kml, {Yes, No, No});
    EXPECT_TRUE(again.outcome.completed);
    EXPECT_EQ(sw::test::readShapefile(dir / "swRidge.shp").raw.value("shape_type").toInt(), 3);
}

// The shapefile's vertices (of a line: written in drawing order) and the rows of COORD: a
// user who opens the working database sees the very numbers the shapefile holds, however the
// KML spelled them.
std::vector<std::pair<double, double>> shpPoints(const fs::path& shp) {
    const std::string bytes = readFile(shp);
    std::vector<std::pair<double, double>> points;
    if (bytes.size() < 100 + 8 + 44) {
        return points;
    }
    auto int32 = [&](std::size_t at) {
        std::int32_t v;
        std::memcpy(&v, bytes.data() + at, 4);
        return static_cast<std::size_t>(v);
    };
    const std::size_t content = 100 + 8; // one record: its header, then its shape
    const std::size_t parts = int32(content + 36);
    const std::size_t count = int32(content + 40);
    const std::size_t first = content + 44 + 4 * parts;
    for (std::size_t i = 0; i < count && first + 16 * (i + 1) <= bytes.size(); ++i) {
        double xy[2];
        std::memcpy(xy, bytes.data() + first + 16 * i, 16);
        points.emplace_back(xy[0], xy[1]);
    }
    return points;
}

TEST(KmlConversion, CoordRowsAreTheShapesVertices) {
    const std::vector<std::vector<std::string>> drawings = {
        // long fractions, exponents, a whole degree, more digits than a double holds
        {"-82.34110000000001,29.6512", "-8.23302e1,2.96519E+1", "-82,29",
         "-82.329812345678901234567,29.643100000000000000001,12.5"},
        // a leading zero makes the text driver keep the column as texts
        {"-082.5,029.25", "-82.25,29.125"},
    };
    for (const auto& tuples : drawings) {
        TempDir dir;
        writeFile(dir / "line.kml", lineKml(tuples));
        Session run;
        convert(run, dir / "line.kml", {No, No});
        ASSERT_TRUE(run.outcome.completed) << testing::PrintToString(run.dialogs.messageTexts());
        const auto points = shpPoints(dir / "swline.shp");
        sw::Database db;
        ASSERT_TRUE(db.openReadOnly(dir / "swline.mdb")) << db.lastError();
        auto rows = db.query("SELECT F2, F3 FROM COORD");
        ASSERT_TRUE(rows) << db.lastError();
        ASSERT_EQ(static_cast<std::size_t>(rows->recordCount()), tuples.size());
        ASSERT_EQ(points.size(), tuples.size());
        std::size_t i = 0;
        for (rows->moveFirst(); !rows->eof(); rows->moveNext(), ++i) {
            EXPECT_EQ(points[i].first, rows->number(0)) << tuples[i];
            EXPECT_EQ(points[i].second, rows->number(1)) << tuples[i];
        }
    }
}

// A working database that does not come out whole is a failed conversion: the shapefile it
// was to go with is not written, and the message says what the database lacks.
TEST(KmlConversion, AnIncompleteDatabaseStopsTheShapefile) {
    TempDir dir;
    const auto names = sw::kml::namesForKml(dir / "Ridge.kml");
    writeFile(names.attributeFile, "1,\"Ridge\",\"FL-1\",\"\",\"\",\"\",5,\"\",\"\",\"\",\"\","
                                   "\"\"\r\n");
    const std::string vertices = "1,-82.3,29.6\r\n1,-82.2,29.6\r\n";
    writeFile(names.vertexFile, vertices);
    writeFile(names.shapefile, "the old shapefile");
    sw::kml::WorkingDatabase database;
    auto vertexText = std::make_shared<sw::TextFeed>();
    database.start(names, vertexText);
    vertexText->append(vertices);
    database.verticesRead(3); // the KML had three vertices; the vertex file holds two
    std::string problem;
    const auto fire = database.fireTable(problem);
    ASSERT_TRUE(fire) << problem;
    sw::kml::ShapeChoice line;
    line.shapeType = sw::ShapeType::Polyline;
    sw::kml::Part part;
    part.count = 2;
    const auto result = sw::kml::writePerimeterShapefile(names.shapefile, line, *fire,
                                                         {{-82.3, 29.6}, {-82.2, 29.6}}, {part},
                                                         [&] { return database.finish(); });
    EXPECT_FALSE(result.written);
    EXPECT_EQ(result.problem, "The working database " + names.database.string() +
                                  " holds 2 vertices of the 3 in the KML.");
    EXPECT_EQ(readFile(names.shapefile), "the old shapefile");
    EXPECT_EQ(filesIn(dir.path()), (std::set<std::string>{"swRidge.shp", "swRidge.mdb",
                                                          "ccswRidge.csv", "pwattswRidge.csv"}));
}

// The files a conversion names itself are its own: what a conversion that stopped half-way
// left under those names is replaced, a link planted under one is replaced rather than
// written through, and a second conversion of the same names waits its turn.
TEST(KmlConversion, WorkingFilesAreTheConversionsOwn) {
    TempDir dir;
    const fs::path kml = dir / "Ridge.kml";
    fs::copy_file(sw::test::kmlTestFile("polygon_ge.kml"), kml);
    // Left by a conversion that stopped: a database of another kind, and a journal that SQLite
    // would play into a new database of that name.
    writeFile(dir / "swRidge.mdb", "half a database");
    writeFile(dir / "swRidge.mdb-journal", "half a journal");
    Session retry;
    convert(retry, kml, {No, No});
    ASSERT_TRUE(retry.outcome.completed) << testing::PrintToString(retry.dialogs.messageTexts());
    {
        sw::Database db;
        ASSERT_TRUE(db.openReadOnly(dir / "swRidge.mdb")) << db.lastError();
        auto rows = db.query("SELECT COUNT(F1) FROM COORD");
        ASSERT_TRUE(rows) << db.lastError();
        EXPECT_EQ(rows->number(0), 5);
    }
    EXPECT_FALSE(fs::exists(dir / "swRidge.mdb-journal"));

    // Links under every working name, one of them dangling: the files they point to stay as
    // they were, and no file appears where the dangling one points.
    TempDir other;
    fs::remove(dir / "swRidge.shp");
    const char* linked[] = {"swRidge.kml", "ccswRidge.csv", "pwattswRidge.csv", "swRidge.prj"};
    for (const char* name : linked) {
        writeFile(other / name, "not the program's");
        fs::remove(dir / name);
        fs::create_symlink(other / name, dir / name);
    }
    fs::remove(dir / "swRidge.mdb");
    fs::create_symlink(other / "elsewhere.mdb", dir / "swRidge.mdb");
    Session planted;
    convert(planted, kml, {No, No});
    ASSERT_TRUE(planted.outcome.completed)
        << testing::PrintToString(planted.dialogs.messageTexts());
    for (const char* name : linked) {
        EXPECT_EQ(readFile(other / name), "not the program's") << name;
        EXPECT_FALSE(fs::is_symlink(dir / name)) << name;
    }
    EXPECT_FALSE(fs::is_symlink(dir / "swRidge.mdb"));
    EXPECT_FALSE(fs::exists(other / "elsewhere.mdb"));

    // Fire 1.kml and Fire-1.kml share every working name: while one converts, the other says
    // so and touches nothing.
    fs::copy_file(kml, dir / "Fire 1.kml");
    QLockFile running(QString::fromStdString((dir / ".swFire1.lock").string()));
    ASSERT_TRUE(running.tryLock(0));
    const auto before = filesIn(dir.path());
    Session second;
    convert(second, dir / "Fire 1.kml", {No, No});
    EXPECT_FALSE(second.outcome.completed);
    EXPECT_EQ(second.dialogs.messageTexts(),
              std::vector<std::string>{"Another conversion is using the working name swFire1 in " +
                                       dir.path().string() +
                                       ".\nConvert again once it is complete."});
    EXPECT_EQ(filesIn(dir.path()), before);
    running.unlock();
    convert(second, dir / "Fire 1.kml", {No, No});
    EXPECT_TRUE(second.outcome.completed);
    // The same window's open dialog starts where the last file was picked.
    EXPECT_EQ(second.dialogs.files.back().fileName, (dir / "Fire 1.kml").string());
}

// A folder name need not be UTF-8 (a USB stick from another system): the file in it converts.
TEST(KmlConversion, AFolderNameThatIsNotUtf8) {
    TempDir dir;
    const fs::path folder = dir / "Feuer \xFF";
    fs::create_directory(folder);
    fs::copy_file(sw::test::kmlTestFile("polygon_ge.kml"), folder / "Ridge.kml");
    Session run;
    convert(run, folder / "Ridge.kml", {No, No});
    EXPECT_TRUE(run.outcome.completed) << testing::PrintToString(run.dialogs.messageTexts());
    EXPECT_TRUE(fs::exists(folder / "swRidge.shp"));
}

TEST(KmlConversion, MissingEmptyAndZippedFiles) {
    TempDir dir;
    Session missing;
    convert(missing, dir / "Gone.kml", {});
    EXPECT_EQ(missing.dialogs.messages.at(0).title, "File Not Found");
    EXPECT_EQ(missing.dialogs.messages.at(0).text, (dir / "Gone.kml").string());

    writeFile(dir / "Empty.kml", "");
    Session empty;
    convert(empty, dir / "Empty.kml", {});
    EXPECT_EQ(empty.dialogs.messages.at(0).title, "File Is Empty");
    EXPECT_EQ(empty.dialogs.messages.at(0).text, (dir / "swEmpty.kml").string());

    // A KMZ as Google Earth saves it: the working copy is its document.
    const auto zip = sw::test::runProcess(
        "/usr/bin/python3",
        {"-c",
         "import zipfile,sys; z=zipfile.ZipFile(sys.argv[1],'w',zipfile.ZIP_DEFLATED); "
         "z.write(sys.argv[2],'doc.kml'); z.close()",
         (dir / "Ridge Fire.kmz").string(), sw::test::kmlTestFile("polygon_ge.kml").string()});
    ASSERT_EQ(zip.exitCode, 0) << zip.output;
    Session zipped;
    convert(zipped, dir / "Ridge Fire.kmz", {No, No});
    ASSERT_TRUE(zipped.outcome.completed) << testing::PrintToString(zipped.dialogs.messageTexts());
    EXPECT_EQ(readFile(dir / "swRidgeFire.kml"), readFile(sw::test::kmlTestFile("polygon_ge.kml")));
    EXPECT_EQ(zipped.outcome.vertexCount, 5u);

    // A refused KML leaves a database of its working name from before as it was.
    writeFile(dir / "swBroken.mdb", "an earlier database");
    writeFile(dir / "Broken.kml", "<kml><Point><coordinates>-82,29</Point></kml>");
    Session broken;
    convert(broken, dir / "Broken.kml", {});
    EXPECT_FALSE(broken.outcome.completed);
    EXPECT_EQ(readFile(dir / "swBroken.mdb"), "an earlier database");

    // A KMZ whose document is refused takes its unpacked document with it.
    writeFile(dir / "broken.kml", "<kml><Point><coordinates>-82,29</Point></kml>");
    const auto badZip = sw::test::runProcess(
        "/usr/bin/python3", {"-c",
                             "import zipfile,sys; z=zipfile.ZipFile(sys.argv[1],'w'); "
                             "z.write(sys.argv[2],'doc.kml'); z.close()",
                             (dir / "Bad.kmz").string(), (dir / "broken.kml").string()});
    ASSERT_EQ(badZip.exitCode, 0) << badZip.output;
    Session badKmz;
    convert(badKmz, dir / "Bad.kmz", {});
    EXPECT_FALSE(badKmz.outcome.completed);
    EXPECT_FALSE(fs::exists(dir / "swBad.kml"));
}

} // namespace

namespace {

TEST(DrawnPerimeter, AcresShownGroupedWithOneDecimal) {
    const std::pair<double, const char*> cases[] = {
        {1234.5, "Drawn perimeter: 1,234.5 acres"},
        {248.49106, "Drawn perimeter: 248.5 acres"},
        {999.95, "Drawn perimeter: 1,000.0 acres"}, // rounds up into a new group
        {1234567.84, "Drawn perimeter: 1,234,567.8 acres"},
        {0.04, "Drawn perimeter: 0.0 acres"},
        {100, "Drawn perimeter: 100.0 acres"},
    };
    for (const auto& [acres, text] : cases) {
        EXPECT_EQ(sw::kml::drawnPerimeterText(acres), text);
    }
}

} // namespace
