#pragma once
// The columns of a database table: declared when the program creates a table, described when it
// hands a table's columns on (to a shapefile, or to the conversion of inserted numbers).

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "services/base/field_types.h"

struct sqlite3;

namespace sw {

// A table column. The type codes are those of the shapefile writer's AddField, so a table's
// columns can be passed on to a shapefile unchanged.
using ColumnType = FieldType;

struct ColumnDef {
    std::string name;
    ColumnType type = ColumnType::Text;
    // Texts: the declared length (255 when none was declared). Other types: their size in
    // bytes (4 for a long integer, 8 for a double).
    int size = 0;

    bool operator==(const ColumnDef&) const = default;
};

// The statement that creates `table` with columns of long integers, doubles or texts of a given
// length (ColumnDef::size; 255 when 0); texts compare without regard to case. Nothing (and why
// in `error`) for a name that cannot be quoted, no columns, or another column type.
std::optional<std::string> createTableStatement(std::string_view table,
                                                const std::vector<ColumnDef>& columns,
                                                std::string& error);

// A column as its declared SQL type describes it ("TEXT(35)" is a text of 35, "INTEGER" a long
// integer, "DOUBLE" a double; no type at all is a text of 255).
ColumnDef describedColumn(std::string name, std::string_view declaredType);

// The columns of `table` in `schema` (the main one when empty), in table order: none when there
// is no such table. Nothing (and why in `error`) when the names cannot be quoted or SQLite
// cannot read the table's description.
std::optional<std::vector<ColumnDef>> readTableColumns(sqlite3* db, std::string_view schema,
                                                       std::string_view table, std::string& error);

} // namespace sw
