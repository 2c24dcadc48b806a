#include "services/shapefile/record_files.h"

#include <cerrno>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <limits>
#include <sys/stat.h>
#include <unistd.h>

#include "services/shapefile/shape_check.h"
#include "services/shapefile/shape_io.h"
#include "services/shapefile/shape_paths.h"

namespace sw {

namespace fs = std::filesystem;
using shapeio::hooks;
using shapeio::WatchScope;
using shapepaths::partFile;
using shapepaths::withExtension;

namespace {

void todayInto(DBFHandle dbf) {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    DBFSetLastModifiedDate(dbf, local.tm_year, local.tm_mon + 1, local.tm_mday);
}

// shapelib takes each text as a void*, but only reads it.
bool writeValues(DBFHandle dbf, int row, const std::vector<ShapeFieldInfo>& fields,
                 const std::vector<std::optional<std::string>>& values) {
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const int field = static_cast<int>(i);
        const bool ok = values[i] ? DBFWriteAttributeDirectly(
                                        dbf, row, field, const_cast<char*>(values[i]->c_str())) != 0
                                  : DBFWriteNULLAttribute(dbf, row, field) != 0;
        if (!ok) {
            return false;
        }
    }
    return true;
}

// An index entry: where the record starts and how long its content is, in 16-bit words.
std::string indexEntry(std::uint64_t offset, std::size_t recordSize) {
    const std::uint32_t words[2] = {static_cast<std::uint32_t>(offset / 2),
                                    static_cast<std::uint32_t>((recordSize - 8) / 2)};
    std::string entry;
    for (std::uint32_t word : words) {
        for (int shift = 24; shift >= 0; shift -= 8) {
            entry.push_back(static_cast<char>((word >> shift) & 0xFF));
        }
    }
    return entry;
}

std::string asText(const std::array<unsigned char, MainFileHeader::kSize>& bytes) {
    return std::string(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

// The size of an open file, or nothing.
std::optional<std::uint64_t> sizeOf(int fd) {
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        return std::nullopt;
    }
    return static_cast<std::uint64_t>(info.st_size);
}

} // namespace

std::string RecordFiles::open(const fs::path& base) {
    close();
    shp_.path = partFile(base, ".shp");
    shx_.path = partFile(base, ".shx");
    for (File* file : {&shp_, &shx_}) {
        file->fd = ::open(file->path.c_str(), O_RDWR | O_CLOEXEC);
        if (file->fd < 0) {
            std::string reason = "cannot open " + file->path.string() + ": " + std::strerror(errno);
            close();
            return reason;
        }
    }
    WatchScope watch;
    dbf_ = DBFOpenLL(withExtension(base, ".dbf").c_str(), "rb+", hooks());
    if (dbf_ == nullptr || watch.failed()) {
        std::string reason = watch.openReason(std::strerror(errno));
        close();
        return reason;
    }
    return readHeaders();
}

std::string RecordFiles::readHeaders() {
    unsigned char bytes[MainFileHeader::kSize];
    if (!shapeio::readAllAt(shp_.fd, 0, bytes, sizeof bytes)) {
        return "cannot read " + shp_.path.string();
    }
    header_ = MainFileHeader::read(bytes);
    const auto indexSize = sizeOf(shx_.fd);
    if (!indexSize || *indexSize < MainFileHeader::kSize) {
        return "cannot read " + shx_.path.string();
    }
    shapes_ = (*indexSize - MainFileHeader::kSize) / 8;
    return {};
}

void RecordFiles::close() {
    if (dbf_ != nullptr) {
        DBFClose(dbf_);
        dbf_ = nullptr;
    }
    for (File* file : {&shp_, &shx_}) {
        if (file->fd >= 0) {
            ::close(file->fd);
            file->fd = -1;
        }
    }
}

bool RecordFiles::putBack(const Before& before) {
    return restoreSnapshot(before.shp) && restoreSnapshot(before.shx) &&
           restoreSnapshot(before.dbf);
}

std::string RecordFiles::appendShape(const std::string& record, std::uint64_t shpSize) {
    const std::uint64_t shxSize = MainFileHeader::kSize + shapes_ * 8;
    MainFileHeader header = header_;
    header.length = shpSize + record.size();
    if (header.length > std::numeric_limits<std::uint32_t>::max()) {
        return shp_.path.string() + " would grow past the 4 GB a shapefile can hold";
    }
    std::string reason = shapeio::writeAt(shp_.fd, shpSize, record, shp_.path);
    if (reason.empty()) {
        reason = shapeio::writeAt(shx_.fd, shxSize, indexEntry(shpSize, record.size()), shx_.path);
    }
    // The headers last: until they are written, they describe the files as they were.
    if (reason.empty()) {
        reason = shapeio::writeAt(shp_.fd, 0, asText(header.bytes()), shp_.path);
    }
    if (reason.empty()) {
        header.length = shxSize + 8;
        reason = shapeio::writeAt(shx_.fd, 0, asText(header.bytes()), shx_.path);
    }
    return reason;
}

std::string RecordFiles::write(const fs::path& base, const std::string& shown, ShapeType type,
                               ShapeParts parts, const std::vector<ShapeFieldInfo>& fields,
                               const std::vector<std::optional<std::string>>& values) {
    std::string reason = isOpen() ? readHeaders() : open(base);
    const auto shpSize = reason.empty() ? sizeOf(shp_.fd) : std::nullopt;
    if (!shpSize) {
        close();
        return "Record not written to " + shown + ": " +
               (reason.empty() ? "cannot read " + shp_.path.string() : reason);
    }
    const ShapefileParts files{shp_.path, shx_.path, partFile(base, ".dbf")};
    auto shpBefore = takeSnapshot(files.shp, MainFileHeader::kSize);
    auto shxBefore = takeSnapshot(files.shx, MainFileHeader::kSize);
    auto dbfBefore = takeSnapshot(files.dbf, dbfHeaderLength(files.dbf));
    if (!shpBefore || !shxBefore || !dbfBefore) {
        close();
        return "Cannot read " + shown + " before writing to it";
    }
    const Before before{std::move(*shpBefore), std::move(*shxBefore), std::move(*dbfBefore)};

    orientRings(type, parts);
    header_.include(parts, shapes_ == 0);
    WatchScope watch;
    reason =
        appendShape(shapeRecord(type, static_cast<std::uint32_t>(shapes_ + 1), parts), *shpSize);
    if (reason.empty()) {
        const int row = DBFGetRecordCount(dbf_);
        if (static_cast<std::uint64_t>(row) != shapes_ || !writeValues(dbf_, row, fields, values)) {
            reason = watch.reason("the record could not be written");
        }
        todayInto(dbf_);
    }
    // Closing writes the row and the table's header: the files are complete from here on.
    close();
    if (reason.empty() && watch.failed()) {
        reason = watch.reason({});
    }
    // Whatever shapelib did not report, the files must still agree with one another.
    if (std::string damage = reason.empty() ? shapefileDamage(files) : std::string();
        !damage.empty()) {
        reason = "the files disagree: " + damage;
    }
    if (reason.empty()) {
        return {};
    }
    const bool restored = putBack(before);
    return "Record not written to " + shown + ": " + reason +
           (restored ? "" : " (and the files could not be put back as they were)");
}

} // namespace sw
