#pragma once
// Adding one record to a shapefile's three files, whole or not at all: the shape at the end of
// the main file (.shp), its entry at the end of the index (.shx), its row at the end of the
// attribute table (.dbf), and the three headers (counts, lengths, bounding boxes). Nothing else
// is read or written, so a record costs the same whatever the size of the files. When any step
// fails the three files are put back byte for byte as they were: cut back to their old lengths,
// their old headers written back.

#include <shapefil.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "services/shapefile/dbf_values.h"
#include "services/shapefile/shape_parts.h"
#include "services/shapefile/shape_record.h"
#include "services/shapefile/shape_snapshot.h"
#include "services/shapefile/shape_type.h"

namespace sw {

class RecordFiles {
public:
    RecordFiles() = default;
    ~RecordFiles() { close(); }
    RecordFiles(const RecordFiles&) = delete;
    RecordFiles& operator=(const RecordFiles&) = delete;

    // Opens the shapefile at `base` (its name without extension) for adding records: the main
    // file and the index directly, the attribute table through shapelib. Empty, or why not,
    // naming the file ("cannot open /d/a.shx: Permission denied").
    std::string open(const std::filesystem::path& base);
    bool isOpen() const { return dbf_ != nullptr; }
    void close();

    // What the open files hold: the main file's header, the number of shapes in the index, and
    // the attribute table (for its columns).
    const MainFileHeader& header() const { return header_; }
    std::uint64_t shapeCount() const { return shapes_; }
    DBFHandle table() const { return dbf_; }

    // Adds the record to the shapefile at `base`, opening it first unless it is open, and
    // closes it. The values are the dBASE texts by column (nothing: empty). Empty on success;
    // otherwise the message, naming `shown` and saying whether the files could be put back.
    std::string write(const std::filesystem::path& base, const std::string& shown, ShapeType type,
                      ShapeParts parts, const std::vector<ShapeFieldInfo>& fields,
                      const std::vector<std::optional<std::string>>& values);

private:
    struct File {
        int fd = -1;
        std::filesystem::path path;
    };
    // The files before the record: lengths and the bytes a record changes.
    struct Before {
        FileSnapshot shp;
        FileSnapshot shx;
        FileSnapshot dbf;
    };

    std::string readHeaders();
    std::string appendShape(const std::string& record, std::uint64_t shpSize);
    // Puts the files back as they were. False when they could not be.
    static bool putBack(const Before& before);

    File shp_;
    File shx_;
    DBFHandle dbf_ = nullptr;
    MainFileHeader header_;
    std::uint64_t shapes_ = 0;
};

} // namespace sw
