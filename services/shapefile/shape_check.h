#pragma once
// Whether a shapefile's three files agree with one another before a record is added to them:
// an append trusts the headers it finds (where the next shape goes, how many rows there are),
// so headers that disagree with the files would let it overwrite old records or grow a file to
// gigabytes. Read with plain file access, before shapelib sees the files.

#include <filesystem>
#include <string>

namespace sw {

struct ShapefileParts {
    std::filesystem::path shp;
    std::filesystem::path shx;
    std::filesystem::path dbf;
};

// How much of the index a check reads. An append relies on the headers, the sizes and the last
// index entry (a new record goes at the end of each file, whatever the entries before it say),
// so its check reads those alone and costs the same for a file of any size; every entry is
// read on request (the fuzz target's judgement of an append's result).
enum class IndexCheck { LastEntry, EveryEntry };

// Empty when the files agree; otherwise what is wrong, in plain words naming the file ("the
// index a.shx lists 5 shapes but a.dbf holds 4 rows"). Checked: the main file's header (file
// code, length equal to the file's size), the index (header, whole entries, the last entry or
// every entry inside the main file, where the main file's record header of the last record
// says the same length), the attribute table (header and field descriptors, size for its row
// count and row length), and the same count of shapes and rows.
std::string shapefileDamage(const ShapefileParts& parts,
                            IndexCheck indexCheck = IndexCheck::LastEntry);

} // namespace sw
