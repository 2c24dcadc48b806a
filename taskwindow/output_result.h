#pragma once
// The outcome of one output operation (one button press, from file dialog to closed file).
// The window shows a failure, so an output the user asked for never fails unnoticed, and
// says nothing on success or when the user cancelled a dialog.

#include <filesystem>
#include <string>
#include <utility>

namespace sw {

struct OutputResult {
    enum class Kind { Cancelled, Written, Failed };
    Kind kind = Kind::Cancelled;
    std::filesystem::path path; // the file written, or the one that failed
    std::string message;        // for Failed: names the file and the cause

    static OutputResult cancelled() { return {}; }
    static OutputResult written(std::filesystem::path file) {
        return {Kind::Written, std::move(file), {}};
    }
    static OutputResult failed(std::filesystem::path file, std::string text) {
        return {Kind::Failed, std::move(file), std::move(text)};
    }
    bool isWritten() const { return kind == Kind::Written; }
    bool isFailed() const { return kind == Kind::Failed; }
};

} // namespace sw
