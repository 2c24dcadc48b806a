// Every shapefile written here is read back by GDAL and by a byte-level parser
// (testsupport/shapefile_reading.h): geometry, columns, values, and the agreement of .shp,
// .shx and .dbf.

#include "services/shapefile/shapefiles.h"

#include "testsupport/file_size_limit.h"
#include "testsupport/shapefile_reading.h"
#include "testsupport/test_paths.h"

#include <QJsonArray>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <optional>
#include <set>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace sw {
namespace {

namespace fs = std::filesystem;
using test::FileSizeLimit;
using test::readShapefile;
using test::TempDir;

std::string str(const QJsonValue& value) {
    return value.toString().toStdString();
}

// The bytes of every file in a folder, by name.
std::map<std::string, std::string> folderBytes(const fs::path& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::directory_iterator(folder)) {
        files[entry.path().filename().string()] = test::readFile(entry.path());
    }
    return files;
}

// The permissions of every file in a folder, by name.
std::map<std::string, fs::perms> folderModes(const fs::path& folder) {
    std::map<std::string, fs::perms> modes;
    for (const auto& entry : fs::directory_iterator(folder)) {
        modes[entry.path().filename().string()] = entry.symlink_status().permissions();
    }
    return modes;
}

// Makes writes fail after a number of bytes for as long as it lives.
struct WriteLimit {
    explicit WriteLimit(long long bytes) { ShapeFiles::setWriteLimitForTesting(bytes); }
    ~WriteLimit() { ShapeFiles::setWriteLimitForTesting(std::nullopt); }
};

const std::string kOldProjection =
    "GEOGCS[\"GCS_WGS_1984\",DATUM[\"D_WGS_1984\",SPHEROID[\"WGS_1984\",6378137,298.257223563]],"
    "PRIMEM[\"Greenwich\",0],UNIT[\"Degree\",0.017453292519943295]]\r\n";
const std::string kNewProjection =
    "PROJCS[\"Albers\",GEOGCS[\"GCS_North_American_1983_HARN\",DATUM[\"D_North_American_1983_"
    "HARN\",SPHEROID[\"GRS_1980\",6378137.0,298.257222101]],PRIMEM[\"Greenwich\",0.0],UNIT["
    "\"Degree\",0.0174532925199433]],PROJECTION[\"Albers\"],PARAMETER[\"False_Easting\",400000"
    ".0],PARAMETER[\"False_Northing\",0.0],PARAMETER[\"Central_Meridian\",-84.0],PARAMETER["
    "\"Standard_Parallel_1\",24.0],PARAMETER[\"Standard_Parallel_2\",31.5],PARAMETER["
    "\"Latitude_Of_Origin\",24.0],UNIT[\"Meter\",1.0]]\r\n";

// The columns and values of a facility point, as the facility window writes them.
bool addFacilityFields(ShapeFiles& out) {
    return out.Fields().AddField("Name", FieldType::Text, 45) &&
           out.Fields().AddField("Type", FieldType::Text, 45) &&
           out.Fields().AddField("Lat", FieldType::Double) &&
           out.Fields().AddField("Long", FieldType::Double) &&
           out.Fields().AddField("AlbersX", FieldType::Double) &&
           out.Fields().AddField("AlbersY", FieldType::Double) &&
           out.Fields().AddField("UTM", FieldType::Text, 20) &&
           out.Fields().AddField("USNG", FieldType::Text, 20) && out.CommitFields();
}

bool writeFacility(ShapeFiles& out, const std::string& name, double x, double y) {
    return out.Fields().Field("Name").SetValue(name) &&
           out.Fields().Field("Type").SetValue("Helibase") &&
           out.Fields().Field("Lat").SetValue(30.4469) &&
           out.Fields().Field("Long").SetValue(-84.2773) &&
           out.Fields().Field("AlbersX").SetValue(x) && out.Fields().Field("AlbersY").SetValue(y) &&
           out.Fields().Field("UTM").SetValue("16 R 760920 3372280") &&
           out.Fields().Field("USNG").SetValue("16R GU 60920 72280") &&
           out.Vertices().AddVertex(x, y, 0) && out.WriteRecord();
}

void createFacilityFile(const fs::path& path, int records) {
    ShapeFiles out;
    ASSERT_TRUE(out.OpenShapefile(path, ShapeFiles::OpenMode::Create, ShapeType::Point))
        << out.lastError();
    ASSERT_TRUE(addFacilityFields(out)) << out.lastError();
    for (int i = 0; i < records; ++i) {
        ASSERT_TRUE(writeFacility(out, "Camp " + std::to_string(i), 612345.7 + i, 312345.68 - i))
            << out.lastError();
    }
}

// ---------------------------------------------------------------------------------------------

struct GeometryCase {
    const char* name;
    ShapeType shapeType;
    std::vector<std::array<double, 3>> vertices; // x, y, part number
    const char* gdalType;
    const char* wkt;
    std::array<double, 4> extent; // min x, max x, min y, max y
};

void PrintTo(const GeometryCase& c, std::ostream* os) {
    *os << c.name;
}

class ShapeTypes : public testing::TestWithParam<GeometryCase> {};

TEST_P(ShapeTypes, NewFileReadsBackWithSameGeometryColumnsAndValues) {
    const auto& c = GetParam();
    TempDir dir;
    auto path = dir / "pwfire.shp";
    {
        ShapeFiles out;
        ASSERT_TRUE(out.OpenShapefile(path, ShapeFiles::OpenMode::Create, c.shapeType))
            << out.lastError();
        ASSERT_TRUE(out.Fields().AddField("NAME", FieldType::Text, 35));
        ASSERT_TRUE(out.Fields().AddField("GISID", FieldType::LongInteger, 4));
        ASSERT_TRUE(out.CommitFields()) << out.lastError();
        ASSERT_TRUE(out.Fields().Field("name").SetValue("Big Fire #2"));
        ASSERT_TRUE(out.Fields().Field("GisId").SetValue(1.0));
        for (const auto& v : c.vertices) {
            ASSERT_TRUE(out.Vertices().AddVertex(v[0], v[1], static_cast<int>(v[2])));
        }
        ASSERT_TRUE(out.SetPartInfo(1, 0));
        ASSERT_TRUE(out.WriteRecord()) << out.lastError();
    } // dropped without Close, as the windows do

    auto back = readShapefile(path);
    ASSERT_EQ(test::problemsOf(back), "");
    EXPECT_EQ(str(back.gdal["geometry_type"]), c.gdalType);
    EXPECT_EQ(back.raw["shape_type"].toInt(), static_cast<int>(c.shapeType));
    ASSERT_EQ(back.gdal["feature_count"].toInt(), 1);
    auto feature = back.gdal["features"].toArray()[0].toObject();
    EXPECT_EQ(str(feature["wkt"]), c.wkt);
    EXPECT_EQ(str(feature["values"].toObject()["NAME"]), "Big Fire #2");
    EXPECT_EQ(feature["values"].toObject()["GISID"].toInteger(), 1);
    auto extent = back.gdal["extent"].toArray();
    for (int i = 0; i < 4; ++i) {
        EXPECT_DOUBLE_EQ(extent[i].toDouble(), c.extent[static_cast<std::size_t>(i)]) << i;
    }
    EXPECT_EQ(str(back.raw["cpg"]), "UTF-8");
    EXPECT_EQ(str(back.gdal["encoding"]), "UTF-8");
}

