#pragma once
// File access for shapelib. shapelib reports most write failures only through its error hook
// (its header writers return nothing), so every read and write goes through these hooks, which
// note the first failure of the operation under way. The same place lets a test make writes
// fail after a number of bytes, as a full disk would.

#include <shapefil.h>

#include <optional>
#include <string>

namespace sw::shapeio {

// The hooks to pass to shapelib's ...LL functions.
SAHooks* hooks();

// Tests only: writes fail once this many more bytes have been written (nothing: no limit).
void setWriteLimit(std::optional<long long> bytes);

struct IoWatch {
    bool failed = false;
    std::string message;

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
    std::string reason(const std::string& fallback) const {
        return watch_.failed ? watch_.message : fallback;
    }

private:
    IoWatch watch_;
    IoWatch* previous_;
};

} // namespace sw::shapeio
