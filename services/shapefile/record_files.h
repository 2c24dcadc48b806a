#pragma once
// Adding one record to a shapefile's three files, whole or not at all: the shape to the main
// file (.shp) and the index (.shx), the values to the attribute table (.dbf), the headers
// (counts, lengths, bounding boxes) brought up to date. When any step fails the three files
// are put back byte for byte as they were, so callers may drop the writer after any record.

#include <shapefil.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "services/shapefile/dbf_values.h"
#include "services/shapefile/shape_parts.h"
#include "services/shapefile/shape_snapshot.h"
#include "services/shapefile/shape_type.h"

namespace sw {

class RecordFiles {
public:
    RecordFiles() = default;
    ~RecordFiles() { close(); }
    RecordFiles(const RecordFiles&) = delete;
    RecordFiles& operator=(const RecordFiles&) = delete;

    // Open for update from an append's opening to the end of the next record: opening reads
    // the whole index, so it is read once per append, not twice. A record written without
    // them opens them itself.
    SHPHandle shp = nullptr;
    DBFHandle dbf = nullptr;

    void close();

    // Adds the record to the shapefile at `base` (its name without extension). The values are
    // the dBASE texts by column (nothing: empty). Empty on success; otherwise the message,
    // naming `shown` and saying whether the files could be put back.
    std::string write(const std::filesystem::path& base, const std::string& shown, ShapeType type,
                      const ShapeParts& parts, const std::vector<ShapeFieldInfo>& fields,
                      const std::vector<std::optional<std::string>>& values);

private:
    // Takes the last record written back: the files as they were before it. False when they
    // could not be put back.
    bool takeBack();

    // The files before the last record: lengths and the bytes a record changes.
    struct Before {
        FileSnapshot shp;
        FileSnapshot shx;
        FileSnapshot dbf;
    };
    std::optional<Before> before_;
};

} // namespace sw
