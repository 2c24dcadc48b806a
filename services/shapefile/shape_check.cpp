#include "services/shapefile/shape_check.h"

#include "services/shapefile/shape_io.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <fcntl.h>
#include <system_error>
#include <unistd.h>
#include <vector>

namespace sw {
namespace {

namespace fs = std::filesystem;

std::uint32_t bigEndian32(const unsigned char* p) {
    return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) |
           std::uint32_t{p[3]};
}

std::uint32_t littleEndian32(const unsigned char* p) {
    return std::uint32_t{p[0]} | (std::uint32_t{p[1]} << 8) | (std::uint32_t{p[2]} << 16) |
           (std::uint32_t{p[3]} << 24);
}

std::uint32_t littleEndian16(const unsigned char* p) {
    return std::uint32_t{p[0]} | (std::uint32_t{p[1]} << 8);
}

// A file opened for reading at given offsets: one system call per read, no buffer to refill,
// since the checks read a few bytes here and there.
class ReadOnlyFile {
public:
    explicit ReadOnlyFile(const fs::path& path) : fd_(::open(path.c_str(), O_RDONLY | O_CLOEXEC)) {}
    ~ReadOnlyFile() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    ReadOnlyFile(const ReadOnlyFile&) = delete;
    ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;

    bool isOpen() const { return fd_ >= 0; }

    // Reads `count` bytes at `offset`; false when the file is shorter or unreadable.
    bool readAt(std::uint64_t offset, unsigned char* bytes, std::size_t count) const {
        return shapeio::readAllAt(fd_, offset, bytes, count);
    }

private:
    int fd_;
};

constexpr std::uint32_t kFileCode = 9994;
constexpr std::size_t kMainHeader = 100;

// The header of a main or index file; its length field counts 16-bit words.
std::string checkHeader(const ReadOnlyFile& in, const fs::path& file, std::uint64_t size,
                        std::uint32_t& shapeType) {
    unsigned char header[kMainHeader];
    if (size < kMainHeader || !in.readAt(0, header, kMainHeader)) {
        return file.filename().string() + " is shorter than a shapefile header";
    }
    if (bigEndian32(header) != kFileCode) {
        return file.filename().string() + " does not start as a shapefile";
    }
    const std::uint64_t declared = std::uint64_t{bigEndian32(header + 24)} * 2;
    if (declared != size) {
        return file.filename().string() + " says it is " + std::to_string(declared) +
               " bytes long but is " + std::to_string(size);
    }
    shapeType = littleEndian32(header + 32);
    return {};
}

// Index entries must point at records inside the main file, and the main file's own header of
// the last record (the one that ends furthest in) must give the same length. Records may stand
// in any order, with gaps between them: programs that edit shapefiles move a grown record to
// the end. A new record goes at the end of the file. The index is read in large pieces.
std::string checkIndex(const ReadOnlyFile& shp, const ReadOnlyFile& shx,
                       const ShapefileParts& parts, std::uint64_t shpSize, std::uint64_t shapes,
                       IndexCheck indexCheck) {
    auto mismatch = [&](std::uint64_t shape) {
        return parts.shx.filename().string() + " does not match " + parts.shp.filename().string() +
               " at shape " + std::to_string(shape + 1);
    };
    std::vector<unsigned char> chunk(8 * 8192);
    std::uint64_t lastOffset = 0;
    std::uint64_t lastLength = 0;
    std::uint64_t lastShape = 0;
    const std::uint64_t firstChecked =
        indexCheck == IndexCheck::EveryEntry || shapes == 0 ? 0 : shapes - 1;
    for (std::uint64_t first = firstChecked; first < shapes; first += 8192) {
        const std::uint64_t count = std::min<std::uint64_t>(8192, shapes - first);
        if (!shx.readAt(kMainHeader + first * 8, chunk.data(),
                        static_cast<std::size_t>(count * 8))) {
            return "cannot read " + parts.shx.filename().string();
        }
        for (std::uint64_t i = 0; i < count; ++i) {
            const unsigned char* entry = chunk.data() + i * 8;
            const std::uint64_t offset = std::uint64_t{bigEndian32(entry)} * 2;
            const std::uint64_t length = std::uint64_t{bigEndian32(entry + 4)} * 2;
            if (offset < kMainHeader || offset + 8 + length > shpSize) {
                return mismatch(first + i);
            }
            if (offset >= lastOffset) {
                lastOffset = offset;
                lastLength = length;
                lastShape = first + i;
            }
        }
    }
    unsigned char record[8];
    if (shapes > 0 && (!shp.readAt(lastOffset, record, 8) ||
                       bigEndian32(record + 4) * std::uint64_t{2} != lastLength)) {
        return mismatch(lastShape);
    }
    return {};
}

// The attribute table: 32-byte header, 32-byte field descriptors ended by 0x0D, then the rows
// (and an optional end-of-file mark). Its row count in `rows`.
std::string checkTable(const ReadOnlyFile& dbf, const fs::path& path, std::uint64_t dbfSize,
                       std::uint64_t& rows) {
    const std::string dbfName = path.filename().string();
    unsigned char header[32];
    if (dbfSize < 32 || !dbf.readAt(0, header, 32)) {
        return dbfName + " is shorter than a table header";
    }
    rows = littleEndian32(header + 4);
    const std::uint64_t headerLength = littleEndian16(header + 8);
    const std::uint64_t rowLength = littleEndian16(header + 10);
    if (headerLength < 33 || headerLength > dbfSize || rowLength < 1) {
        return dbfName + " has a damaged header";
    }
    std::vector<unsigned char> descriptors(static_cast<std::size_t>(headerLength - 32));
    if (!dbf.readAt(32, descriptors.data(), descriptors.size())) {
        return "cannot read " + dbfName;
    }
    std::uint64_t widths = 1; // the deletion flag
    std::size_t at = 0;
    for (; at + 32 <= descriptors.size() && descriptors[at] != 0x0D; at += 32) {
        widths += descriptors[at + 16];
    }
    if (at >= descriptors.size() || descriptors[at] != 0x0D || widths != rowLength) {
        return dbfName + " has damaged column descriptions";
    }
    const std::uint64_t expected = headerLength + rows * rowLength;
    if (dbfSize != expected && dbfSize != expected + 1) {
        return dbfName + " should be " + std::to_string(expected) + " bytes long for its " +
               std::to_string(rows) + " rows but is " + std::to_string(dbfSize);
    }
    return {};
}

// The sizes of the three files, or why one cannot be read.
std::string sizesOf(const ShapefileParts& parts, std::uint64_t sizes[3]) {
    const fs::path* files[3] = {&parts.shp, &parts.shx, &parts.dbf};
    for (int i = 0; i < 3; ++i) {
        std::error_code ec;
        sizes[i] = fs::file_size(*files[i], ec);
        if (ec) {
            return "cannot read " + files[i]->filename().string() + ": " + ec.message();
        }
    }
    return {};
}

} // namespace

