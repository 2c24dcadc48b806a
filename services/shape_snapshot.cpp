#include "services/shape_snapshot.h"

#include <algorithm>
#include <fstream>
#include <system_error>

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

bool restoreSnapshot(const FileSnapshot& snapshot) {
    std::error_code ec;
    fs::resize_file(snapshot.path, snapshot.size, ec);
    if (ec) {
        return false;
    }
    std::fstream out(snapshot.path, std::ios::binary | std::ios::in | std::ios::out);
    out.write(snapshot.head.data(), static_cast<std::streamsize>(snapshot.head.size()));
    out.seekp(static_cast<std::streamoff>(snapshot.size - snapshot.tail.size()));
    out.write(snapshot.tail.data(), static_cast<std::streamsize>(snapshot.tail.size()));
    out.flush();
    return static_cast<bool>(out);
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
