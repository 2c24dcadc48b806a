#include "services/shapefile/record_files.h"

#include <ctime>

#include "services/shapefile/shape_check.h"
#include "services/shapefile/shape_io.h"
#include "services/shapefile/shape_paths.h"
#include "services/shapefile/shape_snapshot.h"

namespace sw {

namespace fs = std::filesystem;
using shapeio::hooks;
using shapeio::WatchScope;
using shapepaths::partFile;
using shapepaths::withExtension;

namespace {

void todayInto(DBFHandle dbf) {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    DBFSetLastModifiedDate(dbf, local.tm_year, local.tm_mon + 1, local.tm_mday);
}

// The shape through shapelib: written at the end of the main file, with the next record
// number. False when shapelib refuses it or the table's next row is not the same record.
bool writeShape(SHPHandle shp, DBFHandle dbf, ShapeType type, const ShapeParts& parts) {
    const int code = static_cast<int>(type);
    SHPObject* object = SHPCreateObject(
        code, -1, static_cast<int>(parts.starts.size()), parts.starts.data(), nullptr,
        static_cast<int>(parts.x.size()), parts.x.data(), parts.y.data(), nullptr, nullptr);
    if (baseShapeType(type) == ShapeType::Polygon) {
        // Outer rings clockwise, holes counter-clockwise, as the format wants them.
        SHPRewindObject(shp, object);
    }
    const int shapeId = SHPWriteObject(shp, -1, object);
    SHPDestroyObject(object);
    return shapeId >= 0 && shapeId == DBFGetRecordCount(dbf);
}

// shapelib takes each text as a void*, but only reads it.
bool writeValues(DBFHandle dbf, int row, const std::vector<ShapeFieldInfo>& fields,
                 const std::vector<std::optional<std::string>>& values) {
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const int field = static_cast<int>(i);
        const bool ok = values[i] ? DBFWriteAttributeDirectly(
                                        dbf, row, field, const_cast<char*>(values[i]->c_str())) != 0
                                  : DBFWriteNULLAttribute(dbf, row, field) != 0;
        if (!ok) {
            return false;
        }
    }
    return true;
}

} // namespace

bool RecordFiles::takeBack() {
    if (!before_) {
        return true;
    }
    const bool restored = restoreSnapshot(before_->shp) && restoreSnapshot(before_->shx) &&
                          restoreSnapshot(before_->dbf);
    before_.reset();
    return restored;
}

void RecordFiles::close() {
    if (dbf != nullptr) {
        DBFClose(dbf);
        dbf = nullptr;
    }
    if (shp != nullptr) {
        SHPClose(shp);
        shp = nullptr;
    }
}

std::string RecordFiles::write(const fs::path& base, const std::string& shown, ShapeType type,
                               const ShapeParts& parts, const std::vector<ShapeFieldInfo>& fields,
                               const std::vector<std::optional<std::string>>& values) {
    const ShapefileParts files{partFile(base, ".shp"), partFile(base, ".shx"),
                               partFile(base, ".dbf")};
    before_.reset();
    auto shpBefore = takeSnapshot(files.shp, 100);
    auto shxBefore = takeSnapshot(files.shx, 100);
    auto dbfBefore = takeSnapshot(files.dbf, dbfHeaderLength(files.dbf));
    if (!shpBefore || !shxBefore || !dbfBefore) {
        close();
        return "Cannot read " + shown + " before writing to it";
    }
    before_ = Before{std::move(*shpBefore), std::move(*shxBefore), std::move(*dbfBefore)};

    WatchScope watch;
    if (shp == nullptr) {
        shp = SHPOpenLL(withExtension(base, ".shp").c_str(), "rb+", hooks());
    }
    if (dbf == nullptr && shp != nullptr) {
        dbf = DBFOpenLL(withExtension(base, ".dbf").c_str(), "rb+", hooks());
    }
    bool ok = shp != nullptr && dbf != nullptr;
    if (ok) {
        const int row = DBFGetRecordCount(dbf);
        ok = writeShape(shp, dbf, type, parts) && writeValues(dbf, row, fields, values);
        todayInto(dbf);
    }
    // Closing writes the headers and the index: the files are complete from here on.
    close();
    // Whatever shapelib did not report, the files must still agree with one another.
    std::string damage = ok && !watch.failed() ? shapefileDamage(files) : std::string();
    if (ok && !watch.failed() && damage.empty()) {
        return {};
    }
    std::string reason = watch.reason(damage.empty() ? "the record could not be written"
                                                     : "the files disagree: " + damage);
    const bool restored = takeBack();
    return "Record not written to " + shown + ": " + reason +
           (restored ? "" : " (and the files could not be put back as they were)");
}

} // namespace sw
