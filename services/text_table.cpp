#include "services/text_table.h"

#include <cmath>
#include <fstream>
#include <sstream>

#include "services/number_reading.h"

namespace sw {

namespace {

constexpr int kEnd = std::char_traits<char>::eof();

bool isBlank(int c) {
    return c == ' ' || c == '\t';
}

// What the values of one column seen so far allow it to be.
struct ColumnStats {
    bool any = false;         // a value that is not NULL
    bool allNumbers = true;   // every value reads as a number
    bool allWhole = true;     // every value is a whole number a 64-bit integer holds
    bool beyondExact = false; // a whole number a double cannot hold exactly

    void observe(const CsvField& field) {
        if (!field.quoted && field.text.empty()) {
            return; // NULL
        }
        any = true;
        if (field.quoted) {
            allNumbers = false;
            return;
        }
        if (auto whole = readWholeNumber(field.text)) {
            constexpr std::int64_t exactInDouble = std::int64_t{1} << 53;
            beyondExact = beyondExact || *whole > exactInDouble || *whole < -exactInDouble;
            return;
        }
        const NumberReading reading = readNumberText(field.text);
        if (!reading.value || reading.whole) {
            allNumbers = false; // not a number, or a whole number too large to hold exactly
            return;
        }
        allWhole = false;
    }

