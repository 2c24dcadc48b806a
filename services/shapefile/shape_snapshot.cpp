#include "services/shapefile/shape_snapshot.h"

#include "services/shapefile/shape_io.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <fstream>
#include <system_error>
#include <unistd.h>

namespace sw {

namespace fs = std::filesystem;

std::optional<FileSnapshot> takeSnapshot(const fs::path& path, std::size_t headBytes) {
    FileSnapshot snapshot;
    snapshot.path = path;
    std::error_code ec;
    snapshot.size = fs::file_size(path, ec);
    if (ec) {
        return std::nullopt;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    snapshot.head.resize(std::min<std::uintmax_t>(headBytes, snapshot.size));
    in.read(snapshot.head.data(), static_cast<std::streamsize>(snapshot.head.size()));
    std::size_t tailBytes = std::min<std::uintmax_t>(16, snapshot.size);
    snapshot.tail.resize(tailBytes);
    in.seekg(static_cast<std::streamoff>(snapshot.size - tailBytes));
    in.read(snapshot.tail.data(), static_cast<std::streamsize>(tailBytes));
    if (!in) {
        return std::nullopt;
    }
    return snapshot;
}

namespace {

// Writes `bytes` at `offset` unless the file already holds them there. A byte range that never
// changed is left untouched, so putting a file back also works where the file may not grow
// or be written past a size limit.
bool putBack(int fd, std::uint64_t offset, const std::string& bytes) {
    std::string current(bytes.size(), '\0');
    const ssize_t got = ::pread(fd, current.data(), current.size(), static_cast<off_t>(offset));
    if (got == static_cast<ssize_t>(bytes.size()) && current == bytes) {
        return true;
    }
    return shapeio::writeAllAt(fd, offset, bytes.data(), bytes.size());
}

} // namespace

bool restoreSnapshot(const FileSnapshot& snapshot) {
    std::error_code ec;
    fs::resize_file(snapshot.path, snapshot.size, ec);
    if (ec) {
        return false;
    }
    const int fd = ::open(snapshot.path.c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    bool ok = putBack(fd, 0, snapshot.head) &&
              putBack(fd, snapshot.size - snapshot.tail.size(), snapshot.tail);
    ok = ::fsync(fd) == 0 && ok;
    ok = ::close(fd) == 0 && ok;
    return ok;
}

std::size_t dbfHeaderLength(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    unsigned char bytes[10] = {};
    in.read(reinterpret_cast<char*>(bytes), sizeof bytes);
    if (!in) {
        return 32;
    }
    return static_cast<std::size_t>(bytes[8] | (bytes[9] << 8));
}

} // namespace sw