INSTANTIATE_TEST_SUITE_P(
    ShapeFiles, ShapeTypes,
    testing::Values(GeometryCase{"Point",
                                 ShapeType::Point,
                                 {{612345.7, 312345.68, 0}},
                                 "Point",
                                 "POINT (612345.7 312345.68)",
                                 {612345.7, 612345.7, 312345.68, 312345.68}},
                    GeometryCase{"Multipoint",
                                 ShapeType::Multipoint,
                                 {{-82.3411, 29.6512, 1}, {-82.34, 29.66, 1}, {-82.33, 29.65, 1}},
                                 "Multi Point",
                                 "MULTIPOINT ((-82.3411 29.6512),(-82.34 29.66),(-82.33 29.65))",
                                 {-82.3411, -82.33, 29.65, 29.66}},
                    GeometryCase{"Polyline",
                                 ShapeType::Polyline,
                                 {{-82.3411, 29.6512, 1}, {-82.34, 29.66, 1}},
                                 "Line String",
                                 "LINESTRING (-82.3411 29.6512,-82.34 29.66)",
                                 {-82.3411, -82.34, 29.6512, 29.66}},
                    // Drawn counter-clockwise and left open: written closed and clockwise.
                    GeometryCase{"Polygon",
                                 ShapeType::Polygon,
                                 {{0, 0, 1}, {10, 0, 1}, {10, 10, 1}, {0, 10, 1}},
                                 "Polygon",
                                 "POLYGON ((0 0,0 10,10 10,10 0,0 0))",
                                 {0, 10, 0, 10}}),
    [](const testing::TestParamInfo<GeometryCase>& param) {
        return std::string(param.param.name);
    });

// ---------------------------------------------------------------------------------------------

TEST(ShapeFiles, TypeCodesGiveDbaseColumnsThatGdalReadsWithTheirWidths) {
    struct Column {
        const char* name;
        FieldType type;
        int width;
        char dbfType;
        int dbfWidth;
        int decimals;
        const char* gdalType;
    };
    const std::vector<Column> columns = {
        {"Text", FieldType::Text, 45, 'C', 45, 0, "String"},
        {"TextDflt", FieldType::Text, 0, 'C', 254, 0, "String"},
        {"Dbl", FieldType::Double, 0, 'N', 19, 11, "Real"},
        {"Date", FieldType::Date, 0, 'D', 8, 0, "Date"},
        // A long integer "width 4" is its size in bytes; the column holds any long integer.
        {"Long", FieldType::LongInteger, 4, 'N', 11, 0, "Integer64"},
        {"YesNo", FieldType::YesNo, 0, 'L', 1, 0, "String"},
        {"Int", FieldType::Integer, 2, 'N', 6, 0, "Integer"},
        {"Single", FieldType::Single, 0, 'F', 19, 11, "Real"},
        {"Numeric", FieldType::Numeric, 0, 'N', 19, 11, "Real"},
        {"Float", FieldType::Float, 0, 'F', 19, 11, "Real"},
    };
    TempDir dir;
    auto path = dir / "columns.shp";
    ShapeFiles out;
    ASSERT_TRUE(out.OpenShapefile(path, ShapeFiles::OpenMode::Create, ShapeType::Point));
    for (const auto& c : columns) {
        ASSERT_TRUE(out.Fields().AddField(c.name, c.type, c.width)) << out.lastError();
    }
    ASSERT_TRUE(out.CommitFields()) << out.lastError();
    ASSERT_TRUE(out.Vertices().AddVertex(1, 2));
    ASSERT_TRUE(out.WriteRecord()) << out.lastError();

    auto back = readShapefile(path);
    ASSERT_EQ(test::problemsOf(back), "");
    auto dbf = back.raw["dbf_fields"].toArray();
    auto gdal = back.gdal["fields"].toArray();
    ASSERT_EQ(dbf.size(), static_cast<qsizetype>(columns.size()));
    for (std::size_t i = 0; i < columns.size(); ++i) {
        const auto& c = columns[i];
        auto d = dbf[static_cast<qsizetype>(i)].toObject();
        auto g = gdal[static_cast<qsizetype>(i)].toObject();
        EXPECT_EQ(str(d["name"]), c.name);
        EXPECT_EQ(str(d["type"]), std::string(1, c.dbfType)) << c.name;
        EXPECT_EQ(d["width"].toInt(), c.dbfWidth) << c.name;
        EXPECT_EQ(d["decimals"].toInt(), c.decimals) << c.name;
        EXPECT_EQ(str(g["type"]), c.gdalType) << c.name;
    }
}

TEST(ShapeFiles, AddFieldRefusesWhatADbaseColumnCannotBe) {
    TempDir dir;
    ShapeFiles out;
    ASSERT_TRUE(out.OpenShapefile(dir / "x.shp", ShapeFiles::OpenMode::Create, ShapeType::Point));
    ASSERT_TRUE(out.Fields().AddField("Name", FieldType::Text, 45));
    struct Bad {
        const char* name;
        FieldType type;
        int width;
    };
    for (const auto& bad :
         std::vector<Bad>{{"NAME", FieldType::Text, 5},        // same name, other case
                          {"ELEVENCHARS", FieldType::Text, 5}, // longer than dBASE allows
                          {"", FieldType::Text, 5},
                          {"Two words", FieldType::Text, 5},
                          {"Wide", FieldType::Text, 255},
                          {"Odd", static_cast<FieldType>(99), 0}}) {
        EXPECT_FALSE(out.Fields().AddField(bad.name, bad.type, bad.width)) << bad.name;
        EXPECT_FALSE(out.lastError().empty());
    }
    ASSERT_TRUE(out.CommitFields());
    EXPECT_FALSE(out.Fields().AddField("Late", FieldType::Text, 5))
        << "columns are fixed after CommitFields";
}

// ---------------------------------------------------------------------------------------------

