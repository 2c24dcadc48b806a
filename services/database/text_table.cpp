#include "services/database/text_table.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string_view>

#include "services/base/number_reading.h"

namespace sw {

namespace {

bool isBlank(int c) {
    return c == ' ' || c == '\t';
}

// The characters that end a run of an unquoted value, as a table: a value's characters are
// looked at one by one, millions of them in a vertex file.
constexpr std::array<bool, 256> kUnquotedStops = [] {
    std::array<bool, 256> stops{};
    for (const unsigned char c : {',', '\n', '\r', '"'}) {
        stops[c] = true;
    }
    return stops;
}();

// A number written with a zero before its other whole digits ("00501", "-007"): the
// zero is part of a code (a ZIP code, an identifier), which a number would lose. A lone zero
// ("0", "-0") and a zero before the point or exponent ("0.5", "0e3") are plain numbers.
bool hasLeadingZero(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && isBlank(text[i])) {
        ++i;
    }
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        ++i;
    }
    if (i + 1 >= text.size() || text[i] != '0') {
        return false;
    }
    return text[i + 1] >= '0' && text[i + 1] <= '9';
}

} // namespace

FieldValue TextShapeLearner::Column::observe(const CsvField& field, TextColumnType valueType) {
    FieldValue value;
    if (isNullField(field)) {
        return value;
    }
    value.type = DbValue::Type::Text;
    any = true;
    if (field.quoted) {
        allNumbers = false;
        return value;
    }
    const NumberReading reading = readNumberText(field.text);
    if (!reading.value) {
        allNumbers = false;
        return value;
    }
    if (hasLeadingZero(field.text)) {
        allNumbers = false; // the column keeps its texts; this value is typed as its column is
    }
    if (!reading.whole) {
        allWhole = false;
        if (valueType == TextColumnType::Real) {
            value.type = DbValue::Type::Real;
            value.number = *reading.value;
        }
        return value;
    }
    // A whole number counts as one only where a 64-bit integer holds it.
    const auto& whole = reading.integer;
    if (!whole) {
        allNumbers = false;
        return value;
    }
    constexpr std::int64_t exactInDouble = std::int64_t{1} << 53;
    beyondExact = beyondExact || *whole > exactInDouble || *whole < -exactInDouble;
    if (valueType == TextColumnType::Integer) {
        value.type = DbValue::Type::Integer;
        value.whole = *whole;
    } else if (valueType == TextColumnType::Real) {
        value.type = DbValue::Type::Real;
        value.number = *reading.value;
    }
    return value;
}

TextColumnType TextShapeLearner::Column::type() const {
    if (!any || !allNumbers) {
        return TextColumnType::Text;
    }
    if (allWhole) {
        return TextColumnType::Integer;
    }
    return beyondExact ? TextColumnType::Text : TextColumnType::Real;
}

void TextShapeLearner::observe(const std::vector<CsvField>& fields) {
    if (columns_.size() < fields.size()) {
        columns_.resize(fields.size());
    }
    for (std::size_t c = 0; c < fields.size(); ++c) {
        columns_[c].observe(fields[c], TextColumnType::Text);
    }
    ++rows_;
}

FieldValue TextShapeLearner::observe(std::size_t column, const CsvField& field,
                                     TextColumnType type) {
    if (columns_.size() <= column) {
        columns_.resize(column + 1);
    }
    return columns_[column].observe(field, type);
}

TextTableShape TextShapeLearner::shape() const {
    TextTableShape shape;
    shape.rows = rows_;
    shape.types.reserve(columns_.size());
    for (const auto& column : columns_) {
        shape.types.push_back(column.type());
    }
    return shape;
}

CsvReader::CsvReader(std::istream& in, std::size_t blockSize)
    : in_(in.rdbuf()), block_(std::max<std::size_t>(blockSize, 4)) {
    pos_ = end_ = block_.data();
}

std::size_t CsvReader::ensure(std::size_t count) {
    auto ahead = static_cast<std::size_t>(end_ - pos_);
    if (ahead >= count || in_ == nullptr) {
        return ahead;
    }
    // What is left moves to the front; the rest of the block is filled from the text.
    std::memmove(block_.data(), pos_, ahead);
    pos_ = block_.data();
    end_ = pos_ + ahead;
    while (ahead < count) {
        const std::streamsize got =
            in_->sgetn(block_.data() + ahead, static_cast<std::streamsize>(block_.size() - ahead));
        if (got <= 0) {
            in_ = nullptr; // the text has ended
            break;
        }
        ahead += static_cast<std::size_t>(got);
        end_ = pos_ + ahead;
    }
    return ahead;
}

bool CsvReader::crLf() {
    return ensure(2) >= 2 && pos_[0] == '\r' && pos_[1] == '\n';
}

bool CsvReader::fail(std::size_t line, const std::string& what) {
    error_ = "line " + std::to_string(line) + ": " + what;
    return false;
}

// A line end at the reader's position (LF, or CR LF), consumed; false (nothing consumed)
// when there is none.
bool CsvReader::lineEnd() {
    const int c = peek();
    if (c == '\n' || (c == '\r' && crLf())) {
        pos_ += c == '\n' ? 1 : 2;
        ++line_;
        return true;
    }
    return false;
}

