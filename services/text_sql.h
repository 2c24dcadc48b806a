#pragma once
// The statement forms of the program's text-file driver, turned into what SQLite runs: the
// source reference that names a headerless text file as a table, "SELECT ... INTO table FROM"
// (a new table from the selected rows), the target table of an insert, and quoting of names.
// Pure text work: nothing here opens a database.

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace sw {

// Quotes a table or column name for SQL text ("NAME" -> [NAME]); refuses (returns nothing)
// a name that cannot be quoted safely.
std::optional<std::string> quoteName(std::string_view name);

// "INSERT INTO name ..." gives name (brackets removed); any other statement nothing.
std::optional<std::string> insertTarget(std::string_view sql);

// "SELECT cols INTO table FROM rest" as SQLite says it: "CREATE TABLE table AS SELECT cols FROM
// rest". Any other statement comes back unchanged.
std::string rewriteSelectInto(const std::string& sql);

// A text file named as a table: [Text;Database=FOLDER;HDR=NO].[FILE], standing at
// [begin, end) of the statement.
struct TextSourceRef {
    std::size_t begin = 0;
    std::size_t end = 0;
    std::filesystem::path file;
};

// The first text source of the statement from `from` on. Nothing when there is none, or (with
// a message in `error`) when the reference is malformed or names no existing file.
std::optional<TextSourceRef> nextTextSource(std::string_view sql, std::size_t from,
                                            std::string& error);

} // namespace sw
