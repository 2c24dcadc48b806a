// The main file and index that an append writes byte by byte, judged against shapelib itself:
// the same records written through shapelib's SHPWriteObject must give the same bytes, for
// every shape type an append takes (the Z and M kinds of files made elsewhere included).

#include "services/shapefile/shapefiles.h"

#include "testsupport/shapefile_reading.h"
#include "testsupport/test_paths.h"

#include <QJsonArray>
#include <array>
#include <gtest/gtest.h>
#include <shapefil.h>
#include <vector>

namespace sw {
namespace {

namespace fs = std::filesystem;
using test::TempDir;

using Vertex = std::array<double, 3>; // x, y, part number
using Record = std::vector<Vertex>;

// Records of each kind: several parts, a polygon drawn counter-clockwise with a hole drawn
// clockwise (both the wrong way round), a second record to grow the bounds.
std::vector<Record> recordsOf(ShapeType kind) {
    switch (kind) {
    case ShapeType::Point:
        return {{{612345.7, 312345.68, 0}}, {{-82.5, 29.25, 0}}, {{700000.25, 100000.5, 0}}};
    case ShapeType::Multipoint:
        return {{{1, 2, 0}, {3, -4, 0}, {5, 6, 0}}, {{-1, -1, 0}}};
    case ShapeType::Polyline:
        return {{{0, 0, 1}, {10, 5, 1}, {3, 3, 2}, {4, 4, 2}, {5, 3, 2}}, {{1, 1, 1}, {2, -2, 1}}};
    default:
        return {{{0, 0, 1},
                 {10, 0, 1},
                 {10, 10, 1},
                 {0, 10, 1},
                 {0, 0, 1},
                 {2, 2, 2},
                 {2, 4, 2},
                 {4, 4, 2},
                 {4, 2, 2},
                 {2, 2, 2}},
                {{20, 20, 1}, {25, 20, 1}, {22, 24, 1}, {20, 20, 1}}};
    }
}

// An empty shapefile of any type with one column, made by shapelib.
void createEmpty(const fs::path& base, ShapeType type) {
    SHPClose(SHPCreate(base.c_str(), static_cast<int>(type)));
    DBFHandle dbf = DBFCreate(base.c_str());
    DBFAddField(dbf, "Id", FTInteger, 6, 0);
    DBFClose(dbf);
}

// The records appended by shapelib: the independent judge.
void appendThroughShapelib(const fs::path& base, ShapeType type,
                           const std::vector<Record>& records) {
    SHPHandle shp = SHPOpen(base.c_str(), "rb+");
    for (const Record& record : records) {
        std::vector<double> x;
        std::vector<double> y;
        std::vector<int> starts;
        for (std::size_t i = 0; i < record.size(); ++i) {
            if (i == 0 || record[i][2] != record[i - 1][2]) {
                starts.push_back(static_cast<int>(i));
            }
            x.push_back(record[i][0]);
            y.push_back(record[i][1]);
        }
        SHPObject* object = SHPCreateObject(
            static_cast<int>(type), -1, static_cast<int>(starts.size()), starts.data(), nullptr,
            static_cast<int>(x.size()), x.data(), y.data(), nullptr, nullptr);
        SHPRewindObject(shp, object);
        SHPWriteObject(shp, -1, object);
        SHPDestroyObject(object);
    }
    SHPClose(shp);
}

void appendThroughWriter(const fs::path& base, const std::vector<Record>& records) {
    for (std::size_t n = 0; n < records.size(); ++n) {
        ShapeFiles out;
        ASSERT_TRUE(
            out.OpenShapefile(fs::path(base.string() + ".shp"), ShapeFiles::OpenMode::Append))
            << out.lastError();
        ASSERT_TRUE(out.Fields().Field("Id").SetValue(static_cast<double>(n + 1)));
        for (const Vertex& v : records[n]) {
            // The polygons' second rings lie inside their first: holes, as shapelib finds.
            const RingRole role = v[2] == 2 ? RingRole::Hole : RingRole::Outer;
            ASSERT_TRUE(out.Vertices().AddVertex(v[0], v[1], static_cast<int>(v[2]), role));
        }
        ASSERT_TRUE(out.WriteRecord()) << out.lastError();
    }
}

TEST(ShapeRecords, AppendedRecordsHaveTheBytesShapelibWritesForEveryShapeType) {
    for (ShapeType type :
         {ShapeType::Point, ShapeType::Polyline, ShapeType::Polygon, ShapeType::Multipoint,
          ShapeType::PointZ, ShapeType::PolylineZ, ShapeType::PolygonZ, ShapeType::MultipointZ,
          ShapeType::PointM, ShapeType::PolylineM, ShapeType::PolygonM, ShapeType::MultipointM}) {
        const std::vector<Record> records = recordsOf(baseShapeType(type));
        TempDir dir;
        createEmpty(dir / "ours", type);
        createEmpty(dir / "shapelib", type);
        appendThroughWriter(dir / "ours", records);
        appendThroughShapelib(dir / "shapelib", type, records);
        for (const char* extension : {".shp", ".shx"}) {
            EXPECT_EQ(test::readFile(dir / (std::string("ours") + extension)),
                      test::readFile(dir / (std::string("shapelib") + extension)))
                << "type " << static_cast<int>(type) << extension;
        }
    }
}

// The header's bounds take in every record. (shapelib starts them afresh at any record while
// they are all 0, so a file whose records lie at the origin lost them from its bounds.)
TEST(ShapeRecords, BoundsKeepRecordsAtTheOrigin) {
    TempDir dir;
    createEmpty(dir / "origin", ShapeType::Point);
    appendThroughWriter(dir / "origin", {{{0, 0, 0}}, {{5, 6, 0}}});
    const auto back = test::readShapefile(dir / "origin.shp");
    ASSERT_EQ(test::problemsOf(back), "");
    const auto box = back.raw["bbox"].toArray();
    const std::array<double, 4> expected = {0, 0, 5, 6};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(box[i].toDouble(), expected[static_cast<std::size_t>(i)]) << i;
    }
}

} // namespace
} // namespace sw