// What each kind of value looks like in the .dbf (exact texts, padding included) and what
// GDAL reads from it.
TEST(ShapeFiles, ValuesAreStoredInTheirColumnsExactly) {
    struct Case {
        const char* column;
        FieldType type;
        int width;
        std::function<bool(ShapeField)> set;
        const char* stored; // the column's bytes in the record
    };
    const std::vector<Case> cases = {
        // Doubles keep the text they were typed as, padded to 11 decimals.
        {"AlbersX", FieldType::Double, 0, [](ShapeField f) { return f.SetValue(612345.7); },
         " 612345.70000000000"},
        {"Long", FieldType::Double, 0, [](ShapeField f) { return f.SetValue(-84.2773); },
         "    -84.27730000000"},
        {"Sum", FieldType::Double, 0, [](ShapeField f) { return f.SetValue(0.1 + 0.2); },
         "      0.30000000000"},
        {"NegZero", FieldType::Double, 0, [](ShapeField f) { return f.SetValue(-0.0); },
         "      0.00000000000"},
        {"TinyNeg", FieldType::Double, 0, [](ShapeField f) { return f.SetValue(-1e-20); },
         "      0.00000000000"},
        // Too wide with all its zeros: the same value with fewer of them.
        {"Far", FieldType::Double, 0, [](ShapeField f) { return f.SetValue(-2600000.12); },
         "        -2600000.12"},
        {"Area", FieldType::Double, 0, [](ShapeField f) { return f.SetValue("1,234.50"); },
         "   1234.50000000000"},
        {"Blank", FieldType::Double, 0, [](ShapeField f) { return f.SetValue(""); },
         "*******************"},
        // Whole numbers: nearest, ties to the even neighbour.
        {"Half", FieldType::LongInteger, 4, [](ShapeField f) { return f.SetValue(2.5); },
         "          2"},
        {"Half2", FieldType::LongInteger, 4, [](ShapeField f) { return f.SetValue(3.5); },
         "          4"},
        {"Acres", FieldType::LongInteger, 4, [](ShapeField f) { return f.SetValue(123456.0); },
         "     123456"},
        {"Min", FieldType::LongInteger, 4, [](ShapeField f) { return f.SetValue(-2147483648.0); },
         "-2147483648"},
        {"Knots", FieldType::Integer, 2, [](ShapeField f) { return f.SetValue("17"); }, "    17"},
        {"Leap", FieldType::Date, 0,
         [](ShapeField f) {
             return f.SetValue(ShapeDate{2024, 2, 29});
         },
         "20240229"},
        {"Typed", FieldType::Date, 0, [](ShapeField f) { return f.SetValue("05-17-2024"); },
         "20240517"},
        {"Category", FieldType::Text, 10, [](ShapeField f) { return f.SetValue("Tropical Storm"); },
         "Tropical S"},
        {"Number", FieldType::Text, 5, [](ShapeField f) { return f.SetValue(1.5); }, "1.5  "},
        {"Yes", FieldType::YesNo, 0, [](ShapeField f) { return f.SetValue("Yes"); }, "T"},
        {"No", FieldType::YesNo, 0, [](ShapeField f) { return f.SetValue(0.0); }, "F"},
    };
    TempDir dir;
    auto path = dir / "values.shp";
    {
        ShapeFiles out;
        ASSERT_TRUE(out.OpenShapefile(path, ShapeFiles::OpenMode::Create, ShapeType::Point));
        for (const auto& c : cases) {
            ASSERT_TRUE(out.Fields().AddField(c.column, c.type, c.width)) << c.column;
        }
        ASSERT_TRUE(out.CommitFields());
        for (const auto& c : cases) {
            EXPECT_TRUE(c.set(out.Fields().Field(c.column))) << c.column << ": " << out.lastError();
        }
        ASSERT_TRUE(out.Vertices().AddVertex(0, 0));
        ASSERT_TRUE(out.WriteRecord()) << out.lastError();
    }
    auto back = readShapefile(path);
    ASSERT_EQ(test::problemsOf(back), "");
    auto stored = back.raw["dbf_texts"].toArray()[0].toObject();
    auto read = back.gdal["features"].toArray()[0].toObject()["values"].toObject();
    for (const auto& c : cases) {
        EXPECT_EQ(str(stored[c.column]), c.stored) << c.column;
    }
    EXPECT_DOUBLE_EQ(read["AlbersX"].toDouble(), 612345.7);
    EXPECT_DOUBLE_EQ(read["Long"].toDouble(), -84.2773);
    EXPECT_DOUBLE_EQ(read["Far"].toDouble(), -2600000.12);
    EXPECT_TRUE(read["Blank"].isNull());
    EXPECT_EQ(str(read["Leap"]), "2024/02/29");
    EXPECT_EQ(read["Min"].toInteger(), -2147483648LL);
}

// A text longer than its column is cut to the width, never inside a UTF-8 character.
TEST(ShapeFiles, TextsAreCutAtTheColumnWidthOnACharacterBoundary) {
    struct Case {
        const char* column;
        int width;
        const char* text;
        const char* expected;
    };
    const std::vector<Case> cases = {
        {"Ascii", 4, "abcdef", "abcd"},
        {"Fits", 6, "abcdef", "abcdef"},
        {"TwoByte", 2, "a\xC3\xA9", "a"},                  // é would be split
        {"TwoByteOk", 3, "a\xC3\xA9", "a\xC3\xA9"},        // é fits exactly
        {"ThreeByte", 2, "\xE2\x82\xACuro", ""},           // € would be split
        {"ThreeOk", 3, "\xE2\x82\xACuro", "\xE2\x82\xAC"}, // € alone
        {"FourByte", 5, "ab\xF0\x9F\x98\x80", "ab"},       // an emoji, one byte short
        {"FourOk", 6, "ab\xF0\x9F\x98\x80", "ab\xF0\x9F\x98\x80"},
        {"Mixed", 10, "na\xC3\xAFve caf\xC3\xA9", "na\xC3\xAFve caf"},
    };
    TempDir dir;
    auto path = dir / "texts.shp";
    {
        ShapeFiles out;
        ASSERT_TRUE(out.OpenShapefile(path, ShapeFiles::OpenMode::Create, ShapeType::Point));
        for (const auto& c : cases) {
            ASSERT_TRUE(out.Fields().AddField(c.column, FieldType::Text, c.width));
        }
        ASSERT_TRUE(out.CommitFields());
        for (const auto& c : cases) {
            ASSERT_TRUE(out.Fields().Field(c.column).SetValue(c.text));
        }
        ASSERT_TRUE(out.Vertices().AddVertex(0, 0));
        ASSERT_TRUE(out.WriteRecord()) << out.lastError();
    }
    auto back = readShapefile(path);
    ASSERT_EQ(test::problemsOf(back), "");
    auto read = back.gdal["features"].toArray()[0].toObject()["values"].toObject();
    for (const auto& c : cases) {
        EXPECT_EQ(read[c.column].toString().toStdString(), c.expected) << c.column;
    }
}

// ---------------------------------------------------------------------------------------------

// Outer rings clockwise, holes counter-clockwise, each by the role the caller gives it: a ring
// drawn inside another is not made a hole of it.
TEST(ShapeFiles, PolygonRingsAreClosedOuterClockwiseHolesCounterClockwise) {
    using Ring = std::vector<std::array<double, 2>>;
    const Ring ccwOpen = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
    const Ring cwOpen = {{0, 0}, {0, 10}, {10, 10}, {10, 0}};
    const Ring ccwClosed = {{0, 0}, {10, 0}, {10, 10}, {0, 10}, {0, 0}};
    const Ring cwClosed = {{0, 0}, {0, 10}, {10, 10}, {10, 0}, {0, 0}};
    const Ring holeCw = {{2, 2}, {2, 4}, {4, 4}, {4, 2}};
    const Ring insideCcw = {{2, 2}, {4, 2}, {4, 4}, {2, 4}};
    using enum RingRole;
    struct Case {
        const char* name;
        std::vector<Ring> rings;
        std::vector<int> expectedPoints;
        std::vector<int> expectedSign; // -1 clockwise, +1 counter-clockwise
        std::vector<RingRole> roles{Outer, Outer};
    };
    const std::vector<Case> cases = {
        {"counter-clockwise, open", {ccwOpen}, {5}, {-1}},
        {"clockwise, open", {cwOpen}, {5}, {-1}},
        {"counter-clockwise, closed", {ccwClosed}, {5}, {-1}},
        {"clockwise, closed", {cwClosed}, {5}, {-1}},
        {"outer ring and a hole drawn the wrong way",
         {ccwOpen, holeCw},
         {5, 5},
         {-1, 1},
         {Outer, Hole}},
        {"a second outer ring inside the first", {ccwOpen, insideCcw}, {5, 5}, {-1, -1}},
    };
    TempDir dir;
    auto path = dir / "rings.shp";
    {
        ShapeFiles out;
        ASSERT_TRUE(out.OpenShapefile(path, ShapeFiles::OpenMode::Create, ShapeType::Polygon));
        ASSERT_TRUE(out.Fields().AddField("Case", FieldType::Text, 50));
        ASSERT_TRUE(out.CommitFields());
        for (const auto& c : cases) {
            ASSERT_TRUE(out.Fields().Field("Case").SetValue(c.name));
            for (std::size_t part = 0; part < c.rings.size(); ++part) {
                for (const auto& v : c.rings[part]) {
                    ASSERT_TRUE(out.Vertices().AddVertex(v[0], v[1], static_cast<int>(part + 1),
                                                         c.roles[part]));
                }
            }
            ASSERT_TRUE(out.WriteRecord()) << c.name << ": " << out.lastError();
        }
    }
    auto back = readShapefile(path);
    ASSERT_EQ(test::problemsOf(back), "");
    auto records = back.raw["records"].toArray();
    ASSERT_EQ(records.size(), static_cast<qsizetype>(cases.size()));
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const auto& c = cases[i];
        auto record = records[static_cast<qsizetype>(i)].toObject();
        auto parts = record["parts"].toArray();
        ASSERT_EQ(parts.size(), static_cast<qsizetype>(c.rings.size())) << c.name;
        for (std::size_t p = 0; p < c.rings.size(); ++p) {
            auto q = static_cast<qsizetype>(p);
            EXPECT_EQ(parts[q].toArray().size(), c.expectedPoints[p]) << c.name;
            EXPECT_TRUE(record["closed"].toArray()[q].toBool()) << c.name;
            double area = record["areas"].toArray()[q].toDouble();
            EXPECT_EQ(area < 0 ? -1 : 1, c.expectedSign[p]) << c.name << " ring " << p;
        }
    }
    // GDAL sees the hole as a hole of the one polygon.
    auto last = back.gdal["features"].toArray()[4].toObject();
    EXPECT_EQ(str(last["wkt"]), "POLYGON ((0 0,0 10,10 10,10 0,0 0),(2 2,4 2,4 4,2 4,2 2))");
}

