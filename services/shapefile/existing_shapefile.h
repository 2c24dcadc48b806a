#pragma once
// Opening a shapefile made earlier (by this program or another) to add records to it: its
// three files are checked to be there, to agree with one another and to be writable, and
// what an append needs is read from them.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "services/shapefile/code_page.h"
#include "services/shapefile/dbf_values.h"
#include "services/shapefile/record_files.h"
#include "services/shapefile/shape_type.h"

namespace sw {

struct ExistingShapefile {
    ShapeType shapeType = ShapeType::Point;
    std::vector<ShapeFieldInfo> fields; // the attribute columns, in file order
    CodePage codePage;                  // of the texts in the attribute table
};

// The shapefile at `base` (its name without extension), opened for update into `files`.
// Nothing, with a message naming the shapefile in `error`, when it cannot take records.
std::optional<ExistingShapefile> openExistingShapefile(const std::filesystem::path& base,
                                                       RecordFiles& files, std::string& error);

} // namespace sw
