#pragma once
// A disk that fills up on demand, as SQLite meets it. While a FullDiskVfs lives it is SQLite's
// default file system, so every database opened then reads and writes through it; once
// fillAt() is given a size, a write that would take a file past it fails with SQLITE_FULL,
// exactly as the system's file layer fails a write to a full disk (ENOSPC). The journal and
// the database alike: whatever SQLite writes last is what finds the disk full.

#include <cstdint>
#include <optional>

struct sqlite3_vfs;

namespace sw::test {

class FullDiskVfs {
public:
    FullDiskVfs();
    ~FullDiskVfs();
    FullDiskVfs(const FullDiskVfs&) = delete;
    FullDiskVfs& operator=(const FullDiskVfs&) = delete;

    // From now on no file grows past `bytes`; nothing: the disk has room again.
    void fillAt(std::optional<std::int64_t> bytes) { room_ = bytes; }
    std::optional<std::int64_t> room() const { return room_; }

private:
    sqlite3_vfs* vfs_;
    std::optional<std::int64_t> room_;
};

} // namespace sw::test
