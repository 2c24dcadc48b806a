// GPS files as handheld units and other programs write them: every track segment and route a
// part, every waypoint a point, the elevation kept; what is not a position never a vertex.

#include "kmlconvert/gpx_extract.h"

#include "kmlconvert/tests/kml_test_data.h"
#include "testsupport/test_paths.h"

#include <QBuffer>

#include <gtest/gtest.h>

namespace {

using sw::test::partsOf;

using sw::kml::Extraction;

struct Read {
    Extraction extraction;
    std::vector<std::string> lines; // vertex file lines
};

Read readGpx(const std::string& bytes) {
    QByteArray data = QByteArray::fromStdString(bytes);
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    Read read;
    read.extraction =
        sw::kml::extractGpsCoordinates(buffer, "walk.gpx", [&](const sw::kml::Tuple& t) {
            read.lines.push_back(sw::kml::vertexLine(t));
        });
    return read;
}

std::string gpxFile(const char* name) {
    return sw::test::readFile(sw::test::sourceDir() / "kmlconvert" / "tests" / "gpx" / name);
}

TEST(GpxExtraction, TracksRoutesAndWaypointsOfRealFiles) {
    struct Case {
        const char* file;
        const char* parts;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        // GDAL's test file: 2 waypoints, 1 route of 3 (an empty one passed over), 1 track of 2
        // segments (two empty tracks passed over).
        {"test.gpx",
         "point:1 point:1 line:3 track:2 track:2",
         {"1,1,0,2", "1,4,3", "1,6,5,7", "1,9,8,10", "1,12,11,13", "1,15,14,16", "1,18,17,19",
          "1,21,20,22", "1,24,23,25"}},
        // A handheld unit's walk: a new segment after the signal was lost; times, names and
        // the unit's extensions are no positions.
        {"walked_edge.gpx",
         "track:3 track:3",
         {"1,-82.4103000,29.6012000,31.2", "1,-82.4090000,29.6015000,31.9",
          "1,-82.4078000,29.6009000,30.4", "1,-82.4080000,29.5998000,29.8",
          "1,-82.4095000,29.5994000,30.1", "1,-82.4106000,29.6001000,30.9"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const Read read = readGpx(gpxFile(c.file));
        ASSERT_TRUE(read.extraction.ok()) << read.extraction.refusal;
        EXPECT_EQ(partsOf(read.extraction), c.parts);
        EXPECT_EQ(read.lines, c.lines);
    }
}

TEST(GpxExtraction, GpxOneZeroAndNoNamespaceReadAlike) {
    for (const char* root : {"<gpx version=\"1.0\" xmlns=\"http://www.topografix.com/GPX/1/0\">",
                             "<gpx version=\"1.1\">"}) {
        SCOPED_TRACE(root);
        const Read read = readGpx(std::string(root) +
                                  "<rte><rtept lat=\"29.5\" lon=\"-82.5\"/><rtept lat=\" 29.6 \" "
                                  "lon=\"-82.4\"><ele></ele></rtept></rte></gpx>");
        ASSERT_TRUE(read.extraction.ok()) << read.extraction.refusal;
        EXPECT_EQ(read.lines, (std::vector<std::string>{"1,-82.5,29.5", "1,-82.4,29.6"}));
    }
}

TEST(GpxExtraction, APositionOutsideItsSegmentOrRouteIsASinglePoint) {
    const Read read = readGpx("<gpx><trkpt lat=\"29.5\" lon=\"-82.5\"/>"
                              "<trk><rtept lat=\"29.6\" lon=\"-82.4\"/><trkseg>"
                              "<trkpt lat=\"29.7\" lon=\"-82.3\"/></trkseg></trk></gpx>");
    ASSERT_TRUE(read.extraction.ok()) << read.extraction.refusal;
    EXPECT_EQ(partsOf(read.extraction), "point:1 point:1 track:1");
}

TEST(GpxExtraction, RefusalsNameTheFileAndTheLine) {
    const std::string gpx = "<gpx xmlns=\"http://www.topografix.com/GPX/1/1\">\n<trk><trkseg>\n";
    struct Case {
        const char* name;
        std::string bytes;
        const char* expected;
    };
    const Case cases[] = {
        {"a KML", "<kml><Placemark/></kml>", "it is not a GPX file (its root element is \"kml\")"},
        {"not well-formed", gpx + "<trkpt lat=\"29\" lon=\"-82\">\n</trkseg>",
         "Line 4: it is not well-formed XML"},
        {"no lat", gpx + "<trkpt lon=\"-82\"/>", "Line 3: a position has no lat attribute."},
        {"no lon", gpx + "\n<trkpt lat=\"29\"/>", "Line 4: a position has no lon attribute."},
        {"letters", gpx + "<trkpt lat=\"29\" lon=\"west\"/>", "\"west\" is not a number."},
        {"latitude", gpx + "<trkpt lat=\"91\" lon=\"-82\"/>",
         "Line 3: the latitude 91 lies outside -90 to 90."},
        {"longitude", gpx + "<trkpt lat=\"29\" lon=\"-182\"/>",
         "the longitude -182 lies outside -180 to 180."},
        {"elevation", gpx + "<trkpt lat=\"29\" lon=\"-82\"><ele>high</ele></trkpt>",
         "\"high\" is not a number."},
        {"no positions", gpx + "</trkseg></trk></gpx>", "It holds no coordinates."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Read read = readGpx(c.bytes);
        ASSERT_FALSE(read.extraction.ok());
        EXPECT_NE(read.extraction.refusal.find("The GPX file walk.gpx cannot be converted."),
                  std::string::npos)
            << read.extraction.refusal;
        EXPECT_NE(read.extraction.refusal.find(c.expected), std::string::npos)
            << read.extraction.refusal;
    }
}

} // namespace
