#pragma once
// File access for the shapefile writer. shapelib reports most write failures only through its
// error hook (its header writers return nothing), so every read and write it makes goes through
// these hooks, which note the first failure of the operation under way. The writer's own
// writes (records, index entries, headers, the projection file) go through writeAt and
// writeNewFile. Both ways pass one place that lets a test make writes fail after a number of
// bytes, as a full disk would.

#include <shapefil.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace sw::shapeio {

// The whole of `count` bytes at `offset` of an open file descriptor, retried where a call stops
// short; false when the file ends first or a call fails. For the checks, and for putting files
// back after a failure (never stopped by the test's limit).
bool readAllAt(int fd, std::uint64_t offset, void* bytes, std::size_t count);
bool writeAllAt(int fd, std::uint64_t offset, const void* bytes, std::size_t count);

// Writes `bytes` at `offset` of the open file `fd` (named `path` in the message), under the
// test's write limit like every write through the hooks. Empty on success, otherwise why not.
std::string writeAt(int fd, std::uint64_t offset, std::string_view bytes,
                    const std::filesystem::path& path);

// Writes a new file holding `bytes` (one that does not exist yet), under the test's write limit
// like every write through the hooks. Empty on success, otherwise why not, naming the file.
std::string writeNewFile(const std::filesystem::path& path, std::string_view bytes);

// The hooks to pass to shapelib's ...LL functions.
SAHooks* hooks();

// Tests only: writes fail once this many more bytes have been written (nothing: no limit).
void setWriteLimit(std::optional<long long> bytes);

struct IoWatch {
    bool failed = false;
    std::string message;
    std::string openFailure; // the first file that did not open, and why

    void note(std::string text) {
        if (!failed) {
            failed = true;
            message = std::move(text);
        }
    }
};

// Watches the shapelib calls of one operation.
class WatchScope {
public:
    WatchScope();
    ~WatchScope();
    WatchScope(const WatchScope&) = delete;
    WatchScope& operator=(const WatchScope&) = delete;

    bool failed() const { return watch_.failed; }
    // The first failure; else why the first file that did not open failed; else `fallback`.
    std::string reason(const std::string& fallback) const {
        if (watch_.failed) {
            return watch_.message;
        }
        return watch_.openFailure.empty() ? fallback : watch_.openFailure;
    }
    // Where a file did not open: why, in the system's words, before shapelib's own summary
    // ("Unable to open ...", which gives no reason).
    std::string openReason(const std::string& fallback) const {
        return watch_.openFailure.empty() ? reason(fallback) : watch_.openFailure;
    }
    void forgetOpenFailure() { watch_.openFailure.clear(); }

private:
    IoWatch watch_;
    IoWatch* previous_;
};

} // namespace sw::shapeio
