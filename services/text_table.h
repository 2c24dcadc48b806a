#pragma once
// Headerless comma-separated text files read as tables: the rows a statement's text source
// names, each value typed as the database stores it. No SQLite here.
//
// Unquoted values that read wholly as numbers are numbers (whole numbers as integers), every
// other value (and every quoted value, quotes removed) is text, an empty value is NULL. A
// UTF-8 byte order mark before the first value and blank lines are skipped; lines may end in
// CR LF or LF.

#include <cstddef>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "services/db_value.h"

namespace sw {

// What a column of a text table holds as a whole: whole numbers only, numbers only, or
// anything else (all empty counts as text).
enum class TextColumnType { Integer, Real, Text };

struct TextTable {
    std::vector<std::vector<DbValue>> rows;
    std::size_t columns = 0; // the most values any row has

    TextColumnType columnType(std::size_t column) const;
};

// The file as a table; nothing (and a message naming the file in `error`) when it cannot be
// read.
std::optional<TextTable> readTextTable(const std::filesystem::path& file, std::string& error);

// The same file one row at a time, for files too large to hold whole (a vertex file of a
// million lines): `row` gets each row's values in file order, and may stop the reading by
// returning false. False (and a message naming the file in `error`) when the file cannot be
// read or `row` stopped.
bool forEachTextRow(const std::filesystem::path& file,
                    const std::function<bool(std::vector<DbValue>& row)>& row,
                    std::string& error);

// What a table would hold, read without holding its rows: the column count and the type of
// each column (as TextTable::columnType gives it).
struct TextTableShape {
    std::size_t columns = 0;
    std::vector<TextColumnType> types;
};
std::optional<TextTableShape> readTextTableShape(const std::filesystem::path& file,
                                                 std::string& error);

} // namespace sw
