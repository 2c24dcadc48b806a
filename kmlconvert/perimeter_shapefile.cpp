#include "kmlconvert/perimeter_shapefile.h"

#include "kmlconvert/perimeter_area.h"

#include <future>
#include <utility>
#include <vector>

namespace sw::kml {

const char* const kWgs1984Projection =
    "GEOGCS[\"GCS_WGS_1984\",DATUM[\"D_WGS_1984\",SPHEROID[\"WGS_1984\",6378137,"
    "298.257223563]],PRIMEM[\"Greenwich\",0],UNIT[\"Degree\",0.017453292519943295]]\r\n";

namespace {

// The shapefile field type of a database column: the engine's own number for the types the
// writer knows, a float for the engine's float, text for everything else.
FieldType shapeFieldType(ColumnType type) {
    switch (static_cast<int>(type)) {
    case 1:
    case 3:
    case 4:
    case 6:
    case 7:
    case 8:
    case 19:
        return static_cast<FieldType>(type);
    case 21:
        return FieldType::Float;
    default:
        return FieldType::Text;
    }
}

// The acres the rings enclose: the points are the parts' vertices, part after part.
double enclosedAcres(const std::vector<std::pair<double, double>>& points,
                     const std::vector<Part>& parts) {
    PerimeterArea area;
    std::size_t next = 0;
    for (const Part& part : parts) {
        area.beginRing(part.kind);
        for (std::size_t i = 0; i < part.count && next < points.size(); ++i, ++next) {
            area.add(points[next].first, points[next].second);
        }
        area.endRing();
    }
    return area.acres();
}

class PerimeterWriter {
public:
    PerimeterWriter(const std::filesystem::path& shapefile, const ShapeChoice& choice,
                    Database& database, const std::vector<Part>& parts, std::size_t vertexRows)
        : shapefile_(shapefile), choice_(choice), database_(database), parts_(parts),
          vertexRows_(vertexRows) {}

    PerimeterResult write() {
        result_.written = writeAll();
        return std::move(result_);
    }

private:
    bool shapeFailed() {
        result_.problem =
            "Cannot write the shapefile " + shapefile_.string() + ":\n" + shapes_.lastError();
        return false;
    }

    bool dbFailed(const std::string& what) {
        result_.problem = what + " " + database_.file().string() + ":\n" + database_.lastError();
        return false;
    }

    bool writeAll() {
        // The projection file goes in place with the shapefile, or neither does.
        if (!shapes_.OpenShapefile(shapefile_, ShapeFiles::OpenMode::Create, choice_.shapeType) ||
            !shapes_.SetProjection(kWgs1984Projection)) {
            return shapeFailed();
        }
        auto columns = database_.tableColumns("FIRE_DAT");
        if (!columns) {
            return dbFailed("Cannot read the table FIRE_DAT of");
        }
        for (const ColumnDef& column : *columns) {
            if (!shapes_.Fields().AddField(column.name, shapeFieldType(column.type), column.size)) {
                return shapeFailed();
            }
        }
        if (!shapes_.CommitFields()) {
            return shapeFailed();
        }
        auto records = database_.query("SELECT * FROM FIRE_DAT");
        if (!records) {
            return dbFailed("Cannot read the table FIRE_DAT of");
        }
        for (records->moveFirst(); !records->eof(); records->moveNext()) {
            for (int c = 0; c < records->fieldCount(); ++c) {
                const DbValue& value = records->value(c);
                if (value.isNull()) {
                    continue;
                }
                ShapeField field = shapes_.Fields().Field(records->fieldName(c));
                const bool set = value.type() == DbValue::Type::Text
                                     ? field.SetValue(value.toText())
                                     : field.SetValue(value.toNumber());
                if (!set) {
                    return shapeFailed();
                }
            }
            if (!addVertices(records->text("GISID"))) {
                return false;
            }
            shapes_.SetPartInfo(1, 0);
            const bool written = shapes_.WriteRecord();
            if (area_.valid()) {
                result_.drawnAcres = area_.get();
            }
            if (!written) {
                return shapeFailed();
            }
        }
        return true;
    }

    // The record's vertices in file order; each drawing is its own part. Read row by row: a
    // perimeter may have millions. A polygon's vertices are also kept for its area, which is
    // worked out on a thread of its own while the shapefile is written.
    bool addVertices(const std::string& gisid) {
        const bool polygon = choice_.shapeType == ShapeType::Polygon;
        std::vector<std::pair<double, double>> points;
        if (polygon) {
            points.reserve(vertexRows_);
        }
        std::size_t part = 0;
        std::size_t inPart = 0;
        const auto visit = [&](const Recordset& row) {
            const int partNumber = static_cast<int>(part + 1);
            const double x = row.number(1);
            const double y = row.number(2);
            shapes_.Vertices().AddVertex(x, y, partNumber);
            if (polygon) {
                points.emplace_back(x, y);
            }
            if (++inPart == parts_[part].count) {
                if (polygon && choice_.closeOpenParts && !parts_[part].closed()) {
                    shapes_.Vertices().AddVertex(parts_[part].firstLongitude,
                                                 parts_[part].firstLatitude, partNumber);
                }
                if (part + 1 < parts_.size()) {
                    ++part;
                    inPart = 0;
                }
            }
            return true;
        };
        // COORD's columns are F1 (the group), F2 (longitude), F3 (latitude)[, F4 (altitude)].
        if (!database_.queryEach("Select * From COORD Where F1=" + gisid, {}, visit)) {
            return dbFailed("Cannot read the vertices of");
        }
        if (polygon) {
            area_ = std::async(std::launch::async, [points = std::move(points), this] {
                return enclosedAcres(points, parts_);
            });
        }
        return true;
    }

    const std::filesystem::path& shapefile_;
    const ShapeChoice& choice_;
    Database& database_;
    const std::vector<Part>& parts_;
    std::size_t vertexRows_;
    ShapeFiles shapes_;
    std::future<double> area_; // the drawn polygon's acres
    PerimeterResult result_;
};

} // namespace

PerimeterResult writePerimeterShapefile(const std::filesystem::path& shapefile,
                                        const ShapeChoice& choice, Database& database,
                                        const std::vector<Part>& parts, std::size_t vertexRows) {
    return PerimeterWriter(shapefile, choice, database, parts, vertexRows).write();
}

} // namespace sw::kml
