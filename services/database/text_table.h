#pragma once
// Headerless comma-separated text files read as tables: the rows a statement's text source
// names, each value typed as the database stores it. No SQLite here.
//
// Records follow the common CSV rules: fields are separated by commas and records by line
// ends (CR LF or LF); a field in double quotes may hold commas, line breaks and doubled quotes
// (one quote each). Blanks around a field go. A UTF-8 byte order mark before the first field
// and empty lines are skipped. Anything else that is malformed (a quote left open, text after
// a closing quote, a quote inside an unquoted field) is refused with its line number, never
// read as something else.
//
// Values: an empty unquoted field is NULL. A quoted field is text and keeps every character.
// An unquoted field becomes a number only where every value of its column is a number
// (services/number_reading.h), whole numbers as integers; a column with any other value
// keeps every value as the text it was written as ("1e3" stays "1e3" beside a word), and so
// does a column holding a whole number that a 64-bit integer (or, beside fractions, a double)
// cannot hold exactly, or a number written with a leading zero: "00501" is a ZIP code, and
// its zeros stay ("0" itself, "-0" and "0.5" are plain numbers).

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <istream>
#include <optional>
#include <string>
#include <vector>

#include "services/database/db_value.h"

namespace sw {

struct CsvField {
    std::string text;
    bool quoted = false;

    bool operator==(const CsvField&) const = default;
};

// Reads the records of a comma-separated text one at a time, so a file of any size needs
// memory for one record and one block of the text. The block size only matters to tests,
// which read through tiny blocks to reach every place a record can be cut.
class CsvReader {
public:
    explicit CsvReader(std::istream& in, std::size_t blockSize = 1 << 16);

    // The next record's fields. False at the end of the text, or when the record is malformed:
    // then error() says what is wrong and on which line. The vector's strings are reused from
    // record to record.
    bool next(std::vector<CsvField>& fields);
    const std::string& error() const { return error_; }

private:
    // At least `count` characters ahead of the reader, unless the text ends first; how many.
    std::size_t ensure(std::size_t count);
    int peek() { return pos_ < end_ || ensure(1) > 0 ? static_cast<unsigned char>(*pos_) : kEnd; }
    bool lineEnd();
    bool crLf(); // a CR LF at the reader's position (nothing consumed)
    bool quoted(CsvField& field);
    bool unquoted(CsvField& field);
    bool fail(std::size_t line, const std::string& what);

    static constexpr int kEnd = -1;
    std::streambuf* in_;
    std::vector<char> block_;
    const char* pos_ = nullptr; // the next character of block_
    const char* end_ = nullptr; // the end of what block_ holds
    std::size_t line_ = 1;      // the line the reader stands on
    bool started_ = false;
    std::string error_;
};

// What a column of a text table holds as a whole.
enum class TextColumnType { Integer, Real, Text };

// An empty field without quotes: a NULL in every column type.
inline bool isNullField(const CsvField& field) {
    return !field.quoted && field.text.empty();
}

// The value a field gives in a column of a type, without its text: a Text value is the
// field's own text.
struct FieldValue {
    DbValue::Type type = DbValue::Type::Null;
    std::int64_t whole = 0; // an Integer value
    double number = 0;      // a Real value
};

FieldValue fieldValue(const CsvField& field, TextColumnType type);

// The value a field gives in a column of that type.
DbValue typedValue(const CsvField& field, TextColumnType type);

// The shape of a text table, from one pass over it: how many columns (the most values any
// record has), each column's type and how many rows.
struct TextTableShape {
    std::vector<TextColumnType> types; // one per column
    std::size_t rows = 0;

    std::size_t columns() const { return types.size(); }
};

// Learns a text table's shape record by record, as the records go by.
class TextShapeLearner {
public:
    void observe(const std::vector<CsvField>& fields);
    // Observes one field of the record being observed (fields in column order, then
    // endRecord()) and gives its value in a column of `type`: its number is read once for both.
    FieldValue observe(std::size_t column, const CsvField& field, TextColumnType type);
    void endRecord() { ++rows_; }
    TextTableShape shape() const;

private:
    // What the values of one column seen so far allow it to be.
    struct Column {
        bool any = false;         // a value that is not NULL
        bool allNumbers = true;   // every value reads as a number
        bool allWhole = true;     // every value is a whole number a 64-bit integer holds
        bool beyondExact = false; // a whole number a double cannot hold exactly

        FieldValue observe(const CsvField& field, TextColumnType valueType);
        TextColumnType type() const;
    };
    std::vector<Column> columns_;
    std::size_t rows_ = 0;
};

// The shape of the text's first `most` records (all of them when not given).
std::optional<TextTableShape> scanTextTable(std::istream& in, std::string& error,
                                            std::size_t most = static_cast<std::size_t>(-1));

// The whole table in memory (small files; the database streams instead).
struct TextTable {
    TextTableShape shape;
    std::vector<std::vector<DbValue>> rows;

    std::size_t columns() const { return shape.columns(); }
    TextColumnType columnType(std::size_t column) const { return shape.types.at(column); }
};

std::optional<TextTable> readTextTable(std::istream& in, std::string& error);

// The file as a table; nothing (and a message naming the file in `error`) when it cannot be
// read or is malformed.
std::optional<TextTable> readTextTable(const std::filesystem::path& file, std::string& error);

} // namespace sw
