#include "facilities/facility_outputs.h"

#include "coord/number_text.h"
#include "facilities/record_file.h"
#include "services/dialogs.h"
#include "services/kml_writer.h"
#include "services/program_folder.h"
#include "services/shapefiles.h"

#include <array>
#include <fstream>
#include <sstream>

namespace sw {

namespace fs = std::filesystem;

namespace {

OutputResult fromStatus(const fs::path& path, const WriteStatus& status) {
    return status ? OutputResult::written(path) : OutputResult::failed(path, status.message);
}

struct ShapeColumn {
    const char* name;
    int typeCode; // 10 text, 7 double
    int width;    // texts only
};

// The attribute table of a facility shapefile, in file order. A UTM text is up to 24
// characters long ("16R 740550.42 3349132.77"); a narrower column would cut off its northing,
// so the column holds all of it. Appending to older files with a 20-character column still
// works (the writer cuts the text to the column).
constexpr std::array<ShapeColumn, 8> kShapeColumns = {{{"Name", 10, 45},
                                                       {"Type", 10, 45},
                                                       {"Lat", 7, 0},
                                                       {"Long", 7, 0},
                                                       {"AlbersX", 7, 0},
                                                       {"AlbersY", 7, 0},
                                                       {"UTM", 10, 24},
                                                       {"USNG", 10, 20}}};

OutputResult shapeFailure(const ShapeFiles& shapes, const fs::path& path) {
    return OutputResult::failed(path, "Could not write the shapefile " + path.string() + ": " +
                                          shapes.lastError());
}

// The point's values and its shape (at its Albers coordinates), written as one record.
bool writePointRecord(ShapeFiles& shapes, const FacilityPoint& point) {
    const double x = leadingNumber(point.albersX);
    const double y = leadingNumber(point.albersY);
    auto& fields = shapes.Fields();
    return fields.Field("Name").SetValue(point.name) && fields.Field("Type").SetValue(point.type) &&
           fields.Field("Lat").SetValue(leadingNumber(point.latitude)) &&
           fields.Field("Long").SetValue(leadingNumber(point.longitude)) &&
           fields.Field("AlbersX").SetValue(x) && fields.Field("AlbersY").SetValue(y) &&
           fields.Field("UTM").SetValue(point.utm) && fields.Field("USNG").SetValue(point.usng) &&
           shapes.Vertices().AddVertex(x, y, 0) && shapes.WriteRecord();
}

// The state Albers projection file beside a new shapefile. Only the extension of the
// shapefile's own name changes, so a folder whose name holds ".shp" is left alone.
OutputResult copyProjectionFile(const fs::path& shapefile) {
    const fs::path source = programFolder() / "qv_albers.prj";
    fs::path target = shapefile;
    target.replace_extension(".prj");
    std::ifstream in(source, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    if (!in) {
        return OutputResult::failed(target, "Could not read the projection file " +
                                                source.string() + " for " + target.string());
    }
    const WriteStatus copied = writeWholeFile(target, text.str());
    return copied ? OutputResult::written(shapefile) : OutputResult::failed(target, copied.message);
}

} // namespace

OutputResult createFacilityTextFile(Dialogs& dialogs, FileDialogMemory& dialog,
                                    const FacilityPoint& point) {
    const auto choice = chooseOutputFile(dialogs, dialog,
                                         {.defaultExtension = ".txt",
                                          .filter = "Text Files(*.txt)|*.txt",
                                          .prefix = kFacilityPrefix});
    if (!choice) {
        return OutputResult::cancelled();
    }
    return fromStatus(
        choice->target,
        writeWholeFile(choice->target, facilityHeaderLine() + facilityRecordLine(point)));
}

OutputResult appendFacilityTextFile(Dialogs& dialogs, FileDialogMemory& dialog,
                                    const FacilityPoint& point) {
    const auto chosen =
        dialog.pick(dialogs, outputFileRequest(".txt", "Text Files (pf*.txt)|pf*.txt"));
    if (!chosen) {
        return OutputResult::cancelled();
    }
    const fs::path path(*chosen);
    return fromStatus(path, appendWhole(path, facilityRecordLine(point)));
}

OutputResult writeFacilityShapefile(Dialogs& dialogs, FileDialogMemory& dialog, ShapeFiles& shapes,
                                    const FacilityPoint& point) {
    const auto choice = chooseOutputFile(dialogs, dialog,
                                         {.defaultExtension = ".shp",
                                          .filter = "Shape Files(*.shp)|*.shp",
                                          .prefix = kFacilityPrefix});
    if (!choice) {
        return OutputResult::cancelled();
    }
    if (!shapes.OpenShapefile(choice->target, ShapeFiles::kCreate, ShapeFiles::kPoint)) {
        return shapeFailure(shapes, choice->target);
    }
    for (const ShapeColumn& column : kShapeColumns) {
        if (!shapes.Fields().AddField(column.name, column.typeCode, column.width)) {
            return shapeFailure(shapes, choice->target);
        }
    }
    if (!shapes.CommitFields() || !writePointRecord(shapes, point)) {
        return shapeFailure(shapes, choice->target);
    }
    return copyProjectionFile(shapes.path());
}

OutputResult appendFacilityShapefile(Dialogs& dialogs, FileDialogMemory& dialog, ShapeFiles& shapes,
                                     const FacilityPoint& point) {
    const auto chosen =
        dialog.pick(dialogs, outputFileRequest(".shp", "Shape Files (pf*.shp)|pf*.shp"));
    if (!chosen) {
        return OutputResult::cancelled();
    }
    const fs::path path(*chosen);
    if (!shapes.OpenShapefile(path, ShapeFiles::kAppend) || !writePointRecord(shapes, point)) {
        return shapeFailure(shapes, path);
    }
    return OutputResult::written(path);
}

OutputResult writeFacilityKml(Dialogs& dialogs, FileDialogMemory& dialog,
                              const FacilityPoint& point) {
    const auto choice = chooseOutputFile(dialogs, dialog,
                                         {.defaultExtension = kKmlDefaultExtension,
                                          .filter = kKmlFileFilter,
                                          .presetFileName = kFacilityPrefix + point.name,
                                          .test = ExistenceTest::ChosenPath});
    if (!choice) {
        return OutputResult::cancelled();
    }
    const KmlWriteResult written = WriteKmlFromTemplate(
        dialogs, "kml_template3.txt", choice->target, point.name, facilityDescriptionLines(point),
        point.longitude, point.latitude, facilityIconFile(point.type), "<range>5000</range>");
    return written ? OutputResult::written(choice->target)
                   : OutputResult::failed(choice->target, written.message);
}

} // namespace sw
