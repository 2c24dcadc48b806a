#pragma once
// The names of a shapefile's parts (.shp, .shx, .dbf, .cpg) from the name a user gives.

#include <filesystem>
#include <string_view>

namespace sw::shapepaths {

// The shapefile's name without extension: "x.shp", "x.SHP" and "x" all name x.
std::filesystem::path baseOf(const std::filesystem::path& path);

// base + extension, as given (".shp" -> "x.shp").
std::filesystem::path withExtension(const std::filesystem::path& base, std::string_view extension);

// The existing file of a shapefile part: the lower-case extension first, as shapelib looks for
// them, then the upper-case one; the lower-case name when neither exists.
std::filesystem::path partFile(const std::filesystem::path& base, std::string_view lowerExtension);

} // namespace sw::shapepaths
