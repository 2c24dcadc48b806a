#include "kmlconvert/conversion.h"

#include "kmlconvert/kml_extract.h"
#include "kmlconvert/kmz_archive.h"
#include "kmlconvert/perimeter_area.h"
#include "kmlconvert/shape_choice.h"
#include "services/base/whole_file.h"
#include "services/database/database.h"
#include "services/shapefile/shapefiles.h"
#include "taskwindow/record_file.h"

#include <QFile>

#include <future>
#include <system_error>
#include <utility>

namespace sw::kml {

namespace fs = std::filesystem;

const char* const kWgs1984Projection =
    "GEOGCS[\"GCS_WGS_1984\",DATUM[\"D_WGS_1984\",SPHEROID[\"WGS_1984\",6378137,"
    "298.257223563]],PRIMEM[\"Greenwich\",0],UNIT[\"Degree\",0.017453292519943295]]\r\n";

FileRequest kmlFileRequest() {
    FileRequest request;
    request.kind = FileRequest::Kind::Open;
    request.defaultExtension = ".kml";
    request.filter = "KML Files(*.kml)|*.kml|KMZ Files(*.kmz)|*.kmz";
    return request;
}

FileRequest shapefileSaveRequest() {
    FileRequest request;
    request.kind = FileRequest::Kind::Save;
    request.defaultExtension = ".shp";
    request.filter = "Shape Files(*.shp)|*.shp";
    return request;
}

namespace {

// The FIRE_DAT table. CONTAINED is 7 wide: "100.00%" must fit whole.
const std::vector<ColumnDef>& fireDatColumns() {
    static const std::vector<ColumnDef> columns = {
        {"GISID", ColumnType::LongInteger, 4}, {"NAME", ColumnType::Text, 35},
        {"INC_NUM", ColumnType::Text, 20},     {"REPORT", ColumnType::Text, 10},
        {"ENTRY_DATE", ColumnType::Text, 12},  {"START_DATE", ColumnType::Text, 12},
        {"ACRES", ColumnType::LongInteger, 4}, {"FUEL", ColumnType::Text, 20},
        {"CAUSE", ColumnType::Text, 20},       {"TYPE", ColumnType::Text, 30},
        {"CONTAINED", ColumnType::Text, 7},    {"SIGNIF", ColumnType::Text, 4},
    };
    return columns;
}

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

std::string textSource(const fs::path& folder, const fs::path& file) {
    return "[Text;Database=" + folder.string() + ";HDR=NO].[" + file.filename().string() + "]";
}

bool fileExists(const fs::path& file) {
    std::error_code ec;
    return fs::exists(file, ec);
}

// Copies the picked KML to its working name, whole or not at all. Empty on success.
std::string copyWhole(const fs::path& from, const fs::path& to) {
    std::error_code ec;
    if (fs::equivalent(from, to, ec)) {
        return {}; // the picked file is its own working copy
    }
    QFile in(QString::fromStdString(from.string()));
    if (!in.open(QIODevice::ReadOnly)) {
        return "Cannot read " + from.string() + ": " + in.errorString().toStdString();
    }
    WholeFileWrite out(to);
    if (!out.problem().empty()) {
        return "Cannot write " + to.string() + ": " + out.problem();
    }
    char buffer[1 << 16];
    while (true) {
        const qint64 read = in.read(buffer, sizeof buffer);
        if (read < 0) {
            return "Cannot read " + from.string() + ": " + in.errorString().toStdString();
        }
        if (read == 0) {
            break;
        }
        if (std::string problem = out.append({buffer, static_cast<std::size_t>(read)});
            !problem.empty()) {
            return "Cannot write " + to.string() + ": " + problem;
        }
    }
    if (std::string problem = out.commit(); !problem.empty()) {
        return "Cannot write " + to.string() + ": " + problem;
    }
    return {};
}

class Conversion {
public:
    Conversion(Dialogs& dialogs, const FireAttributes& attributes)
        : dialogs_(dialogs), attributes_(attributes) {}

    ConversionOutcome run() {
        auto picked = dialogs_.file(kmlFileRequest());
        if (!picked) {
            return outcome_;
        }
        outcome_.names = namesForKml(*picked);
        if (!settleShapefileName() || !makeWorkingCopy() || !writeWorkingFiles() ||
            !loadDatabase() || !buildShapefile()) {
            return outcome_;
        }
        outcome_.completed = true;
        return outcome_;
    }

private:
    WorkingNames& names() { return outcome_.names; }

    bool stop(const std::string& message) {
        dialogs_.inform(message, {}, Icon::Warning);
        return false;
    }

    bool removeIfPresent(const fs::path& file) {
        std::error_code ec;
        if (fs::remove(file, ec) || !ec) {
            return true;
        }
        return stop("Cannot delete " + file.string() + ": " + ec.message());
    }

    // An existing shapefile of the working name: overwrite it, or pick another name.
    bool settleShapefileName() {
        if (!fileExists(names().shapefile)) {
            return true;
        }
        const std::string question =
            "Shapefile " + names().shapefile.string() + " exists - overwrite?";
        if (dialogs_.askYesNo(question, "Overwrite", Icon::Warning)) {
            // The working files of the earlier conversion go now; the shapefile itself (and
            // its projection file) is replaced only once the new one is complete.
            return removeIfPresent(names().database) && removeIfPresent(names().attributeFile) &&
                   removeIfPresent(names().vertexFile) && removeIfPresent(names().oldAttributeFile);
        }
        auto chosen = dialogs_.file(shapefileSaveRequest());
        if (!chosen || chosen->empty()) {
            return false;
        }
        outcome_.names = namesForShapefile(names(), *chosen);
        return true;
    }