// ---------------------------------------------------------------------------------------------

TEST(ShapeFiles, AppendingAddsRecordsAfterThoseOfAFileMadeEarlier) {
    TempDir dir;
    auto path = dir / "pfcamps.shp";
    createFacilityFile(path, 1);
    {
        ShapeFiles out;
        ASSERT_TRUE(out.OpenShapefile(path, ShapeFiles::OpenMode::Append)) << out.lastError();
        EXPECT_EQ(out.shapeType(), ShapeType::Point);
        EXPECT_EQ(out.Fields().Count(), 8);
        EXPECT_FALSE(out.SetProjection(kOldProjection)) << "an existing file keeps its own";
        // Names match without regard to case, as the windows spell them.
        ASSERT_TRUE(out.Fields().Field("NAME").SetValue("Tower 7"));
        ASSERT_TRUE(out.Fields().Field("albersx").SetValue(700000.25));
        ASSERT_TRUE(out.Vertices().AddVertex(700000.25, 100000.5, 0));
        ASSERT_TRUE(out.WriteRecord()) << out.lastError();
        ASSERT_TRUE(writeFacility(out, "Camp 9", 500000, 400000)) << out.lastError();
    }
    auto back = readShapefile(path);
    ASSERT_EQ(test::problemsOf(back), "");
    ASSERT_EQ(back.gdal["feature_count"].toInt(), 3);
    auto features = back.gdal["features"].toArray();
    EXPECT_EQ(str(features[0].toObject()["values"].toObject()["Name"]), "Camp 0");
    EXPECT_EQ(str(features[1].toObject()["values"].toObject()["Name"]), "Tower 7");
    EXPECT_TRUE(features[1].toObject()["values"].toObject()["Type"].toString().isEmpty());
    EXPECT_EQ(str(features[1].toObject()["wkt"]), "POINT (700000.25 100000.5)");
    EXPECT_EQ(str(features[2].toObject()["values"].toObject()["Name"]), "Camp 9");
    auto extent = back.gdal["extent"].toArray();
    EXPECT_DOUBLE_EQ(extent[0].toDouble(), 500000);
    EXPECT_DOUBLE_EQ(extent[1].toDouble(), 700000.25);
    EXPECT_DOUBLE_EQ(extent[2].toDouble(), 100000.5);
    EXPECT_DOUBLE_EQ(extent[3].toDouble(), 400000);
}

TEST(ShapeFiles, AppendingToAnEmptyShapefileGivesBoundsOfTheNewRecordOnly) {
    TempDir dir;
    auto path = dir / "empty.shp";
    {
        ShapeFiles out;
        ASSERT_TRUE(out.OpenShapefile(path, ShapeFiles::OpenMode::Create, ShapeType::Point));
        ASSERT_TRUE(out.Fields().AddField("Name", FieldType::Text, 10));
        ASSERT_TRUE(out.CommitFields());
        ASSERT_TRUE(out.Close()) << out.lastError();
    }
    ASSERT_TRUE(fs::exists(path)) << "Close puts an empty new shapefile in place";
    ShapeFiles out;
    ASSERT_TRUE(out.OpenShapefile(path, ShapeFiles::OpenMode::Append)) << out.lastError();
    ASSERT_TRUE(out.Vertices().AddVertex(612345.7, 312345.68));
    ASSERT_TRUE(out.WriteRecord()) << out.lastError();
    auto back = readShapefile(path);
    ASSERT_EQ(test::problemsOf(back), "");
    auto box = back.raw["bbox"].toArray();
    EXPECT_DOUBLE_EQ(box[0].toDouble(), 612345.7) << "no stray (0, 0) in the header bounds";
    EXPECT_DOUBLE_EQ(box[1].toDouble(), 312345.68);
}

// Callers drop the writer after WriteRecord without closing it: the files must be complete
// after every record, while the writer still lives.
TEST(ShapeFiles, FilesAreCompleteAndConsistentAfterEveryRecord) {
    TempDir dir;
    auto path = dir / "pwfires.shp";
    ShapeFiles out;
    ASSERT_TRUE(out.OpenShapefile(path, ShapeFiles::OpenMode::Create, ShapeType::Polyline));
    ASSERT_TRUE(out.Fields().AddField("NAME", FieldType::Text, 35));
    ASSERT_TRUE(out.CommitFields());
    for (int i = 1; i <= 3; ++i) {
        ASSERT_TRUE(out.Fields().Field("NAME").SetValue("Line " + std::to_string(i)));
        ASSERT_TRUE(out.Vertices().AddVertex(i, i, 1));
        ASSERT_TRUE(out.Vertices().AddVertex(i + 1.5, -i, 1));
        ASSERT_TRUE(out.WriteRecord()) << out.lastError();
        auto back = readShapefile(path);
        ASSERT_EQ(test::problemsOf(back), "") << "after record " << i;
        EXPECT_EQ(back.gdal["feature_count"].toInt(), i);
        EXPECT_EQ(back.raw["dbf_records"].toInt(), i);
        auto box = back.raw["bbox"].toArray();
        EXPECT_DOUBLE_EQ(box[2].toDouble(), i + 1.5);
        EXPECT_DOUBLE_EQ(box[1].toDouble(), -i);
    }
}

// ---------------------------------------------------------------------------------------------
// Failures: a clear message, and the files exactly as they were.

