#pragma once
// Values as a dBASE attribute table holds them: the column an AddField type code gives, and
// each value's text in its column (numbers right-aligned with their decimals, dates as
// YYYYMMDD, yes/no as T or F, texts cut to the column at a UTF-8 character boundary).

#include <optional>
#include <string>
#include <string_view>

#include "services/base/field_types.h"
#include "services/shapefile/code_page.h"

namespace sw {

// A calendar date for a date column.
struct ShapeDate {
    int year = 0;
    int month = 0; // 1..12
    int day = 0;   // 1..31

    bool isValid() const;
    bool operator==(const ShapeDate&) const = default;
};

// One attribute column as the file holds it.
struct ShapeFieldInfo {
    std::string name;
    char dbfType = 'C'; // C, N, F, D, L (others as the file says)
    int width = 0;
    int decimals = 0;

    bool operator==(const ShapeFieldInfo&) const = default;
};

// 1 to 10 letters, digits or underscores.
bool validFieldName(std::string_view name);

// The dBASE column for a field of that type (a value outside the enumeration is refused with a
// message in `error`).
std::optional<ShapeFieldInfo> columnFor(std::string_view name, FieldType type, int width,
                                        std::string& error);

// The text a column stores for a value; nothing for an empty value, or (with a message in
// `error`) when the value cannot go into the column.
// Texts go into a text column in the file's code page.
std::optional<std::string> encodeText(const ShapeFieldInfo& column, std::string_view text,
                                      const CodePage& codePage, std::string& error);
std::optional<std::string> encodeNumber(const ShapeFieldInfo& column, double number,
                                        std::string& error);
std::optional<std::string> encodeDate(const ShapeFieldInfo& column, ShapeDate date,
                                      std::string& error);

} // namespace sw
