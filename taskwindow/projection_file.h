#pragma once
// The projection file beside a new shapefile: the text of an installed .prj from the
// program's folder, which the shapefile writer puts in place with the shapefile's other files.

#include <filesystem>
#include <optional>
#include <string>

namespace sw {

struct InstalledProjection {
    std::filesystem::path source;    // programFolder()/projectionFile
    std::optional<std::string> text; // nothing when the file is missing or unreadable
};

// The installed projection file of that name ("qv_albers.prj", "WGS1984.prj").
InstalledProjection installedProjection(const std::string& projectionFile);

// What a user is told when a shapefile had to be written without it: the shapefile itself is
// complete, and this says what it lacks.
std::string missingProjectionMessage(const std::filesystem::path& shapefile,
                                     const InstalledProjection& projection);

} // namespace sw
