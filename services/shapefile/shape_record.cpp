#include "services/shapefile/shape_record.h"

#include <shapefil.h>

#include <algorithm>
#include <bit>
#include <cstring>

namespace sw {

namespace {

static_assert(std::endian::native == std::endian::little ||
              std::endian::native == std::endian::big);

// Integers and doubles in the byte order the format gives each field.
template <typename T> void put(std::string& out, T value, std::endian order) {
    unsigned char bytes[sizeof(T)];
    std::memcpy(bytes, &value, sizeof(T));
    if (order != std::endian::native) {
        std::reverse(bytes, bytes + sizeof(T));
    }
    out.append(reinterpret_cast<const char*>(bytes), sizeof(T));
}

template <typename T> T get(const unsigned char* at, std::endian order) {
    unsigned char bytes[sizeof(T)];
    std::memcpy(bytes, at, sizeof(T));
    if (order != std::endian::native) {
        std::reverse(bytes, bytes + sizeof(T));
    }
    T value;
    std::memcpy(&value, bytes, sizeof(T));
    return value;
}

void putLittle32(std::string& out, std::int32_t value) {
    put(out, value, std::endian::little);
}
void putBig32(std::string& out, std::uint32_t value) {
    put(out, value, std::endian::big);
}
void putDouble(std::string& out, double value) {
    put(out, value, std::endian::little);
}

// The smaller and larger of two values as shapelib compares them (a bound that is not a
// number gives way to the value).
double smaller(double bound, double value) {
    return bound < value ? bound : value;
}
double larger(double bound, double value) {
    return bound > value ? bound : value;
}

bool hasZ(ShapeType type) {
    return type == ShapeType::PointZ || type == ShapeType::PolylineZ ||
           type == ShapeType::PolygonZ || type == ShapeType::MultipointZ;
}

// The record's content: its type, then the shape as its kind holds it.
std::string recordContent(ShapeType type, const ShapeParts& parts) {
    std::string content;
    putLittle32(content, static_cast<std::int32_t>(type));
    const ShapeType kind = baseShapeType(type);
    const std::size_t count = parts.x.size();
    if (kind == ShapeType::Point) {
        putDouble(content, parts.x[0]);
        putDouble(content, parts.y[0]);
        if (hasZ(type)) {
            putDouble(content, 0);
        }
        return content;
    }
    double box[4] = {parts.x[0], parts.y[0], parts.x[0], parts.y[0]};
    for (std::size_t i = 0; i < count; ++i) {
        box[0] = smaller(box[0], parts.x[i]);
        box[1] = smaller(box[1], parts.y[i]);
        box[2] = larger(box[2], parts.x[i]);
        box[3] = larger(box[3], parts.y[i]);
    }
    for (double bound : box) {
        putDouble(content, bound);
    }
    if (kind != ShapeType::Multipoint) {
        putLittle32(content, static_cast<std::int32_t>(parts.starts.size()));
    }
    putLittle32(content, static_cast<std::int32_t>(count));
    if (kind != ShapeType::Multipoint) {
        for (int start : parts.starts) {
            putLittle32(content, start);
        }
    }
    for (std::size_t i = 0; i < count; ++i) {
        putDouble(content, parts.x[i]);
        putDouble(content, parts.y[i]);
    }
    if (hasZ(type)) {
        content.append((2 + count) * sizeof(double), '\0'); // the Z range and every Z: 0
    }
    return content;
}

} // namespace

MainFileHeader MainFileHeader::read(const unsigned char (&bytes)[kSize]) {
    MainFileHeader header;
    header.length = std::uint64_t{get<std::uint32_t>(bytes + 24, std::endian::big)} * 2;
    header.typeCode = get<std::int32_t>(bytes + 32, std::endian::little);
    for (std::size_t i = 0; i < header.bounds.size(); ++i) {
        header.bounds[i] = get<double>(bytes + 36 + 8 * i, std::endian::little);
    }
    return header;
}

std::array<unsigned char, MainFileHeader::kSize> MainFileHeader::bytes() const {
    std::string out;
    putBig32(out, 9994);
    out.append(20, '\0');
    putBig32(out, static_cast<std::uint32_t>(length / 2));
    putLittle32(out, 1000);
    putLittle32(out, typeCode);
    for (double bound : bounds) {
        putDouble(out, bound);
    }
    std::array<unsigned char, kSize> result{};
    std::memcpy(result.data(), out.data(), kSize);
    return result;
}

void MainFileHeader::include(const ShapeParts& parts, bool firstShape) {
    if (firstShape) {
        bounds = {parts.x[0], parts.y[0], parts.x[0], parts.y[0], 0, 0, 0, 0};
    }
    for (std::size_t i = 0; i < parts.x.size(); ++i) {
        bounds[0] = smaller(bounds[0], parts.x[i]);
        bounds[1] = smaller(bounds[1], parts.y[i]);
        bounds[2] = larger(bounds[2], parts.x[i]);
        bounds[3] = larger(bounds[3], parts.y[i]);
    }
    // Z and M are 0 for every vertex.
    bounds[4] = smaller(bounds[4], 0);
    bounds[5] = larger(bounds[5], 0);
    bounds[6] = smaller(bounds[6], 0);
    bounds[7] = larger(bounds[7], 0);
}

void orientRings(ShapeType type, ShapeParts& parts) {
    if (baseShapeType(type) != ShapeType::Polygon) {
        return;
    }
    // Each ring by its own role: an outer boundary clockwise, a hole counter-clockwise. Which
    // ring lies inside which decides nothing: a second perimeter drawn inside the first is a
    // perimeter of its own, not a hole.
    for (std::size_t part = 0; part < parts.starts.size(); ++part) {
        const auto first = static_cast<std::size_t>(parts.starts[part]);
        const std::size_t end = part + 1 < parts.starts.size()
                                    ? static_cast<std::size_t>(parts.starts[part + 1])
                                    : parts.x.size();
        double twiceArea = 0; // positive when counter-clockwise
        for (std::size_t i = first; i + 1 < end; ++i) {
            twiceArea += parts.x[i] * parts.y[i + 1] - parts.x[i + 1] * parts.y[i];
        }
        const bool hole = part < parts.roles.size() && parts.roles[part] == RingRole::Hole;
        if ((hole && twiceArea < 0) || (!hole && twiceArea > 0)) {
            std::reverse(parts.x.begin() + static_cast<std::ptrdiff_t>(first),
                         parts.x.begin() + static_cast<std::ptrdiff_t>(end));
            std::reverse(parts.y.begin() + static_cast<std::ptrdiff_t>(first),
                         parts.y.begin() + static_cast<std::ptrdiff_t>(end));
        }
    }
}

std::string shapeRecord(ShapeType type, std::uint32_t recordNumber, const ShapeParts& parts) {
    const std::string content = recordContent(type, parts);
    std::string record;
    record.reserve(8 + content.size());
    putBig32(record, recordNumber);
    putBig32(record, static_cast<std::uint32_t>(content.size() / 2));
    record += content;
    return record;
}

} // namespace sw