TEST(ShapeFiles, ARefusedRecordLeavesTheFilesAsTheyWere) {
    struct Case {
        const char* name;
        std::function<void(ShapeFiles&)> build;
    };
    const std::vector<Case> cases = {
        {"missing column", [](ShapeFiles& out) { out.Fields().Field("Elevation").SetValue(3.0); }},
        {"number too wide", [](ShapeFiles& out) { out.Fields().Field("Lat").SetValue(1e20); }},
        {"text that is no number",
         [](ShapeFiles& out) { out.Fields().Field("Lat").SetValue("30N"); }},
        {"decimal comma, not grouping",
         [](ShapeFiles& out) { out.Fields().Field("Lat").SetValue("12,5"); }},
        {"no such day",
         [](ShapeFiles& out) {
             out.Fields().Field("Seen").SetValue(ShapeDate{2023, 2, 29});
         }},
        {"text that is no date",
         [](ShapeFiles& out) { out.Fields().Field("Seen").SetValue("yesterday"); }},
        {"date in a text column",
         [](ShapeFiles& out) {
             out.Fields().Field("Name").SetValue(ShapeDate{2024, 1, 1});
         }},
        {"coordinate not a number",
         [](ShapeFiles& out) { out.Vertices().AddVertex(std::nan(""), 1); }},
        {"two vertices for a point", [](ShapeFiles& out) { out.Vertices().AddVertex(2, 2); }},
        {"no vertex", [](ShapeFiles& out) { out.Vertices().Count(); }},
    };
    TempDir dir;
    auto path = dir / "pfcamps.shp";
    ShapeFiles out;
    ASSERT_TRUE(out.OpenShapefile(path, ShapeFiles::OpenMode::Create, ShapeType::Point));
    ASSERT_TRUE(out.Fields().AddField("Name", FieldType::Text, 20));
    ASSERT_TRUE(out.Fields().AddField("Lat", FieldType::Double));
    ASSERT_TRUE(out.Fields().AddField("Seen", FieldType::Date));
    ASSERT_TRUE(out.CommitFields());
    ASSERT_TRUE(out.Fields().Field("Name").SetValue("First"));
    ASSERT_TRUE(out.Vertices().AddVertex(1, 1));
    ASSERT_TRUE(out.WriteRecord()) << out.lastError();
    const auto before = folderBytes(dir.path());
    for (const auto& c : cases) {
        out.Fields().Field("Name").SetValue(c.name);
        if (std::string(c.name) != "no vertex") {
            out.Vertices().AddVertex(1, 1);
        }
        c.build(out);
        EXPECT_FALSE(out.WriteRecord()) << c.name;
        EXPECT_FALSE(out.lastError().empty()) << c.name;
        EXPECT_EQ(folderBytes(dir.path()), before) << c.name;
    }
    // The refused records are gone: the next good one is written alone.
    ASSERT_TRUE(out.Vertices().AddVertex(3, 3));
    ASSERT_TRUE(out.WriteRecord()) << out.lastError();
    auto back = readShapefile(path);
    ASSERT_EQ(test::problemsOf(back), "");
    EXPECT_EQ(back.gdal["feature_count"].toInt(), 2);
}

TEST(ShapeFiles, ShapesThatCannotBeWrittenAreRefused) {
    struct Case {
        const char* name;
        ShapeType shapeType;
        std::vector<std::array<double, 3>> vertices;
    };
    const std::vector<Case> cases = {
        {"polygon of two vertices sharing a longitude",
         ShapeType::Polygon,
         {{-82.1, 29.1, 1}, {-82.1, 29.5, 1}}},
        {"polygon of two vertices, closed", ShapeType::Polygon, {{0, 0, 1}, {1, 1, 1}, {0, 0, 1}}},
        {"line of one vertex", ShapeType::Polyline, {{0, 0, 1}}},
        {"line whose second part has one vertex",
         ShapeType::Polyline,
         {{0, 0, 1}, {1, 1, 1}, {2, 2, 2}}},
    };
    for (const auto& c : cases) {
        TempDir dir;
        ShapeFiles out;
        ASSERT_TRUE(out.OpenShapefile(dir / "s.shp", ShapeFiles::OpenMode::Create, c.shapeType));
        ASSERT_TRUE(out.Fields().AddField("Id", FieldType::LongInteger));
        ASSERT_TRUE(out.CommitFields());
        for (const auto& v : c.vertices) {
            out.Vertices().AddVertex(v[0], v[1], static_cast<int>(v[2]));
        }
        EXPECT_FALSE(out.WriteRecord()) << c.name;
        EXPECT_FALSE(out.lastError().empty()) << c.name;
        EXPECT_FALSE(fs::exists(dir / "s.shp")) << c.name << ": nothing was put in place";
    }
}

// A new facility shapefile of one record at `path`, with the new projection file when asked.
bool writeNewFacilityFile(ShapeFiles& out, const fs::path& path, bool projection) {
    return out.OpenShapefile(path, ShapeFiles::OpenMode::Create, ShapeType::Point) &&
           (!projection || out.SetProjection(kNewProjection)) && addFacilityFields(out) &&
           writeFacility(out, "New", 1, 2);
}

// A full disk at any point of a create (the .shp and .shx headers, the table with its .cpg,
// the projection file, the record): the old shapefile and its projection file stay, and no
// temporary file is left behind. Without a projection of its own, the new shapefile leaves
// the old .prj as it is; with one, the .prj is replaced with the rest.
TEST(ShapeFiles, CreatingOverAShapefileThatFailsAnywhereKeepsTheOldOne) {
    for (const bool projection : {false, true}) {
        TempDir dir;
        auto path = dir / "pfcamps.shp";
        createFacilityFile(path, 2);
        test::writeFile(dir / "pfcamps.prj", kOldProjection);
        const auto before = folderBytes(dir.path());
        bool succeeded = false;
        int failures = 0;
        for (long long limit = 0; !succeeded && limit < 100000; limit += 13) {
            {
                ShapeFiles out;
                WriteLimit writes(limit);
                succeeded = writeNewFacilityFile(out, path, projection);
                if (!succeeded) {
                    EXPECT_FALSE(out.lastError().empty());
                }
            }
            if (!succeeded) {
                ++failures;
                ASSERT_EQ(folderBytes(dir.path()), before)
                    << "failing after " << limit << " bytes, projection " << projection;
            }
        }
        ASSERT_TRUE(succeeded);
        EXPECT_GT(failures, projection ? 35 : 20);
        auto back = readShapefile(path);
        ASSERT_EQ(test::problemsOf(back), "");
        EXPECT_EQ(back.gdal["feature_count"].toInt(), 1);
        EXPECT_EQ(folderBytes(dir.path()).size(), before.size()) << "no temporary files left";
        EXPECT_EQ(test::readFile(dir / "pfcamps.prj"),
                  projection ? kNewProjection : kOldProjection);
    }
}

// A rename that fails at any step of putting the new files in place (the old ones stepping
// aside, the new ones moving in) puts everything back: the old shapefile with its .cpg and
// .prj byte for byte. The new shapefile is given up at once, so no temporary file waits beside
// them while the writer lives, and no later record is published in its name.
TEST(ShapeFiles, ANewShapefileStoppedAtAnyMoveIntoPlaceKeepsTheOldOne) {
    struct MoveLimit {
        explicit MoveLimit(int moves) { ShapeFiles::setMoveLimitForTesting(moves); }
        ~MoveLimit() { ShapeFiles::setMoveLimitForTesting(std::nullopt); }
    };
    TempDir dir;
    auto path = dir / "pfcamps.shp";
    createFacilityFile(path, 3);
    test::writeFile(dir / "pfcamps.prj", kOldProjection);
    const auto before = folderBytes(dir.path());
    bool succeeded = false;
    int moves = 0;
    for (; moves < 20; ++moves) {
        ShapeFiles out;
        {
            MoveLimit limit(moves);
            succeeded = writeNewFacilityFile(out, path, true);
        }
        if (succeeded) {
            break;
        }
        EXPECT_NE(out.lastError().find("Input/output error"), std::string::npos) << out.lastError();
        ASSERT_EQ(folderBytes(dir.path()), before) << "failing at move " << moves;
        EXPECT_FALSE(writeFacility(out, "Second", 3, 4));
        EXPECT_EQ(out.lastError(), "No shapefile is open");
    }
    EXPECT_EQ(moves, 10) << "five parts step aside, five move in";
    EXPECT_EQ(test::readFile(dir / "pfcamps.prj"), kNewProjection);
    EXPECT_EQ(folderBytes(dir.path()).size(), before.size());
}

