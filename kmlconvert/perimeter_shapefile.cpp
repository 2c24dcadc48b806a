#include "kmlconvert/perimeter_shapefile.h"

#include "kmlconvert/perimeter_area.h"
#include "services/base/whole_file.h"

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
                    const FireTable& fire, const PerimeterVertices& vertices,
                    const std::vector<Part>& parts)
        : shapefile_(shapefile), choice_(choice), fire_(fire), vertices_(vertices), parts_(parts) {}

    PerimeterResult write(const std::function<std::string()>& ready) {
        result_.written = writeAll(ready);
        return std::move(result_);
    }

private:
    bool shapeFailed() {
        result_.problem =
            "Cannot write the shapefile " + shapefile_.string() + ":\n" + shapes_.lastError();
        return false;
    }

    bool writeAll(const std::function<std::string()>& ready) {
        // The projection file goes in place with the shapefile, or neither does.
        if (!shapes_.OpenShapefile(shapefile_, ShapeFiles::OpenMode::Create, choice_.shapeType) ||
            !shapes_.SetProjection(kWgs1984Projection)) {
            return shapeFailed();
        }
        // The record is written while the database may still be filling; the shapefile goes in
        // place only once that has succeeded too.
        shapes_.KeepAsideUntilClose();
        for (const ColumnDef& column : fire_.columns) {
            if (!shapes_.Fields().AddField(column.name, shapeFieldType(column.type), column.size)) {
                return shapeFailed();
            }
        }
        if (!shapes_.CommitFields()) {
            return shapeFailed();
        }
        Recordset records = fire_.rows;
        for (records.moveFirst(); !records.eof(); records.moveNext()) {
            for (int c = 0; c < records.fieldCount(); ++c) {
                const DbValue& value = records.value(c);
                if (value.isNull()) {
                    continue;
                }
                ShapeField field = shapes_.Fields().Field(records.fieldName(c));
                const bool set = value.type() == DbValue::Type::Text
                                     ? field.SetValue(value.toText())
                                     : field.SetValue(value.toNumber());
                if (!set) {
                    return shapeFailed();
                }
            }
            addVertices();
            shapes_.SetPartInfo(1, 0);
            const bool written = shapes_.WriteRecord();
            if (area_.valid()) {
                result_.drawnAcres = area_.get();
            }
            if (!written) {
                return shapeFailed();
            }
        }
        if (std::string problem = ready(); !problem.empty()) {
            result_.problem = std::move(problem);
            return false; // the new files, still aside, go with the writer
        }
        return shapes_.Close() || shapeFailed();
    }

    // The record's vertices in file order; each drawing is its own part. A polygon's area is
    // worked out on a thread of its own while the shapefile is written.
    void addVertices() {
        const bool polygon = choice_.shapeType == ShapeType::Polygon;
        if (polygon) {
            area_ =
                std::async(std::launch::async, [this] { return enclosedAcres(vertices_, parts_); });
        }
        ShapeFiles::VertexList& out = shapes_.Vertices();
        std::size_t next = 0;
        int partNumber = 0;
        for (const Part& part : parts_) {
            if (!drawingFits(choice_.shapeType, part)) {
                next += part.count;
                ++result_.leftOut;
                continue;
            }
            ++partNumber;
            // A ring is a hole only where the KML says so (innerBoundaryIs).
            const RingRole role =
                part.kind == PartKind::InnerRing ? RingRole::Hole : RingRole::Outer;
            for (std::size_t i = 0; i < part.count && next < vertices_.size(); ++i, ++next) {
                out.AddVertex(vertices_[next].first, vertices_[next].second, partNumber, role);
            }
            if (polygon && choice_.closeOpenParts && !part.closed()) {
                out.AddVertex(part.firstLongitude, part.firstLatitude, partNumber, role);
            }
        }
    }

    const std::filesystem::path& shapefile_;
    const ShapeChoice& choice_;
    const FireTable& fire_;
    const PerimeterVertices& vertices_;
    const std::vector<Part>& parts_;
    ShapeFiles shapes_;
    std::future<double> area_; // the drawn polygon's acres
    PerimeterResult result_;
};

} // namespace

Extraction readPerimeter(const std::string& kmlPath, const std::string& vertexPath,
                         const std::string& shownName, PerimeterVertices& vertices,
                         TextFeed& vertexText) {
    vertices.clear();
    WholeFileWrite out(vertexPath, AtALink::Replace);
    if (!out.problem().empty()) {
        vertexText.giveUp();
        Extraction failed;
        failed.refusal = "Cannot write the vertex file " + vertexPath + ": " + out.problem();
        return failed;
    }
    std::string buffer;
    constexpr std::size_t kBlock = 1 << 16;
    buffer.reserve(kBlock + 256);
    auto flush = [&] {
        out.append(buffer); // a failure is kept and reported by commit()
        vertexText.append(buffer);
        buffer.clear();
    };
    Extraction result = extractCoordinates(
        kmlPath,
        [&](const Tuple& tuple) {
            vertices.emplace_back(tuple.longitude, tuple.latitude);
            buffer += "1,";
            buffer += tuple.text;
            buffer += "\r\n";
            if (buffer.size() >= kBlock) {
                flush();
            }
        },
        shownName);
    if (!result.ok()) {
        vertices.clear();
        vertexText.giveUp();
        return result; // the vertex file is left as it was
    }
    flush();
    if (std::string problem = out.commit(); !problem.empty()) {
        result.refusal = "Cannot write the vertex file " + vertexPath + ": " + problem;
        vertexText.giveUp();
    }
    return result;
}

PerimeterResult writePerimeterShapefile(const std::filesystem::path& shapefile,
                                        const ShapeChoice& choice, const FireTable& fire,
                                        const PerimeterVertices& vertices,
                                        const std::vector<Part>& parts,
                                        const std::function<std::string()>& ready) {
    return PerimeterWriter(shapefile, choice, fire, vertices, parts).write(ready);
}

} // namespace sw::kml
