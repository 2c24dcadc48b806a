#pragma once
// One shape as the main file (.shp) holds it, and the header that the main file and its index
// (.shx) share. Adding a record writes these bytes itself, so that it touches only the new
// record, the new index entry and the headers, whatever the size of the files. The bytes are
// those shapelib writes for the same shape (its SHPWriteObject and SHPWriteHeader): a record
// of a Z type carries Z values of 0, and no record carries M values (shapelib leaves them out
// when it is given none).

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "services/shapefile/shape_parts.h"
#include "services/shapefile/shape_type.h"

namespace sw {

// The 100-byte header of a main file or index: file code 9994, the file's length, version
// 1000, the shape type and the bounds of all shapes.
struct MainFileHeader {
    static constexpr std::size_t kSize = 100;

    std::uint64_t length = kSize; // of the file, in bytes
    std::int32_t typeCode = 0;
    // x min, y min, x max, y max, z min, z max, m min, m max
    std::array<double, 8> bounds{};

    static MainFileHeader read(const unsigned char (&bytes)[kSize]);
    std::array<unsigned char, kSize> bytes() const;

    // The bounds grown to take in `parts` (Z and M as 0, as the record holds them); the
    // bounds of `parts` alone when the file has no shape yet, whatever the header said.
    void include(const ShapeParts& parts, bool firstShape);
};

// Polygon rings turned as the format wants them: outer rings clockwise, holes counter-
// clockwise, each by the role its part was given (the parts' vertices reversed where needed;
// other kinds are left as they are).
void orientRings(ShapeType type, ShapeParts& parts);

// The record (its 8-byte header and its content) of `parts` as shape number `recordNumber`
// (1 for the first) of a file of `type`.
std::string shapeRecord(ShapeType type, std::uint32_t recordNumber, const ShapeParts& parts);

} // namespace sw