// A full disk at any point of an append takes the record back whole.
TEST(ShapeFiles, AppendingThatFailsAnywhereLeavesTheFilesAsTheyWere) {
    TempDir dir;
    auto path = dir / "pfcamps.shp";
    createFacilityFile(path, 3);
    const auto before = folderBytes(dir.path());
    bool succeeded = false;
    int failures = 0;
    for (long long limit = 0; !succeeded && limit < 100000; limit += 3) {
        ShapeFiles out;
        ASSERT_TRUE(out.OpenShapefile(path, ShapeFiles::OpenMode::Append)) << out.lastError();
        WriteLimit writes(limit);
        succeeded = writeFacility(out, "Appended", 5, 6);
        if (!succeeded) {
            ++failures;
            EXPECT_NE(out.lastError().find("pfcamps.shp"), std::string::npos) << out.lastError();
            ASSERT_EQ(folderBytes(dir.path()), before) << "failing after " << limit << " bytes";
        }
    }
    ASSERT_TRUE(succeeded);
    EXPECT_GT(failures, 20);
    auto back = readShapefile(path);
    ASSERT_EQ(test::problemsOf(back), "");
    EXPECT_EQ(back.gdal["feature_count"].toInt(), 4);
}

TEST(ShapeFiles, OpeningWhatCannotBeWrittenFailsWithAMessageNamingIt) {
    TempDir dir;
    test::writeFile(dir / "notes.shp", "these are not shapes\r\n");
    test::writeFile(dir / "notes.shx", "nor is this an index\r\n");
    test::writeFile(dir / "notes.dbf", "nor a table\r\n");
    createFacilityFile(dir / "nodbf.shp", 1);
    fs::remove(dir / "nodbf.dbf");
    // Shapes and attribute rows that do not pair up.
    createFacilityFile(dir / "uneven.shp", 1);
    auto oneRow = test::readFile(dir / "uneven.dbf");
    createFacilityFile(dir / "uneven.shp", 2);
    test::writeFile(dir / "uneven.dbf", oneRow);

    struct Case {
        fs::path path;
        ShapeFiles::OpenMode mode;
        ShapeType shapeType;
        std::string mentions;
    };
    const std::vector<Case> cases = {
        {dir / "notes.shp", ShapeFiles::OpenMode::Append, ShapeType::Point, "notes.shp"},
        {dir / "absent.shp", ShapeFiles::OpenMode::Append, ShapeType::Point, "absent.shp"},
        {dir / "nodbf.shp", ShapeFiles::OpenMode::Append, ShapeType::Point, "nodbf.shp"},
        {dir / "uneven.shp", ShapeFiles::OpenMode::Append, ShapeType::Point, "uneven.shp"},
        {dir / "no such folder" / "x.shp", ShapeFiles::OpenMode::Create, ShapeType::Point,
         "no such folder"},
        {dir / "notes.shp" / "x.shp", ShapeFiles::OpenMode::Create, ShapeType::Point, "notes.shp"},
        {dir / "y.shp", ShapeFiles::OpenMode::Create, static_cast<ShapeType>(31), "y.shp"},
    };
    const auto before = folderBytes(dir.path());
    for (const auto& c : cases) {
        ShapeFiles out;
        EXPECT_FALSE(out.OpenShapefile(c.path, c.mode, c.shapeType)) << c.path;
        EXPECT_NE(out.lastError().find(c.mentions), std::string::npos) << out.lastError();
        EXPECT_FALSE(out.Fields().Field("Name").SetValue("x"));
        EXPECT_FALSE(out.WriteRecord());
    }
    EXPECT_EQ(folderBytes(dir.path()), before);
}

// An append writes the new record, its index entry, its row (with the table's end mark) and
// the three headers, and nothing else: the same bytes for a file of 3 records as for one of
// 1,000, so its cost does not grow with the file.
TEST(ShapeFiles, AppendingWritesTheSameFewBytesWhateverTheFileSize) {
    std::vector<long long> written;
    for (int records : {3, 1000}) {
        TempDir dir;
        const auto path = dir / "pfcamps.shp";
        createFacilityFile(path, records);
        const auto before = folderBytes(dir.path());
        // Whether the append goes through within `limit` bytes; the files are put back after.
        auto appendsWithin = [&](long long limit) {
            ShapeFiles out;
            EXPECT_TRUE(out.OpenShapefile(path, ShapeFiles::OpenMode::Append)) << out.lastError();
            WriteLimit writes(limit);
            const bool appended = writeFacility(out, "Appended", 5, 6);
            for (const auto& [name, bytes] : before) {
                test::writeFile(dir / name, bytes);
            }
            return appended;
        };
        long long low = 0;
        long long high = 4096;
        ASSERT_TRUE(appendsWithin(high));
        while (low < high) {
            const long long middle = (low + high) / 2;
            if (appendsWithin(middle)) {
                high = middle;
            } else {
                low = middle + 1;
            }
        }
        written.push_back(low);
        const std::string dbf = before.at("pfcamps.dbf");
        const int rowLength =
            static_cast<unsigned char>(dbf[10]) + 256 * static_cast<unsigned char>(dbf[11]);
        // Point record 28, index entry 8, two 100-byte headers, the row, its end mark, and the
        // table's 32-byte header.
        EXPECT_EQ(written.back(), 28 + 8 + 200 + rowLength + 1 + 32) << records << " records";
    }
    EXPECT_EQ(written[0], written[1]);
}

// A file that cannot grow during an append, whichever of the three it is and wherever the
// record crosses the limit: the append fails, says which file and why, and all three files
// are back byte for byte.
TEST(ShapeFiles, AppendingWhereAFileCannotGrowTakesTheRecordBackWhole) {
    TempDir dir;
    auto path = dir / "pfcamps.shp";
    createFacilityFile(path, 18);
    const auto before = folderBytes(dir.path());
    const auto shx = fs::file_size(dir / "pfcamps.shx");
    const auto dbf = fs::file_size(dir / "pfcamps.dbf");
    bool succeeded = false;
    bool dbfAloneRefused = false;
    for (std::uintmax_t limit = shx; !succeeded && limit < dbf + 400; limit += 7) {
        ShapeFiles out;
        ASSERT_TRUE(out.OpenShapefile(path, ShapeFiles::OpenMode::Append)) << out.lastError();
        {
            FileSizeLimit fileSize(limit);
            succeeded = writeFacility(out, "Appended", 5, 6);
        }
        if (!succeeded) {
            dbfAloneRefused = dbfAloneRefused || limit >= fs::file_size(dir / "pfcamps.shp") + 28;
            EXPECT_NE(out.lastError().find("File too large"), std::string::npos) << out.lastError();
            ASSERT_EQ(folderBytes(dir.path()), before) << "limit " << limit << " bytes";
        }
    }
    ASSERT_TRUE(succeeded);
    EXPECT_TRUE(dbfAloneRefused);
    auto back = readShapefile(path);
    ASSERT_EQ(test::problemsOf(back), "");
    EXPECT_EQ(back.gdal["feature_count"].toInt(), 19);
}

void patchFile(const fs::path& file, std::size_t offset, const std::string& bytes) {
    std::string content = test::readFile(file);
    content.replace(offset, bytes.size(), bytes);
    test::writeFile(file, content);
}

