#include "taskwindow/projection_file.h"

#include "services/base/program_folder.h"

#include <fstream>
#include <sstream>

namespace sw {

namespace fs = std::filesystem;

InstalledProjection installedProjection(const std::string& projectionFile) {
    InstalledProjection projection{programFolder() / projectionFile, std::nullopt};
    std::ifstream in(projection.source, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    if (in) {
        projection.text = text.str();
    }
    return projection;
}

std::string missingProjectionMessage(const fs::path& shapefile,
                                     const InstalledProjection& projection) {
    return shapefile.string() +
           " was written without its projection file: " + projection.source.string() +
           " is missing";
}

} // namespace sw