// A value in double quotes; the reader stands on the opening quote.
bool CsvReader::quoted(CsvField& field) {
    field.quoted = true;
    const std::size_t opened = line_;
    ++pos_;
    while (true) {
        if (pos_ == end_ && ensure(1) == 0) {
            return fail(opened, "a quoted value is not closed");
        }
        const char* run = pos_;
        while (run < end_ && *run != '"' && *run != '\n') {
            ++run;
        }
        field.text.append(pos_, run);
        pos_ = run;
        if (pos_ == end_) {
            continue;
        }
        if (*pos_ == '\n') {
            ++line_;
            field.text.push_back('\n');
            ++pos_;
            continue;
        }
        ++pos_; // a quote: the end of the value, or the first of two that stand for one
        if (peek() != '"') {
            break;
        }
        field.text.push_back('"');
        ++pos_;
    }
    while (isBlank(peek())) {
        ++pos_;
    }
    const int after = peek();
    if (after != ',' && after != kEnd && after != '\n' && after != '\r') {
        return fail(line_, "text after the closing quote of a value");
    }
    return true;
}

// A value without quotes; it ends at a comma or a line end (a lone CR is part of it).
bool CsvReader::unquoted(CsvField& field) {
    while (true) {
        if (pos_ == end_ && ensure(1) == 0) {
            break;
        }
        const char* run = pos_;
        while (run < end_ && !kUnquotedStops[static_cast<unsigned char>(*run)]) {
            ++run;
        }
        field.text.append(pos_, run);
        pos_ = run;
        if (pos_ == end_) {
            continue;
        }
        if (*pos_ == '"') {
            return fail(line_, "a quote inside a value that does not start with one");
        }
        if (*pos_ != '\r' || crLf()) {
            break;
        }
        field.text.push_back('\r');
        ++pos_;
    }
    while (!field.text.empty() && isBlank(field.text.back())) {
        field.text.pop_back();
    }
    return true;
}

bool CsvReader::next(std::vector<CsvField>& fields) {
    std::size_t used = 0;
    const auto done = [&](bool ok) {
        fields.resize(ok ? used : 0);
        return ok;
    };
    if (!error_.empty()) {
        return done(false);
    }
    if (!started_) {
        started_ = true;
        // A UTF-8 byte order mark is not part of the first value.
        if (ensure(3) >= 3 && std::memcmp(pos_, "\xEF\xBB\xBF", 3) == 0) {
            pos_ += 3;
        }
    }
    while (lineEnd()) {
        // empty lines are no records
    }
    if (peek() == kEnd) {
        return done(false);
    }
    while (true) {
        if (used == fields.size()) {
            fields.emplace_back();
        }
        CsvField& field = fields[used++];
        field.text.clear();
        field.quoted = false;
        while (isBlank(peek())) {
            ++pos_;
        }
        if (!(peek() == '"' ? quoted(field) : unquoted(field))) {
            return done(false);
        }
        if (peek() == ',') {
            ++pos_;
            continue;
        }
        if (peek() == kEnd || lineEnd()) {
            return done(true);
        }
        return done(fail(line_, "a carriage return that ends no line after a quoted value"));
    }
}

FieldValue fieldValue(const CsvField& field, TextColumnType type) {
    FieldValue value;
    if (isNullField(field)) {
        return value;
    }
    value.type = DbValue::Type::Text;
    switch (type) {
    case TextColumnType::Integer:
        if (auto whole = readWholeNumber(field.text)) {
            value.type = DbValue::Type::Integer;
            value.whole = *whole;
        }
        break;
    case TextColumnType::Real:
        if (auto number = readNumber(field.text)) {
            value.type = DbValue::Type::Real;
            value.number = *number;
        }
        break;
    case TextColumnType::Text:
        break;
    }
    return value;
}

DbValue typedValue(const CsvField& field, TextColumnType type) {
    const FieldValue value = fieldValue(field, type);
    switch (value.type) {
    case DbValue::Type::Null:
        return DbValue();
    case DbValue::Type::Integer:
        return DbValue(static_cast<long long>(value.whole));
    case DbValue::Type::Real:
        return DbValue(value.number);
    case DbValue::Type::Text:
        break;
    }
    return DbValue(field.text);
}

std::optional<TextTableShape> scanTextTable(std::istream& in, std::string& error,
                                            std::size_t most) {
    CsvReader reader(in);
    TextShapeLearner learner;
    std::vector<CsvField> fields;
    for (std::size_t read = 0; read < most && reader.next(fields); ++read) {
        learner.observe(fields);
    }
    if (!reader.error().empty()) {
        error = reader.error();
        return std::nullopt;
    }
    return learner.shape();
}

std::optional<TextTable> readTextTable(std::istream& in, std::string& error) {
    CsvReader reader(in);
    TextShapeLearner learner;
    std::vector<std::vector<CsvField>> records;
    std::vector<CsvField> fields;
    while (reader.next(fields)) {
        learner.observe(fields);
        records.push_back(fields);
    }
    if (!reader.error().empty()) {
        error = reader.error();
        return std::nullopt;
    }
    TextTable table;
    table.shape = learner.shape();
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
