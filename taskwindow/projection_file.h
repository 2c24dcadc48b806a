#pragma once
// The projection file beside a new shapefile: an installed .prj copied from the program's
// folder under the shapefile's name.

#include "taskwindow/output_result.h"

#include <filesystem>
#include <string>

namespace sw {

// Copies programFolder()/projectionFile to the shapefile's path with ".prj" in place of its
// extension (only the file name's extension changes, so a folder whose name holds ".shp" is
// left alone), replacing an older projection file whole. Written: the shapefile's path.
OutputResult copyProjectionFile(const std::filesystem::path& shapefile,
                                const std::string& projectionFile);

} // namespace sw