std::string shapefileDamage(const ShapefileParts& parts, IndexCheck indexCheck) {
    std::uint64_t sizes[3] = {};
    if (auto problem = sizesOf(parts, sizes); !problem.empty()) {
        return problem;
    }
    const auto [shpSize, shxSize, dbfSize] = sizes;
    const ReadOnlyFile shp(parts.shp);
    const ReadOnlyFile shx(parts.shx);
    const ReadOnlyFile dbf(parts.dbf);
    if (!shp.isOpen() || !shx.isOpen() || !dbf.isOpen()) {
        return "cannot read the files of " + parts.shp.filename().string();
    }

    std::uint32_t shpType = 0;
    std::uint32_t shxType = 0;
    if (auto problem = checkHeader(shp, parts.shp, shpSize, shpType); !problem.empty()) {
        return problem;
    }
    if (auto problem = checkHeader(shx, parts.shx, shxSize, shxType); !problem.empty()) {
        return problem;
    }
    if (shpType != shxType) {
        return parts.shp.filename().string() + " and " + parts.shx.filename().string() +
               " give different shape types";
    }
    if ((shxSize - kMainHeader) % 8 != 0) {
        return parts.shx.filename().string() + " does not hold whole index entries";
    }
    const std::uint64_t shapes = (shxSize - kMainHeader) / 8;
    if (auto problem = checkIndex(shp, shx, parts, shpSize, shapes, indexCheck); !problem.empty()) {
        return problem;
    }
    std::uint64_t rows = 0;
    if (auto problem = checkTable(dbf, parts.dbf, dbfSize, rows); !problem.empty()) {
        return problem;
    }
    if (rows != shapes) {
        return parts.shx.filename().string() + " lists " + std::to_string(shapes) + " shapes but " +
               parts.dbf.filename().string() + " holds " + std::to_string(rows) + " rows";
    }
    return {};
}

} // namespace sw