    TextColumnType type() const {
        if (!any || !allNumbers) {
            return TextColumnType::Text;
        }
        if (allWhole) {
            return TextColumnType::Integer;
        }
        return beyondExact ? TextColumnType::Text : TextColumnType::Real;
    }
};

void observeRecord(std::vector<ColumnStats>& stats, const std::vector<CsvField>& fields) {
    if (stats.size() < fields.size()) {
        stats.resize(fields.size());
    }
    for (std::size_t c = 0; c < fields.size(); ++c) {
        stats[c].observe(fields[c]);
    }
}

std::vector<TextColumnType> typesOf(const std::vector<ColumnStats>& stats) {
    std::vector<TextColumnType> types;
    types.reserve(stats.size());
    for (const auto& column : stats) {
        types.push_back(column.type());
    }
    return types;
}

} // namespace

CsvReader::CsvReader(std::istream& in) : in_(in.rdbuf()) {}

int CsvReader::get() {
    if (!pending_.empty()) {
        const int c = static_cast<unsigned char>(pending_.back());
        pending_.pop_back();
        return c;
    }
    return in_ == nullptr ? kEnd : in_->sbumpc();
}

int CsvReader::peek() {
    if (!pending_.empty()) {
        return static_cast<unsigned char>(pending_.back());
    }
    return in_ == nullptr ? kEnd : in_->sgetc();
}

void CsvReader::putBack(int c) {
    if (c != kEnd) {
        pending_.push_back(static_cast<char>(c));
    }
}

bool CsvReader::fail(std::size_t line, const std::string& what) {
    error_ = "line " + std::to_string(line) + ": " + what;
    return false;
}

// A line end at the reader's position (LF, or CR LF), consumed; false (nothing consumed)
// when there is none.
bool CsvReader::lineEnd() {
    const int c = peek();
    if (c == '\n') {
        get();
        ++line_;
        return true;
    }
    if (c == '\r') {
        get();
        if (peek() == '\n') {
            get();
            ++line_;
            return true;
        }
        putBack('\r');
    }
    return false;
}

bool CsvReader::next(std::vector<CsvField>& fields) {
    fields.clear();
    if (!error_.empty()) {
        return false;
    }
    if (!started_) {
        started_ = true;
        // A UTF-8 byte order mark is not part of the first value.
        const int a = get();
        const int b = a == 0xEF ? get() : kEnd;
        const int c = b == 0xBB ? get() : kEnd;
        if (!(a == 0xEF && b == 0xBB && c == 0xBF)) {
            putBack(c);
            putBack(b);
            putBack(a);
        }
    }
    while (lineEnd()) {
        // empty lines are no records
    }
    if (peek() == kEnd) {
        return false;
    }
    while (true) {
        CsvField field;
        while (isBlank(peek())) {
            get();
        }
        if (peek() == '"') {
            field.quoted = true;
            const std::size_t opened = line_;
            get();
            while (true) {
                const int c = get();
                if (c == kEnd) {
                    return fail(opened, "a quoted value is not closed");
                }
                if (c == '"') {
                    if (peek() != '"') {
                        break;
                    }
                    get();
                }
                if (c == '\n') {
                    ++line_;
                }
                field.text.push_back(static_cast<char>(c));
            }
            while (isBlank(peek())) {
                get();
            }
            const int after = peek();
            if (after != ',' && after != kEnd && after != '\n' && after != '\r') {
                return fail(line_, "text after the closing quote of a value");
            }
        } else {
            while (true) {
                const int c = peek();
                if (c == ',' || c == '\n' || c == kEnd) {
                    break;
                }
                if (c == '\r') {
                    get();
                    const bool end = peek() == '\n';
                    putBack('\r');
                    if (end) {
                        break;
                    }
                    get();
                } else if (c == '"') {
                    return fail(line_, "a quote inside a value that does not start with one");
                } else {
                    get();
                }
                field.text.push_back(static_cast<char>(c));
            }
            while (!field.text.empty() && isBlank(field.text.back())) {
                field.text.pop_back();
            }
        }
        fields.push_back(std::move(field));
        if (peek() == ',') {
            get();
            continue;
        }
        if (peek() == kEnd || lineEnd()) {
            return true;
        }
        return fail(line_, "a carriage return that ends no line after a quoted value");
    }
}

DbValue typedValue(const CsvField& field, TextColumnType type) {
    if (!field.quoted && field.text.empty()) {
        return DbValue();
    }
    switch (type) {
    case TextColumnType::Integer:
        if (auto whole = readWholeNumber(field.text)) {
            return DbValue(static_cast<long long>(*whole));
        }
        break;
    case TextColumnType::Real:
        if (auto number = readNumber(field.text)) {
            return DbValue(*number);
        }
        break;
    case TextColumnType::Text:
        break;
    }
    return DbValue(field.text);
}

std::optional<TextTableShape> scanTextTable(std::istream& in, std::string& error) {
    CsvReader reader(in);
    std::vector<ColumnStats> stats;
    std::vector<CsvField> fields;
    TextTableShape shape;
    while (reader.next(fields)) {
        observeRecord(stats, fields);
        ++shape.rows;
    }
    if (!reader.error().empty()) {
        error = reader.error();
        return std::nullopt;
    }
    shape.types = typesOf(stats);
    return shape;
}

std::optional<TextTable> readTextTable(std::istream& in, std::string& error) {
    CsvReader reader(in);
    std::vector<ColumnStats> stats;
    std::vector<std::vector<CsvField>> records;
    std::vector<CsvField> fields;
    while (reader.next(fields)) {
        observeRecord(stats, fields);
        records.push_back(fields);
    }
    if (!reader.error().empty()) {
        error = reader.error();
        return std::nullopt;
    }
    TextTable table;
    table.shape.types = typesOf(stats);
    table.shape.rows = records.size();
    table.rows.reserve(records.size());
    for (const auto& record : records) {
        std::vector<DbValue> row;
        row.reserve(record.size());
        for (std::size_t c = 0; c < record.size(); ++c) {
            row.push_back(typedValue(record[c], table.shape.types[c]));
        }
        table.rows.push_back(std::move(row));
    }
    return table;
}

std::optional<TextTable> readTextTable(const std::filesystem::path& file, std::string& error) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        error = "Cannot read text file " + file.string();
        return std::nullopt;
    }
    auto table = readTextTable(in, error);
    if (!table) {
        error = "Cannot read text file " + file.string() + ": " + error;
    } else if (in.bad()) {
        error = "Cannot read text file " + file.string();
        return std::nullopt;
    }
    return table;
}

} // namespace sw
