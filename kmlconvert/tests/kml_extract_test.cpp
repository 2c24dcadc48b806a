#include "kmlconvert/kml_extract.h"
#include "kmlconvert/kmz_archive.h"

#include "kmlconvert/tests/kml_test_data.h"
#include "testsupport/test_paths.h"

#include <QBuffer>
#include <zip.h>

#include <chrono>
#include <gtest/gtest.h>

namespace {

using sw::test::partsOf;

namespace fs = std::filesystem;
using sw::kml::Extraction;
using sw::kml::PartKind;
using sw::test::readFile;
using sw::test::TempDir;
using sw::test::writeFile;

struct Read {
    Extraction extraction;
    std::vector<std::string> lines; // vertex file lines
};

Read readKml(const std::string& bytes, const std::string& shown = "drawn.kml") {
    QByteArray data = QByteArray::fromStdString(bytes);
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    Read read;
    read.extraction = sw::kml::extractCoordinates(buffer, shown, [&](const sw::kml::Tuple& t) {
        read.lines.push_back(sw::kml::vertexLine(t));
    });
    return read;
}

// Google Earth and other tools lay tuples out in many ways; every tuple of every coordinates
// element counts, and nothing else does.
TEST(KmlExtraction, EveryTupleOfEveryLayoutInDocumentOrder) {
    struct Case {
        const char* file;
        std::size_t vertices;
        const char* parts;
        const char* firstLine;
        const char* lastLine;
    };
    const Case cases[] = {
        // tuples on one line after a line holding only <coordinates>; the ring repeats its start
        {"polygon_ge.kml", 5, "outer:5", "1,-82.3411,29.6512,0", "1,-82.3411,29.6512,0"},
        // tuples on the very line of the tags that open and close them
        {"polygon_inline.kml", 4, "outer:4", "1,-82.3411,29.6512,0", "1,-82.3411,29.6512,0"},
        // one tuple per line, CR LF, byte order mark, blanks beside commas, two numbers
        {"line_crlf_bom.kml", 4, "line:4", "1,-82.3411,29.6512", "1,-82.3405,29.6427"},
        // tabs between tuples, KML 2.1
        {"line_tabs_21.kml", 3, "line:3", "1,-82.1,29.1,0", "1,-82.3,29.3,0"},
        // KML 2.0; a multi-line description with a tuple-like line is not a vertex
        {"described_20.kml", 1, "point:1", "1,-82.5461,29.5512", "1,-82.5461,29.5512"},
        // several placemarks, each drawing its own part, a polygon with a hole
        {"several.kml", 14, "point:1 line:3 outer:5 inner:5", "1,-82.40,29.70,0",
         "1,-82.47,29.53,0"},
        // a track's positions: blanks between the numbers, commas in the vertex file
        {"track.kml", 3, "track:3", "1,-82.31,29.61,10", "1,-82.33,29.63,12"},
        // coordinates-like texts in CDATA and extended data are not vertices
        {"point_cdata.kml", 1, "point:1", "1,-82.2001,29.3002", "1,-82.2001,29.3002"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        Read read = readKml(readFile(sw::test::kmlTestFile(c.file)));
        ASSERT_TRUE(read.extraction.ok()) << read.extraction.refusal;
        EXPECT_EQ(read.extraction.vertexCount, c.vertices);
        ASSERT_EQ(read.lines.size(), c.vertices);
        EXPECT_EQ(partsOf(read.extraction), c.parts);
        EXPECT_EQ(read.lines.front(), c.firstLine);
        EXPECT_EQ(read.lines.back(), c.lastLine);
    }
}

// Numbers other readers of the vertex file might read differently are written out plainly;
// plain ones stay exactly as they stood.
TEST(KmlExtraction, VertexLinesKeepPlainNumbersAndSpellOutOthers) {
    const std::pair<const char*, const char*> cases[] = {
        {"-82.34110,29.651200,0", "1,-82.34110,29.651200,0"},
        {"-82,29", "1,-82,29"},
        {"-8.25e1,2.9e1,1E2", "1,-82.5,29,100"},
        {"+82.5,.5", "1,82.5,0.5"},
        {"-82.5,-0.", "1,-82.5,0"},
    };
    for (const auto& [tuple, line] : cases) {
        Read read = readKml(std::string("<kml><Point><coordinates>") + tuple +
                            "</coordinates></Point></kml>");
        ASSERT_TRUE(read.extraction.ok()) << read.extraction.refusal;
        ASSERT_EQ(read.lines.size(), 1u);
        EXPECT_EQ(read.lines[0], line) << tuple;
    }
}

TEST(KmlExtraction, PartsKnowWhereTheyStartAndEnd) {
    Read read = readKml(readFile(sw::test::kmlTestFile("several.kml")));
    ASSERT_TRUE(read.extraction.ok());
    const auto& parts = read.extraction.parts;
    ASSERT_EQ(parts.size(), 4u);
    EXPECT_EQ(parts[2].first, 4u);
    EXPECT_DOUBLE_EQ(parts[1].firstLongitude, -82.41);
    EXPECT_DOUBLE_EQ(parts[1].lastLongitude, -82.43);
    EXPECT_FALSE(parts[1].closed());
    EXPECT_TRUE(parts[2].closed());
}

// A file that cannot be converted says so, naming the file and the line: the conversion
// must never end as if nothing had gone wrong.
TEST(KmlExtraction, RefusalsNameTheFileAndTheLine) {
    const std::string kml = "<kml xmlns=\"http://www.opengis.net/kml/2.2\"><Placemark>\n";
    struct Case {
        const char* name;
        std::string bytes;
        const char* expected; // in the message
    };
    const Case cases[] = {
        {"not well-formed", kml + "<LineString><coordinates>-82,29 -82.1,29.1</LineString>\n",
         "Line 2: it is not well-formed XML"},
        {"cut off", kml + "<Point><coordinates>-82,29", "Line 2: it is not well-formed XML"},
        {"letters", kml + "<LineString><coordinates>\n-82,29\n-82,abc\n</coordinates>",
         "Line 4: \"-82,abc\" is not a coordinate tuple: \"abc\" is not a number."},
        {"one number", kml + "<Point><coordinates>-82</coordinates></Point></Placemark></kml>",
         "Line 2: \"-82\" is not a coordinate tuple"},
        {"four numbers",
         kml + "<Point><coordinates>-82,29,0,1</coordinates></Point></Placemark></kml>",
         "Line 2: \"-82,29,0,1\" is not a coordinate tuple"},
        {"empty number", kml + "<Point><coordinates>-82,,0</coordinates></Point></Placemark></kml>",
         "\"\" is not a number"},
        {"nan", kml + "<Point><coordinates>nan,29</coordinates></Point></Placemark></kml>",
         "\"nan\" is not a number"},
        {"longitude",
         kml + "<Point>\n\n<coordinates>-182.5,29</coordinates></Point></Placemark></kml>",
         "Line 4: the longitude -182.5 lies outside -180 to 180."},
        {"latitude", kml + "<Point><coordinates>-82,90.001</coordinates></Point></Placemark></kml>",
         "Line 2: the latitude 90.001 lies outside -90 to 90."},
        {"track position",
         kml + "<gx:Track xmlns:gx=\"http://www.google.com/kml/ext/2.2\">\n<gx:coord>-82</gx:coord>"
               "</gx:Track></Placemark></kml>",
         "Line 3: \"-82\" is not a coordinate tuple"},
        {"track position longer than any",
         kml + "<gx:Track xmlns:gx=\"http://www.google.com/kml/ext/2.2\">\n<gx:coord>-82.1 29.6" +
             std::string(200, ' ') + "12</gx:coord></gx:Track></Placemark></kml>",
         "Line 3: \"-82.1 29.6 "},
        {"an entity the file does not define",
         "<?xml version=\"1.0\"?>\n<!DOCTYPE kml SYSTEM \"http://example.com/kml.dtd\">\n" + kml +
             "<Point><coordinates>-82,29&amp;&tail;</coordinates></Point></Placemark></kml>",
         "Line 4: it uses the entity &tail; which it does not define."},
        {"endless token", kml + "<Point><coordinates>" + std::string(5000, '7') + "</coordinates>",
         "Line 2: \"7777777777777777777777777777777777777777...\" is not a coordinate tuple."},
        {"no coordinates", kml + "<name>-82,29</name></Placemark></kml>",
         "drawn.kml cannot be converted.\nIt holds no coordinates."},
        {"empty file", "", "drawn.kml cannot be converted.\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Read read = readKml(c.bytes);
        ASSERT_FALSE(read.extraction.ok());
        EXPECT_NE(read.extraction.refusal.find("The KML file drawn.kml cannot be converted."),
                  std::string::npos)
            << read.extraction.refusal;
        EXPECT_NE(read.extraction.refusal.find(c.expected), std::string::npos)
            << read.extraction.refusal;
    }
}

// A few hundred bytes that would expand to gigabytes must be refused at once.
TEST(KmlExtraction, EntitiesAreRefusedBeforeTheyExpand) {
    std::string laughs = "<?xml version=\"1.0\"?>\n<!DOCTYPE kml [\n<!ENTITY lol \"lol\">\n";
    for (int i = 1; i <= 9; ++i) {
        laughs += "<!ENTITY lol" + std::to_string(i) + " \"";
        for (int k = 0; k < 10; ++k) {
            laughs += "&lol" + (i > 1 ? std::to_string(i - 1) : std::string()) + ";";
        }
        laughs += "\">\n";
    }
    laughs += "]>\n<kml><Placemark><name>&lol9;</name><Point><coordinates>-82,29</coordinates>"
              "</Point></Placemark></kml>\n";
    const auto start = std::chrono::steady_clock::now();
    Read read = readKml(laughs);
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_NE(read.extraction.refusal.find("it declares entities"), std::string::npos)
        << read.extraction.refusal;
    EXPECT_TRUE(read.lines.empty());
    EXPECT_LT(took, std::chrono::seconds(5)); // a bound on the damage, not a speed test
}

TEST(KmlExtraction, VertexFileIsWrittenWholeOrNotAtAll) {
    TempDir dir;
    const fs::path vertices = dir / "cc.csv";
    auto written = sw::kml::writeVertexFile(sw::test::kmlTestFile("line_crlf_bom.kml").string(),
                                            vertices.string());
    ASSERT_TRUE(written.ok()) << written.refusal;
    const std::string expected = "1,-82.3411,29.6512\r\n1,-82.3302,29.6519\r\n"
                                 "1,-82.3298,29.6431,12.5\r\n1,-82.3405,29.6427\r\n";
    EXPECT_EQ(readFile(vertices), expected);

    // A refused KML leaves the earlier vertex file as it was.
    writeFile(dir / "bad.kml", "<kml><Point><coordinates>-82,29 -82,abc</coordinates></Point>");
    auto refused = sw::kml::writeVertexFile((dir / "bad.kml").string(), vertices.string(),
                                            "/picked/Bad Fire.kml");
    EXPECT_NE(refused.refusal.find("/picked/Bad Fire.kml"), std::string::npos) << refused.refusal;
    EXPECT_EQ(readFile(vertices), expected);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 2);
}

// ---- KMZ ---------------------------------------------------------------------------------

void writeZip(const fs::path& path,
              const std::vector<std::pair<std::string, std::string>>& entries) {
    int error = 0;
    zip_t* archive = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    ASSERT_NE(archive, nullptr);
    for (const auto& [name, bytes] : entries) {
        zip_source_t* source = zip_source_buffer(archive, bytes.data(), bytes.size(), 0);
        ASSERT_GE(zip_file_add(archive, name.c_str(), source, ZIP_FL_ENC_UTF_8), 0);
    }
    ASSERT_EQ(zip_close(archive), 0);
}

TEST(Kmz, TheDocumentIsDocKmlOrElseTheFirstKml) {
    TempDir dir;
    const std::string doc = readFile(sw::test::kmlTestFile("polygon_ge.kml"));
    const std::string other = readFile(sw::test::kmlTestFile("track.kml"));
    struct Case {
        const char* name;
        std::vector<std::pair<std::string, std::string>> entries;
        std::string expected; // the document, or a part of the message
        bool ok;
    };
    const Case cases[] = {
        {"doc.kml",
         {{"files/pin.png", "PNG"}, {"files/x.kml", other}, {"doc.kml", doc}},
         doc,
         true},
        {"first kml",
         {{"files/pin.png", "PNG"}, {"files/Perimeter.KML", doc}, {"b.kml", other}},
         doc,
         true},
        {"no kml", {{"files/pin.png", "PNG"}}, "holds no KML document", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path kmz = dir / "Fire.kmz";
        writeZip(kmz, c.entries);
        const fs::path kml = dir / "swFire.kml";
        fs::remove(kml);
        const std::string message = sw::kml::extractKmzDocument(kmz, kml);
        if (c.ok) {
            EXPECT_EQ(message, "");
            EXPECT_EQ(readFile(kml), c.expected);
        } else {
            EXPECT_NE(message.find(c.expected), std::string::npos) << message;
            EXPECT_NE(message.find(kmz.string()), std::string::npos) << message;
            EXPECT_FALSE(fs::exists(kml));
        }
    }
}

TEST(Kmz, BrokenAndOversizedArchivesAreRefused) {
    TempDir dir;
    writeFile(dir / "plain.kmz", readFile(sw::test::kmlTestFile("polygon_ge.kml"))); // not a zip
    EXPECT_NE(
        sw::kml::extractKmzDocument(dir / "plain.kmz", dir / "a.kml").find("cannot be opened"),
        std::string::npos);
    // A document that unpacks beyond the bound is refused and leaves no file.
    writeZip(dir / "big.kmz", {{"doc.kml", std::string(200000, ' ') + "<kml/>"}});
    const std::string message = sw::kml::extractKmzDocument(dir / "big.kmz", dir / "b.kml", 100000);
    EXPECT_NE(message.find("unpacks to more than"), std::string::npos) << message;
    EXPECT_FALSE(fs::exists(dir / "b.kml"));
}

} // namespace
