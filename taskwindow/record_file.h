#pragma once
// Comma-separated record files as every task window writes them: texts in double quotes,
// numbers bare with "." (15 significant digits, trailing zeros dropped), lines ending in CR LF.
// A created file is written whole or not at all; an append adds a whole line or nothing, so a
// full disk or a vanished folder never leaves a half record behind.

#include "services/base/whole_file.h" // WriteStatus, writeWholeFile

#include <filesystem>
#include <initializer_list>
#include <string>
#include <string_view>

namespace sw {

// One record line, built field by field.
class RecordLine {
public:
    // A quoted text. The entry rule keeps double quotes out of names; should one arrive anyway
    // it is doubled, and a line break becomes a blank, so one record stays one line.
    RecordLine& text(std::string_view value);
    // A bare number: -84.1234, 512345.67, 0.
    RecordLine& number(double value);
    // The fields joined by commas, ending in CR LF.
    std::string str() const;

private:
    std::string line_;
    bool empty_ = true;
    void separate();
};

// A header line: every column name quoted.
std::string headerLine(std::initializer_list<std::string_view> columns);

// Appends `bytes` to `path` (created when missing) in full or not at all: a short write is
// cut back to the previous length (a file created here is removed again).
WriteStatus appendWhole(const std::filesystem::path& path, std::string_view bytes);

} // namespace sw
