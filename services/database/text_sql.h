#pragma once
// The statement forms of the program's text-file driver, turned into what SQLite runs: the
// source reference that names a headerless text file as a table, "SELECT ... INTO table FROM"
// (a new table from the selected rows), and quoting of names.
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

// The statement's text source, found as a token of the statement (never inside a string
// literal, a quoted name or a comment). The source must end the statement, so its file name is
// everything from ".[" to the statement's last "]" and is never read as SQL; and the statement
// must be one of the forms that read a text file: SELECT ... INTO table FROM source, or
// INSERT INTO table ... SELECT ... FROM source. Nothing when the statement names no text file,
// or (with a message in `error`) when it names one outside those forms.
std::optional<TextSourceRef> findTextSource(std::string_view sql, std::string& error);

} // namespace sw