    bool makeWorkingCopy() {
        WaitCursor wait(dialogs_);
        const fs::path& kml = names().kml;
        if (!fileExists(kml)) {
            dialogs_.inform(kml.string(), "File Not Found");
            return false;
        }
        const std::string error = isKmz(kml) ? extractKmzDocument(kml, names().workingCopy)
                                             : copyWhole(kml, names().workingCopy);
        if (!error.empty()) {
            return stop(error);
        }
        std::error_code ec;
        if (fs::file_size(names().workingCopy, ec) == 0 && !ec) {
            dialogs_.inform(names().workingCopy.string(), "File Is Empty");
            return false;
        }
        return true;
    }

    bool writeWorkingFiles() {
        WaitCursor wait(dialogs_);
        const auto written = writeWholeFile(names().attributeFile, attributeLine(attributes_));
        if (!written) {
            return stop(written.message);
        }
        extraction_ = writeVertexFile(names().workingCopy.string(), names().vertexFile.string(),
                                      names().kml.string());
        if (!extraction_.ok()) {
            return stop(extraction_.refusal);
        }
        outcome_.vertexCount = extraction_.vertexCount;
        outcome_.partCount = extraction_.parts.size();
        return true;
    }

    bool dbFailed(const std::string& what) {
        return stop(what + " " + names().database.string() + ":\n" + database_.lastError());
    }

    bool loadDatabase() {
        WaitCursor wait(dialogs_);
        if (!database_.create(names().database)) {
            return stop("Cannot create the working database:\n" + database_.lastError());
        }
        if (!database_.createTable("FIRE_DAT", fireDatColumns())) {
            return dbFailed("Cannot create the table FIRE_DAT in");
        }
        const fs::path& folder = names().dataFolder;
        if (!database_.execute("SELECT * INTO COORD FROM " +
                               textSource(folder, names().vertexFile))) {
            return dbFailed("Cannot load the vertices into");
        }
        if (!database_.execute(
                "INSERT INTO FIRE_DAT (GISID, NAME, INC_NUM, REPORT, ENTRY_DATE, "
                "START_DATE,ACRES, FUEL, CAUSE, TYPE, CONTAINED, SIGNIF) SELECT F1, F2, F3, F4, "
                "F5, F6, F7, F8, F9, F10, F11, F12 FROM " +
                textSource(folder, names().attributeFile))) {
            return dbFailed("Cannot load the attributes into");
        }
        auto count = database_.query("SELECT COUNT(F1) FROM  COORD");
        if (!count) {
            return dbFailed("Cannot count the vertices in");
        }
        count->moveFirst();
        const auto rows = count->value(0).toInteger();
        if (rows < 1 || static_cast<std::size_t>(rows) != extraction_.vertexCount) {
            return stop("The working database " + names().database.string() + " holds " +
                        std::to_string(rows) + " vertices of the " +
                        std::to_string(extraction_.vertexCount) + " in the KML.");
        }
        vertexRows_ = static_cast<std::size_t>(rows);
        return true;
    }

    bool shapeFailed() {
        return stop("Cannot write the shapefile " + names().shapefile.string() + ":\n" +
                    shapes_.lastError());
    }

    bool buildShapefile() {
        const ShapeChoice choice =
            chooseShapeType(dialogs_, vertexRows_, extraction_.parts.front());
        WaitCursor wait(dialogs_);
        outcome_.shapeType = choice.shapeType;
        // The projection file goes in place with the shapefile, or neither does.
        if (!shapes_.OpenShapefile(names().shapefile, ShapeFiles::OpenMode::Create,
                                   choice.shapeType) ||
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
            if (!addVertices(records->text("GISID"), choice)) {
                return false;
            }
            shapes_.SetPartInfo(1, 0);
            const bool written = shapes_.WriteRecord();
            if (area_.valid()) {
                outcome_.drawnAcres = area_.get();
            }
            if (!written) {
                return shapeFailed();
            }
        }
        dialogs_.inform(choice.completion, "Conversion Complete", Icon::Information);
        return true;
    }

    // The record's vertices in file order; each drawing is its own part. Read row by row: a
    // perimeter may have millions. A polygon's vertices are also kept for its area, which is
    // worked out on a thread of its own while the shapefile is written.
    bool addVertices(const std::string& gisid, const ShapeChoice& choice) {
        const bool polygon = choice.shapeType == ShapeType::Polygon;
        const auto& parts = extraction_.parts;
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
            if (++inPart == parts[part].count) {
                if (polygon && choice.closeOpenParts && !parts[part].closed()) {
                    shapes_.Vertices().AddVertex(parts[part].firstLongitude,
                                                 parts[part].firstLatitude, partNumber);
                }
                if (part + 1 < parts.size()) {
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
            area_ = std::async(std::launch::async, [points = std::move(points), &parts] {
                return enclosedAcres(points, parts);
            });
        }
        return true;
    }

    // The acres the rings enclose: the points are the parts' vertices, part after part.
    static double enclosedAcres(const std::vector<std::pair<double, double>>& points,
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

    Dialogs& dialogs_;
    const FireAttributes& attributes_;
    ConversionOutcome outcome_;
    Extraction extraction_;
    std::future<double> area_; // the drawn polygon's acres
    Database database_;
    ShapeFiles shapes_;
    std::size_t vertexRows_ = 0;
};

} // namespace

ConversionOutcome convertKml(Dialogs& dialogs, const FireAttributes& attributes) {
    return Conversion(dialogs, attributes).run();
}

} // namespace sw::kml