void cutFile(const fs::path& file, std::uintmax_t size) {
    fs::resize_file(file, size);
}

std::string bigEndian(std::uint32_t value) {
    return {static_cast<char>(value >> 24), static_cast<char>(value >> 16),
            static_cast<char>(value >> 8), static_cast<char>(value)};
}

// Files whose headers disagree with what they hold are refused before anything is written:
// the append would otherwise overwrite old records, null them, or grow the files without bound.
TEST(ShapeFiles, AppendingToADamagedShapefileIsRefusedAndTouchesNothing) {
    struct Case {
        const char* name;
        std::function<void(const fs::path& base)> damage;
        const char* mentions;
    };
    const std::vector<Case> cases = {
        {".shp length says the header alone",
         [](const fs::path& b) { patchFile(b / "a.shp", 24, bigEndian(50)); }, "a.shp"},
        {".shp length says 1 GB",
         [](const fs::path& b) { patchFile(b / "a.shp", 24, bigEndian(1u << 29)); }, "a.shp"},
        {".shp cut by 10 bytes",
         [](const fs::path& b) { cutFile(b / "a.shp", fs::file_size(b / "a.shp") - 10); }, "a.shp"},
        {".shp cut to its header", [](const fs::path& b) { cutFile(b / "a.shp", 100); }, "a.shp"},
        {".shp of random bytes",
         [](const fs::path& b) {
             std::string noise(fs::file_size(b / "a.shp"), '\0');
             std::uint32_t x = 12345;
             for (char& c : noise) {
                 x = x * 1103515245u + 12345u;
                 c = static_cast<char>(x >> 16);
             }
             test::writeFile(b / "a.shp", noise);
         },
         "a.shp"},
        {".shx entry past the end",
         [](const fs::path& b) { patchFile(b / "a.shx", 100 + 4 * 8, bigEndian(100000)); },
         "a.shx"},
        {".dbf cut to its header",
         [](const fs::path& b) {
             std::string dbf = test::readFile(b / "a.dbf");
             cutFile(b / "a.dbf", static_cast<unsigned char>(dbf[8]) +
                                      256u * static_cast<unsigned char>(dbf[9]));
         },
         "a.dbf"},
        {".dbf with one row less in its header",
         [](const fs::path& b) { patchFile(b / "a.dbf", 4, std::string("\x04\0\0\0", 4)); },
         "a.dbf"},
        {".dbf header lengths zero",
         [](const fs::path& b) { patchFile(b / "a.dbf", 8, std::string(4, '\0')); }, "a.dbf"},
    };
    for (const auto& c : cases) {
        TempDir dir;
        createFacilityFile(dir / "a.shp", 5);
        c.damage(dir.path());
        const auto before = folderBytes(dir.path());
        ShapeFiles out;
        const bool opened = out.OpenShapefile(dir / "a.shp", ShapeFiles::OpenMode::Append);
        if (opened) {
            writeFacility(out, "Appended", 5, 6);
        }
        EXPECT_FALSE(opened) << c.name;
        EXPECT_NE(out.lastError().find("damaged"), std::string::npos)
            << c.name << ": " << out.lastError();
        EXPECT_NE(out.lastError().find(c.mentions), std::string::npos)
            << c.name << ": " << out.lastError();
        EXPECT_EQ(folderBytes(dir.path()), before) << c.name;
    }
}

// A new shapefile replaces an old one whole or not at all: where one of the old parts (its
// projection file included) cannot be replaced (a folder in its place, or a file the user
// protected), none is, the message
// names it, and no temporary file stays behind.
TEST(ShapeFiles, ANewShapefileThatCannotReplaceEveryPartReplacesNone) {
    struct Case {
        const char* part;
        bool folder; // else write-protected
        const char* says;
    };
    const std::vector<Case> cases = {
        {"old.shp", true, "old.shp is a folder"},
        {"old.shx", true, "old.shx is a folder"},
        {"old.dbf", true, "old.dbf is a folder"},
        {"old.cpg", true, "old.cpg is a folder"},
        {"old.shp", false, "old.shp is write-protected"},
        {"old.shx", false, "old.shx is write-protected"},
        {"old.dbf", false, "old.dbf is write-protected"},
        {"old.cpg", false, "old.cpg is write-protected"},
        {"old.prj", true, "old.prj is a folder"},
        {"old.prj", false, "old.prj is write-protected"},
    };
    for (const auto& c : cases) {
        TempDir dir;
        createFacilityFile(dir / "old.shp", 5);
        test::writeFile(dir / "old.prj", kOldProjection);
        if (c.folder) {
            fs::remove(dir / c.part);
            fs::create_directory(dir / c.part);
        } else {
            fs::permissions(dir / c.part, fs::perms::owner_read | fs::perms::group_read);
        }
        const auto before = folderBytes(dir.path());
        const auto modes = folderModes(dir.path());
        {
            ShapeFiles out;
            EXPECT_FALSE(writeNewFacilityFile(out, dir / "old.shp", true)) << c.says;
            EXPECT_NE(out.lastError().find(c.says), std::string::npos) << out.lastError();
        }
        EXPECT_EQ(folderBytes(dir.path()), before) << c.says;
        EXPECT_EQ(folderModes(dir.path()), modes) << c.says;
    }
}

// A replaced part keeps the permissions the user gave the old one; a part without an old file
// gets the usual ones.
TEST(ShapeFiles, ANewShapefileKeepsThePermissionsOfTheFilesItReplaces) {
    TempDir dir;
    createFacilityFile(dir / "old.shp", 2);
    fs::remove(dir / "old.cpg");
    const auto mine = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
    for (const char* part : {"old.shp", "old.shx", "old.dbf"}) {
        fs::permissions(dir / part, mine);
    }
    createFacilityFile(dir / "other.shp", 1);
    const auto fresh = fs::status(dir / "other.cpg").permissions();
    createFacilityFile(dir / "old.shp", 1);
    for (const char* part : {"old.shp", "old.shx", "old.dbf"}) {
        EXPECT_EQ(fs::status(dir / part).permissions(), mine) << part;
    }
    EXPECT_EQ(fs::status(dir / "old.cpg").permissions(), fresh);
}

// Appending writes the files in place: one the user protected is refused with its name, even
// for a user whom the system would let write it, and nothing is written.
TEST(ShapeFiles, AppendingToAProtectedShapefileIsRefusedAndTouchesNothing) {
    for (const char* part : {"a.shp", "a.shx", "a.dbf"}) {
        TempDir dir;
        createFacilityFile(dir / "a.shp", 2);
        fs::permissions(dir / part, fs::perms::owner_read | fs::perms::others_read);
        const auto before = folderBytes(dir.path());
        const auto modes = folderModes(dir.path());
        ShapeFiles out;
        const bool opened = out.OpenShapefile(dir / "a.shp", ShapeFiles::OpenMode::Append);
        if (opened) {
            writeFacility(out, "Appended", 5, 6);
        }
        EXPECT_FALSE(opened) << part;
        EXPECT_NE(out.lastError().find((dir / part).string() + " is write-protected"),
                  std::string::npos)
            << out.lastError();
        EXPECT_EQ(folderBytes(dir.path()), before) << part;
        EXPECT_EQ(folderModes(dir.path()), modes) << part;
    }
}

