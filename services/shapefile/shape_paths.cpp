#include "services/shapefile/shape_paths.h"

#include <system_error>

#include "services/base/no_case.h"

namespace sw::shapepaths {

namespace fs = std::filesystem;

fs::path baseOf(const fs::path& path) {
    std::string extension = path.extension().string();
    if (equalsNoCase(extension, ".shp") || equalsNoCase(extension, ".shx") ||
        equalsNoCase(extension, ".dbf")) {
        return fs::path(path).replace_extension();
    }
    return path;
}

fs::path withExtension(const fs::path& base, std::string_view extension) {
    return fs::path(base.string() + std::string(extension));
}

fs::path partFile(const fs::path& base, std::string_view lowerExtension) {
    fs::path lower = withExtension(base, lowerExtension);
    std::error_code ec;
    if (fs::exists(lower, ec)) {
        return lower;
    }
    fs::path upperPath = withExtension(base, upperAscii(lowerExtension));
    return fs::exists(upperPath, ec) ? upperPath : lower;
}

} // namespace sw::shapepaths
