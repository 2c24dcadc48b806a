#pragma once
// Taking a record back: what a file looked like before a record was added to it, enough to
// put it back exactly (appending only changes the headers, the bytes at the old end, and adds
// bytes after it).

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace sw {

struct FileSnapshot {
    std::filesystem::path path;
    std::uintmax_t size = 0;
    std::string head;
    std::string tail; // the last bytes, which an append may overwrite (the dBASE end mark)
};

// The file's size, first `headBytes` bytes and last bytes; nothing when it cannot be read.
std::optional<FileSnapshot> takeSnapshot(const std::filesystem::path& path, std::size_t headBytes);

// Cuts the file back to its old size and writes the old head and tail back.
bool restoreSnapshot(const FileSnapshot& snapshot);

// The dBASE header's length (field descriptors included), from the file itself.
std::size_t dbfHeaderLength(const std::filesystem::path& path);

} // namespace sw
