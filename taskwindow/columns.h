#pragma once
// One column table per record kind: each column's text-file title, shapefile field, kind and
// how its value is read from the record. The header line, the record line, the shapefile's
// fields and the values set into them all come from this one table, so a column is named
// once and the text file, the shapefile and a later append can never disagree.
//
// Values stay display texts until a file needs a number. A column written as a bare number
// in the text file takes the leading number of its text (0 when there is none) in the text
// file and in the shapefile alike, so "-084.5000" is -84.5 in both. Every other column goes
// to the text file quoted, as shown, and to the shapefile as its text, which the shapefile
// writer converts for a number or date field ("1,234.50", "05-17-2027").
//
// Example:
//     const ColumnTable<Camp> table = {
//         {Column::text("Name", "Name", 45), [](const Camp& c) { return c.name; }},
//         {Column::number("Latitude", "Lat"), [](const Camp& c) { return c.latitude; }},
//     };
//     RecordRow row = table.row(camp);   // headerLine(row), recordLine(row), outputs

#include "services/base/field_types.h"

#include <functional>
#include <initializer_list>
#include <span>
#include <string>
#include <utility>
#include <vector>

namespace sw {

struct Column {
    std::string title;                // text-file column title
    std::string field;                // shapefile field name (1 to 10 characters)
    FieldType kind = FieldType::Text; // of the shapefile field
    int width = 0;                    // text fields: the shapefile column width
    bool bareNumber = false;          // text file: written as a bare number rather than quoted

    // A quoted text, a text field of `width` characters.
    static Column text(std::string title, std::string field, int width);
    // A bare number in the text file, a double field (coordinates, metres).
    static Column number(std::string title, std::string field);
    // A quoted text in the text file, a double field (an area typed as "1,234.50").
    static Column quotedNumber(std::string title, std::string field);
    // A quoted "mm-dd-yyyy" text in the text file, a date field.
    static Column date(std::string title, std::string field);
    // A bare whole number in the text file, a long integer field.
    static Column longInteger(std::string title, std::string field);
};

// One record as the outputs see it: the columns and the value text of each, in table order.
struct RecordRow {
    std::span<const Column> columns;
    std::vector<std::string> texts;
};

// The title line: every column title quoted, CR LF.
std::string headerLine(const RecordRow& row);
// The record line: quoted texts and bare numbers as the columns say, CR LF.
std::string recordLine(const RecordRow& row);

template <class Record> class ColumnTable {
public:
    using Reader = std::function<std::string(const Record&)>;
    struct Entry {
        Column column;
        Reader read;
    };

    ColumnTable(std::initializer_list<Entry> entries) {
        for (const Entry& entry : entries) {
            columns_.push_back(entry.column);
            readers_.push_back(entry.read);
        }
    }

    std::span<const Column> columns() const { return columns_; }

    // The record's values; the row refers to this table, which must outlive it.
    RecordRow row(const Record& record) const {
        RecordRow row{columns_, {}};
        row.texts.reserve(readers_.size());
        for (const Reader& read : readers_) {
            row.texts.push_back(read(record));
        }
        return row;
    }

private:
    std::vector<Column> columns_;
    std::vector<Reader> readers_;
};

} // namespace sw
