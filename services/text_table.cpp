#include "services/text_table.h"

#include <algorithm>
#include <fstream>

#include "services/number_reading.h"

namespace sw {

namespace {

// One comma-separated line split into its values. Quoted values lose their quotes (a doubled
// quote inside stands for one); unquoted values lose surrounding blanks.
struct CsvField {
    std::string text;
    bool quoted = false;
};

std::vector<CsvField> splitCsvLine(std::string_view line) {
    std::vector<CsvField> fields;
    std::size_t i = 0;
    while (true) {
        CsvField field;
        while (i < line.size() && line[i] == ' ') {
            ++i;
        }
        if (i < line.size() && line[i] == '"') {
            field.quoted = true;
            ++i;
            while (i < line.size()) {
                if (line[i] == '"') {
                    if (i + 1 < line.size() && line[i + 1] == '"') {
                        field.text += '"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                field.text += line[i++];
            }
            // Anything between the closing quote and the comma is dropped.
            while (i < line.size() && line[i] != ',') {
                ++i;
            }
        } else {
            std::size_t end = line.find(',', i);
            if (end == std::string_view::npos) {
                end = line.size();
            }
            std::string_view raw = line.substr(i, end - i);
            while (!raw.empty() && (raw.back() == ' ' || raw.back() == '\t')) {
                raw.remove_suffix(1);
            }
            field.text = std::string(raw);
            i = end;
        }
        fields.push_back(std::move(field));
        if (i >= line.size()) {
            break;
        }
        ++i; // the comma
    }
    return fields;
}

// An unquoted value that is wholly a number becomes that number; integers stay integers.
DbValue typedValue(const CsvField& field) {
    if (field.quoted) {
        return DbValue(field.text);
    }
    if (field.text.empty()) {
        return DbValue();
    }
    if (auto whole = readWholeNumber(field.text)) {
        return DbValue(static_cast<long long>(*whole));
    }
    if (auto number = readNumber(field.text)) {
        return DbValue(*number);
    }
    return DbValue(field.text);
}

} // namespace

bool forEachTextRow(const std::filesystem::path& file,
                    const std::function<bool(std::vector<DbValue>& row)>& row,
                    std::string& error) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        error = "Cannot read text file " + file.string();
        return false;
    }
    std::string line;
    std::vector<DbValue> values;
    bool first = true;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (first && line.starts_with("\xEF\xBB\xBF")) {
            line.erase(0, 3); // a UTF-8 byte order mark is not part of the first value
        }
        first = false;
        if (line.empty()) {
            continue;
        }
        values.clear();
        for (const CsvField& field : splitCsvLine(line)) {
            values.push_back(typedValue(field));
        }
        if (!row(values)) {
            error = "Reading text file " + file.string() + " stopped";
            return false;
        }
    }
    if (in.bad()) {
        error = "Cannot read text file " + file.string();
        return false;
    }
    return true;
}

std::optional<TextTable> readTextTable(const std::filesystem::path& file, std::string& error) {
    TextTable table;
    const bool read = forEachTextRow(
        file,
        [&](std::vector<DbValue>& row) {
            table.columns = std::max(table.columns, row.size());
            table.rows.push_back(std::move(row));
            return true;
        },
        error);
    if (!read) {
        return std::nullopt;
    }
    return table;
}

namespace {

// What the values of one column have been so far.
struct ColumnSeen {
    bool any = false;
    bool allIntegers = true;
    bool allNumbers = true;

    void add(const DbValue& value) {
        if (value.isNull()) {
            return;
        }
        any = true;
        const auto type = value.type();
        allIntegers = allIntegers && type == DbValue::Type::Integer;
        allNumbers = allNumbers && (type == DbValue::Type::Integer || type == DbValue::Type::Real);
    }
    TextColumnType type() const {
        if (!any || !allNumbers) {
            return TextColumnType::Text;
        }
        return allIntegers ? TextColumnType::Integer : TextColumnType::Real;
    }
};

} // namespace

std::optional<TextTableShape> readTextTableShape(const std::filesystem::path& file,
                                                 std::string& error) {
    std::vector<ColumnSeen> seen;
    const bool read = forEachTextRow(
        file,
        [&](std::vector<DbValue>& row) {
            if (row.size() > seen.size()) {
                seen.resize(row.size());
            }
            for (std::size_t c = 0; c < row.size(); ++c) {
                seen[c].add(row[c]);
            }
            return true;
        },
        error);
    if (!read) {
        return std::nullopt;
    }
    TextTableShape shape;
    shape.columns = seen.size();
    for (const ColumnSeen& column : seen) {
        shape.types.push_back(column.type());
    }
    return shape;
}

TextColumnType TextTable::columnType(std::size_t column) const {
    ColumnSeen seen;
    for (const auto& row : rows) {
        if (column < row.size()) {
            seen.add(row[column]);
        }
    }
    return seen.type();
}

} // namespace sw
