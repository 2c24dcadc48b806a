#pragma once
// The values of the program's database: one value read from a row or bound to a statement, and
// the rows of one query. Plain value types, no SQLite here, so the text-table reader and the
// callers use them without a connection.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace sw {

// One value read from a row or bound to a statement parameter.
class DbValue {
public:
    enum class Type { Null, Integer, Real, Text };

    DbValue() = default;
    DbValue(std::nullptr_t) {}
    DbValue(int value) : value_(std::int64_t{value}) {}
    DbValue(long value) : value_(std::int64_t{value}) {}
    DbValue(long long value) : value_(std::int64_t{value}) {}
    DbValue(double value) : value_(value) {}
    DbValue(const char* text) : value_(std::string(text)) {}
    DbValue(std::string_view text) : value_(std::string(text)) {}
    DbValue(std::string text) : value_(std::move(text)) {}

    Type type() const { return static_cast<Type>(value_.index()); }
    bool isNull() const { return type() == Type::Null; }

    // Integers as their digits; reals in the shortest form that reads back as the same
    // double (-84.2773, never -84.277300000000004; 30 for 30.0); NULL as "".
    std::string toText() const;
    // Texts give the number they are (services/number_reading.h: "1,234.50" is 1234.5), else
    // their leading number ("12a" is 12), else 0; NULL gives 0.
    double toNumber() const;
    // As toNumber(), reals rounded to the nearest whole number (ties to even).
    std::int64_t toInteger() const;

    bool operator==(const DbValue&) const = default;

private:
    std::variant<std::monostate, std::int64_t, double, std::string> value_;
};

// The rows of one query, all read at once: the count is known at once, and moving around
// (first, last, next) is free. Reading a field on no current row, or a field the query does
// not have, gives NULL ("" as text, 0 as a number).
class Recordset {
public:
    Recordset() = default;
    Recordset(std::vector<std::string> fieldNames, std::vector<std::vector<DbValue>> rows);

    int recordCount() const { return static_cast<int>(rows_.size()); }
    // True when there is no current row: an empty set, or moved past the last row.
    bool eof() const { return current_ >= rows_.size(); }
    void moveFirst() { current_ = 0; }
    void moveLast() { current_ = rows_.empty() ? 0 : rows_.size() - 1; }
    void moveNext() {
        if (current_ < rows_.size()) {
            ++current_;
        }
    }

    int fieldCount() const { return static_cast<int>(fieldNames_.size()); }
    const std::string& fieldName(int position) const;
    // Field names match without regard to case (LONGITUDE, Longitude, longitude).
    std::optional<int> fieldPosition(std::string_view name) const;
    bool hasField(std::string_view name) const { return fieldPosition(name).has_value(); }

    const DbValue& value(std::string_view name) const;
    const DbValue& value(int position) const;
    std::string text(std::string_view name) const { return value(name).toText(); }
    std::string text(int position) const { return value(position).toText(); }
    double number(std::string_view name) const { return value(name).toNumber(); }
    double number(int position) const { return value(position).toNumber(); }

    void close() { *this = Recordset(); }

private:
    friend class Database; // hands a query's rows over one at a time in one set

    std::vector<std::string> fieldNames_;
    std::vector<std::vector<DbValue>> rows_;
    std::size_t current_ = 0;
};

} // namespace sw
