// The text-table reader on any bytes: it never crashes, and what it reads agrees with itself
// (each value fits its column's type; the streaming scan finds the same shape as the reader
// that keeps the rows; records read through the smallest blocks are the records read whole;
// a column of numbers holds no value written with a leading zero, which only text keeps).

#include "services/database/text_table.h"

#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace {

// "007", "-01": a zero before another digit of the whole part.
bool leadingZero(const std::string& text) {
    const std::size_t digits = !text.empty() && (text[0] == '-' || text[0] == '+') ? 1 : 0;
    return text.size() > digits + 1 && text[digits] == '0' && text[digits + 1] >= '0' &&
           text[digits + 1] <= '9';
}

std::pair<std::vector<std::vector<sw::CsvField>>, std::string> records(const std::string& bytes,
                                                                       std::size_t block) {
    std::istringstream in(bytes);
    sw::CsvReader reader(in, block);
    std::vector<std::vector<sw::CsvField>> all;
    std::vector<sw::CsvField> fields;
    while (reader.next(fields)) {
        all.push_back(fields);
    }
    return {all, reader.error()};
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    if (records(bytes, 4) != records(bytes, 1 << 16)) {
        std::abort();
    }
    std::istringstream whole(bytes);
    std::string error;
    const auto table = sw::readTextTable(whole, error);
    std::istringstream again(bytes);
    std::string scanError;
    const auto shape = sw::scanTextTable(again, scanError);
    if (table.has_value() != shape.has_value() || error != scanError) {
        std::abort();
    }
    if (!table) {
        if (error.empty()) {
            std::abort();
        }
        return 0;
    }
    if (shape->types != table->shape.types || shape->rows != table->rows.size()) {
        std::abort();
    }
    for (const auto& record : records(bytes, 1 << 16).first) {
        for (std::size_t c = 0; c < record.size(); ++c) {
            if (table->columnType(c) != sw::TextColumnType::Text && leadingZero(record[c].text)) {
                std::abort();
            }
        }
    }
    for (const auto& row : table->rows) {
        if (row.size() > table->columns()) {
            std::abort();
        }
        for (std::size_t c = 0; c < row.size(); ++c) {
            const auto type = row[c].type();
            if (type == sw::DbValue::Type::Null) {
                continue;
            }
            const bool fits = table->columnType(c) == sw::TextColumnType::Integer
                                  ? type == sw::DbValue::Type::Integer
                              : table->columnType(c) == sw::TextColumnType::Real
                                  ? type == sw::DbValue::Type::Real
                                  : type == sw::DbValue::Type::Text;
            if (!fits) {
                std::abort();
            }
        }
    }
    return 0;
}
