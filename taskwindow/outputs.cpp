#include "taskwindow/outputs.h"

#include "coord/number_text.h"
#include "services/base/no_case.h"
#include "taskwindow/projection_file.h"
#include "taskwindow/record_file.h"

namespace sw {

namespace fs = std::filesystem;

namespace {

OutputResult fromStatus(const fs::path& path, const WriteStatus& status) {
    return status ? OutputResult::written(path) : OutputResult::failed(path, status.message);
}

// What a shapefile of that type holds, in plain words ("points"); the Z and M kinds by their
// code, since a record of the window's kind would not match them.
std::string heldShapes(ShapeType shapeType) {
    return isNewShapefileType(shapeType)
               ? shapeKindName(shapeType)
               : "shapes of type " + std::to_string(static_cast<int>(shapeType));
}

// The dBASE column type a value of this kind goes into: C text, N or F numbers, D dates,
// L yes/no.
bool fits(FieldType kind, char dbfType) {
    switch (kind) {
    case FieldType::Text:
        return dbfType == 'C';
    case FieldType::Date:
        return dbfType == 'D';
    case FieldType::YesNo:
        return dbfType == 'L';
    case FieldType::Integer:
    case FieldType::LongInteger:
    case FieldType::Single:
    case FieldType::Double:
    case FieldType::Numeric:
    case FieldType::Float:
        break;
    }
    return dbfType == 'N' || dbfType == 'F';
}

const char* kindName(FieldType kind) {
    switch (kind) {
    case FieldType::Text:
        return "a text field";
    case FieldType::Date:
        return "a date field";
    case FieldType::YesNo:
        return "a yes/no field";
    case FieldType::Integer:
    case FieldType::LongInteger:
    case FieldType::Single:
    case FieldType::Double:
    case FieldType::Numeric:
    case FieldType::Float:
        break;
    }
    return "a number field";
}

const char* dbfTypeName(char dbfType) {
    switch (dbfType) {
    case 'C':
        return "text";
    case 'N':
    case 'F':
        return "numbers";
    case 'D':
        return "dates";
    case 'L':
        return "yes/no values";
    default:
        return "values of another type";
    }
}

} // namespace

std::optional<std::string> appendMismatch(ShapeFiles& shapes, std::span<const Column> columns,
                                          ShapeType shapeType) {
    if (shapes.shapeType() != shapeType) {
        return "it holds " + heldShapes(shapes.shapeType()) + ", not " + heldShapes(shapeType);
    }
    const int count = shapes.Fields().Count();
    for (const Column& column : columns) {
        std::optional<ShapeFieldInfo> found;
        for (int i = 0; i < count && !found; ++i) {
            auto info = shapes.Fields().Info(i);
            if (info && equalsNoCase(info->name, column.field)) {
                found = info;
            }
        }
        if (!found) {
            return "it has no field \"" + column.field + "\"";
        }
        if (!fits(column.kind, found->dbfType)) {
            return "its field \"" + found->name + "\" holds " + dbfTypeName(found->dbfType) +
                   "; \"" + column.field + "\" needs " + kindName(column.kind);
        }
    }
    return std::nullopt;
}

RecordOutputs::RecordOutputs(Dialogs& dialogs, OutputSettings settings)
    : dialogs_(dialogs), settings_(std::move(settings)) {}

OutputResult RecordOutputs::createTextFile(const RecordRow& row) {
    const auto choice = chooseOutputFile(dialogs_, dialog_,
                                         {.defaultExtension = ".txt",
                                          .filter = settings_.newTextFilter,
                                          .prefix = settings_.prefix});
    if (!choice) {
        return OutputResult::cancelled();
    }
    return fromStatus(choice->target,
                      writeWholeFile(choice->target, headerLine(row) + recordLine(row)));
}

OutputResult RecordOutputs::appendTextFile(const RecordRow& row) {
    const auto chosen =
        dialog_.pick(dialogs_, outputFileRequest(".txt", settings_.appendTextFilter));
    if (!chosen) {
        return OutputResult::cancelled();
    }
    const fs::path path(*chosen);
    return fromStatus(path, appendWhole(path, recordLine(row)));
}

OutputResult RecordOutputs::shapeFailure(const fs::path& path) const {
    return OutputResult::failed(path, "Could not write the shapefile " + path.string() + ": " +
                                          shapes_.lastError());
}

bool RecordOutputs::writePointRecord(const RecordRow& row, ShapePoint at) {
    auto& fields = shapes_.Fields();
    for (std::size_t i = 0; i < row.columns.size(); ++i) {
        const Column& column = row.columns[i];
        const std::string& text = i < row.texts.size() ? row.texts[i] : std::string();
        ShapeField field = fields.Field(column.field);
        const bool set = column.bareNumber ? field.SetValue(leadingNumber(text))
                                           : field.SetValue(std::string_view(text));
        if (!set) {
            return false;
        }
    }
    return shapes_.Vertices().AddVertex(at.x, at.y, 0) && shapes_.WriteRecord();
}

OutputResult RecordOutputs::createShapefile(const RecordRow& row, ShapePoint at) {
    const auto choice = chooseOutputFile(dialogs_, dialog_,
                                         {.defaultExtension = ".shp",
                                          .filter = settings_.newShapeFilter,
                                          .prefix = settings_.prefix});
    if (!choice) {
        return OutputResult::cancelled();
    }
    if (!shapes_.OpenShapefile(choice->target, ShapeFiles::OpenMode::Create, ShapeType::Point)) {
        return shapeFailure(choice->target);
    }
    // The projection file goes in place with the shapefile, so a .prj that cannot be
    // replaced keeps the old shapefile too.
    const InstalledProjection projection = installedProjection(settings_.projectionFile);
    if (projection.text && !shapes_.SetProjection(*projection.text)) {
        return shapeFailure(choice->target);
    }
    for (const Column& column : row.columns) {
        if (!shapes_.Fields().AddField(column.field, column.kind, column.width)) {
            return shapeFailure(choice->target);
        }
    }
    if (!shapes_.CommitFields() || !writePointRecord(row, at)) {
        return shapeFailure(choice->target);
    }
    if (!projection.text) {
        return OutputResult::failed(fs::path(shapes_.path()).replace_extension(".prj"),
                                    missingProjectionMessage(shapes_.path(), projection));
    }
    return OutputResult::written(shapes_.path());
}

OutputResult RecordOutputs::appendShapefile(const RecordRow& row, ShapePoint at) {
    const auto chosen =
        dialog_.pick(dialogs_, outputFileRequest(".shp", settings_.appendShapeFilter));
    if (!chosen) {
        return OutputResult::cancelled();
    }
    const fs::path path(*chosen);
    if (!shapes_.OpenShapefile(path, ShapeFiles::OpenMode::Append)) {
        return shapeFailure(path);
    }
    if (auto mismatch = appendMismatch(shapes_, row.columns, ShapeType::Point)) {
        shapes_.Close();
        return OutputResult::failed(path, "Could not append to the shapefile " + path.string() +
                                              ": " + *mismatch + ". Nothing was written.");
    }
    if (!writePointRecord(row, at)) {
        return shapeFailure(path);
    }
    return OutputResult::written(path);
}

OutputResult RecordOutputs::writeKml(const KmlPlacemark& placemark) {
    const auto choice = chooseOutputFile(dialogs_, dialog_,
                                         {.defaultExtension = kKmlDefaultExtension,
                                          .filter = kKmlFileFilter,
                                          .presetFileName = placemark.presetFileName,
                                          .test = ExistenceTest::ChosenPath});
    if (!choice) {
        return OutputResult::cancelled();
    }
    const std::string templateName =
        placemark.chooseTemplate ? placemark.chooseTemplate() : placemark.templateName;
    const KmlWriteResult written = WriteKmlFromTemplate(
        dialogs_, templateName, choice->target, placemark.name, placemark.descriptionLines,
        placemark.longitude, placemark.latitude, placemark.iconFile, placemark.rangeElement);
    return written ? OutputResult::written(choice->target)
                   : OutputResult::failed(choice->target, written.message);
}

} // namespace sw
