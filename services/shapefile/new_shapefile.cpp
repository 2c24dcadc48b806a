#include "services/shapefile/new_shapefile.h"

#include <shapefil.h>

#include <cerrno>
#include <cstring>
#include <system_error>
#include <unistd.h>

#include "services/shapefile/shape_io.h"
#include "services/shapefile/shape_paths.h"
#include "services/shapefile/shape_publish.h"

namespace sw {

namespace fs = std::filesystem;
using shapeio::hooks;
using shapeio::WatchScope;
using shapepaths::withExtension;

namespace {

// A name beside the target that no other shapefile being built has, so that moving the
// files into place is a rename.
fs::path temporaryBase(const fs::path& finalBase) {
    static int serial = 0;
    return fs::path(finalBase.string() + "~new" + std::to_string(getpid()) + "_" +
                    std::to_string(++serial));
}

} // namespace

NewShapefile::NewShapefile(fs::path finalBase)
    : finalBase_(std::move(finalBase)), workBase_(temporaryBase(finalBase_)) {}

NewShapefile::~NewShapefile() {
    discard();
}

std::string NewShapefile::shown() const {
    return withExtension(finalBase_, ".shp").string();
}

bool NewShapefile::createShapes(ShapeType type, std::string& error) {
    WatchScope watch;
    SHPHandle shp =
        SHPCreateLL(withExtension(workBase_, ".shp").c_str(), static_cast<int>(type), hooks());
    if (shp != nullptr) {
        SHPClose(shp);
    }
    if (shp == nullptr || watch.failed()) {
        error = "Cannot create " + shown() + ": " + watch.reason(std::strerror(errno));
        discard();
        return false;
    }
    return true;
}

bool NewShapefile::createTable(const std::vector<ShapeFieldInfo>& fields, std::string& error) {
    WatchScope watch;
    // The code page makes readers take the texts as UTF-8; shapelib writes it as the .cpg.
    DBFHandle dbf = DBFCreateLL(withExtension(workBase_, ".dbf").c_str(), "UTF-8", hooks());
    if (dbf == nullptr) {
        error = "Cannot create the attribute table of " + shown() + ": " +
                watch.reason(std::strerror(errno));
        return false;
    }
    bool ok = true;
    for (const auto& field : fields) {
        if (DBFAddNativeFieldType(dbf, field.name.c_str(), field.dbfType, field.width,
                                  field.decimals) < 0) {
            ok = false;
        }
    }
    DBFClose(dbf);
    if (!ok || watch.failed()) {
        error = "Cannot create the attribute table of " + shown() + ": " +
                watch.reason("a column was refused");
        return false;
    }
    return true;
}

bool NewShapefile::createProjection(std::string_view text, std::string& error) {
    const fs::path file = withExtension(workBase_, ".prj");
    std::error_code ec;
    fs::remove(file, ec);
    if (std::string reason = shapeio::writeNewFile(file, text); !reason.empty()) {
        error = "Cannot create the projection file of " + shown() + ": " + reason;
        fs::remove(file, ec);
        return false;
    }
    return true;
}

bool NewShapefile::publish(std::string& error) {
    if (!publishShapefile(workBase_, finalBase_, error)) {
        return false;
    }
    published_ = true;
    return true;
}

void NewShapefile::discard() {
    if (published_) {
        return;
    }
    std::error_code ec;
    for (const char* extension : {".shp", ".shx", ".dbf", ".cpg", ".prj"}) {
        fs::remove(withExtension(workBase_, extension), ec);
    }
}

} // namespace sw