// Runs `body` in a child process as the unprivileged user "nobody" (only from root, which file
// permissions do not stop); its exit code, or -1 when it could not be run so.
int asNobody(const std::function<int()>& body) {
    const uid_t nobody = 65534;
    const pid_t child = ::fork();
    if (child < 0) {
        return -1;
    }
    if (child == 0) {
        std::_Exit(::setgid(nobody) == 0 && ::setuid(nobody) == 0 ? body() : 100);
    }
    int status = 0;
    if (::waitpid(child, &status, 0) != child || !WIFEXITED(status)) {
        return -1;
    }
    return WEXITSTATUS(status);
}

// In a shared folder (sticky bit) a user may replace only the files they own. Run as another
// user: the old .dbf, .shx and .cpg are theirs, the .shp is not.
TEST(ShapeFiles, ANewShapefileInASharedFolderKeepsTheOldOneWhenAPartIsSomeoneElses) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "needs to start as root to act as two users";
    }
    TempDir dir;
    const fs::path shared = dir / "shared";
    fs::create_directory(shared);
    fs::permissions(shared, fs::perms::all | fs::perms::sticky_bit);
    fs::permissions(dir.path(), fs::perms::others_exec, fs::perm_options::add);
    createFacilityFile(shared / "a.shp", 5);
    for (const char* part : {"a.dbf", "a.shx", "a.cpg"}) {
        ASSERT_EQ(::chown((shared / part).c_str(), 65534, 65534), 0);
    }
    const auto before = folderBytes(shared);
    const int code = asNobody([&] {
        ShapeFiles out;
        const bool written =
            out.OpenShapefile(shared / "a.shp", ShapeFiles::OpenMode::Create, ShapeType::Point) &&
            addFacilityFields(out) && writeFacility(out, "New", 1, 2);
        return written ? 3 : (out.lastError().find("a.shp") == std::string::npos ? 4 : 0);
    });
    EXPECT_EQ(code, 0) << "3: written, 4: message without the file";
    EXPECT_EQ(folderBytes(shared), before);
}

// Messages name the file and say what is wrong, in the system's words where it refused.
TEST(ShapeFiles, RefusalsNameTheFileAndTheReason) {
    TempDir dir;
    {
        ShapeFiles out;
        ASSERT_TRUE(
            out.OpenShapefile(dir / "burn.shp", ShapeFiles::OpenMode::Create, ShapeType::Polygon));
        ASSERT_TRUE(out.Fields().AddField("Name", FieldType::Text, 20) && out.CommitFields());
        ASSERT_TRUE(out.Vertices().AddVertex(0, 0) && out.Vertices().AddVertex(0, 1) &&
                    out.Vertices().AddVertex(1, 1));
        ASSERT_TRUE(out.WriteRecord()) << out.lastError();
    }
    ShapeFiles polygons;
    ASSERT_TRUE(polygons.OpenShapefile(dir / "burn.shp", ShapeFiles::OpenMode::Append));
    ASSERT_TRUE(polygons.Vertices().AddVertex(5, 5));
    EXPECT_FALSE(polygons.WriteRecord());
    EXPECT_NE(polygons.lastError().find("burn.shp, a shapefile of polygons: A polygon ring needs"),
              std::string::npos)
        << polygons.lastError();

    if (::geteuid() != 0) {
        GTEST_SKIP() << "read-only files: needs to start as root to act as another user";
    }
    fs::permissions(dir.path(), fs::perms::others_exec | fs::perms::others_read,
                    fs::perm_options::add);
    for (const char* part : {"ro.shp", "ro.dbf"}) {
        const fs::path base = dir / (std::string("case_") + part);
        fs::create_directory(base);
        fs::permissions(base, fs::perms::others_exec | fs::perms::others_read,
                        fs::perm_options::add);
        createFacilityFile(base / "ro.shp", 1);
        for (const char* file : {"ro.shp", "ro.shx", "ro.dbf", "ro.cpg"}) {
            fs::permissions(base / file, fs::perms::others_write,
                            std::string(file) == part ? fs::perm_options::remove
                                                      : fs::perm_options::add);
        }
        const std::string expected = (base / part).string() + ": Permission denied";
        const int code = asNobody([&] {
            ShapeFiles out;
            const bool opened = out.OpenShapefile(base / "ro.shp", ShapeFiles::OpenMode::Append);
            const bool named = out.lastError().find(expected) != std::string::npos;
            if (!named) {
                std::fprintf(stderr, "%s\n", out.lastError().c_str());
            }
            return opened ? 1 : named ? 0 : 2;
        });
        EXPECT_EQ(code, 0) << part << " (1: opened, 2: message without " << expected << ")";
    }
}

// An append writes texts in the file's own code page, so old and new records read alike; a
// character the code page lacks is refused, never written as something else.
TEST(ShapeFiles, AppendedTextsAreWrittenInTheFilesOwnCodePage) {
    const std::string cafe = "Caf\xC3\xA9 \xC3\x91"
                             "and\xC3\xBA";
    struct Case {
        const char* name;
        std::optional<std::string> cpg; // nothing: no .cpg
        unsigned char driver;           // the .dbf header's language driver byte
        std::string text;
        std::optional<std::string> stored; // nothing: refused
    };
    const std::vector<Case> cases = {
        {"ISO-8859-1", "ISO-8859-1", 0, cafe,
         std::string("Caf\xE9 \xD1"
                     "and\xFA")},
        {"ISO 88591", "ISO 88591", 0, cafe,
         std::string("Caf\xE9 \xD1"
                     "and\xFA")},
        {"1252 and the euro", "1252", 0, "\xE2\x82\xAC 5", std::string("\x80 5")},
        {"UTF-8", "UTF-8", 0, cafe, cafe},
        {"no .cpg: the language driver", std::nullopt, 0xC9, "\xD0\x96", std::string("\xC6")},
        {"no .cpg, no driver: Windows-1252", std::nullopt, 0, cafe,
         std::string("Caf\xE9 \xD1"
                     "and\xFA")},
        {"euro not in Latin-1", "ISO-8859-1", 0, "\xE2\x82\xAC 5", std::nullopt},
        {"no Cyrillic in 1252", std::nullopt, 0x57, "\xD0\x96", std::nullopt},
    };
    for (const auto& c : cases) {
        TempDir dir;
        createFacilityFile(dir / "a.shp", 1);
        fs::remove(dir / "a.cpg");
        if (c.cpg) {
            test::writeFile(dir / "a.cpg", *c.cpg);
        }
        std::string dbf = test::readFile(dir / "a.dbf");
        dbf[29] = static_cast<char>(c.driver);
        test::writeFile(dir / "a.dbf", dbf);
        const auto before = folderBytes(dir.path());
        ShapeFiles out;
        ASSERT_TRUE(out.OpenShapefile(dir / "a.shp", ShapeFiles::OpenMode::Append))
            << out.lastError();
        const bool written = writeFacility(out, c.text, 5, 6);
        EXPECT_EQ(written, c.stored.has_value()) << c.name << ": " << out.lastError();
        if (c.stored) {
            EXPECT_NE(test::readFile(dir / "a.dbf").find(*c.stored + "   "), std::string::npos)
                << c.name;
        } else {
            EXPECT_NE(out.lastError().find("cannot be written in the code page"), std::string::npos)
                << out.lastError();
            EXPECT_EQ(folderBytes(dir.path()), before) << c.name;
        }
    }
    TempDir dir;
    createFacilityFile(dir / "a.shp", 1);
    test::writeFile(dir / "a.cpg", "KLINGON-7");
    ShapeFiles out;
    EXPECT_FALSE(out.OpenShapefile(dir / "a.shp", ShapeFiles::OpenMode::Append));
    EXPECT_NE(out.lastError().find("KLINGON-7"), std::string::npos) << out.lastError();
}

} // namespace
} // namespace sw
