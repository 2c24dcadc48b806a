#include "services/database/table_columns.h"

#include <sqlite3.h>

#include <charconv>
#include <system_error>

#include "services/base/no_case.h"
#include "services/database/prepared_statement.h"
#include "services/database/sqlite_failure.h"
#include "services/database/text_sql.h"

namespace sw {

std::optional<std::string> createTableStatement(std::string_view table,
                                                const std::vector<ColumnDef>& columns,
                                                std::string& error) {
    auto tableName = quoteName(table);
    if (!tableName) {
        error = "Cannot create table: unusable name \"" + std::string(table) + "\"";
        return std::nullopt;
    }
    if (columns.empty()) {
        error = "Cannot create table " + std::string(table) + " without columns";
        return std::nullopt;
    }
    std::string sql = "CREATE TABLE " + *tableName + " (";
    for (std::size_t i = 0; i < columns.size(); ++i) {
        const ColumnDef& column = columns[i];
        auto columnName = quoteName(column.name);
        if (!columnName) {
            error = "Cannot create table " + std::string(table) + ": unusable column name \"" +
                    column.name + "\"";
            return std::nullopt;
        }
        sql += (i ? ", " : "") + *columnName + " ";
        switch (column.type) {
        case ColumnType::LongInteger:
            sql += "INTEGER";
            break;
        case ColumnType::Double:
            sql += "DOUBLE";
            break;
        case ColumnType::Text:
            // Text comparisons ignore case, as lookups by typed names expect.
            sql +=
                "TEXT(" + std::to_string(column.size > 0 ? column.size : 255) + ") COLLATE NOCASE";
            break;
        default:
            error = "Cannot create table " + std::string(table) + ": column " + column.name +
                    " has a type this database does not make";
            return std::nullopt;
        }
    }
    return sql + ")";
}

ColumnDef describedColumn(std::string name, std::string_view declaredType) {
    const std::string type = upperAscii(declaredType);
    auto has = [&](std::string_view part) { return type.find(part) != std::string::npos; };
    if (has("CHAR") || has("TEXT") || has("CLOB") || type.empty()) {
        ColumnDef column{std::move(name), ColumnType::Text, 255};
        auto open = type.find('(');
        if (open != std::string::npos) {
            int size = 0;
            auto [end, ec] =
                std::from_chars(type.data() + open + 1, type.data() + type.size(), size);
            if (ec == std::errc() && size > 0) {
                column.size = size;
            }
        }
        return column;
    }
    if (has("BOOL") || has("BIT") || has("YESNO")) {
        return {std::move(name), ColumnType::YesNo, 1};
    }
    if (has("SMALLINT") || has("SHORT")) {
        return {std::move(name), ColumnType::Integer, 2};
    }
    if (has("INT") || has("LONG")) {
        return {std::move(name), ColumnType::LongInteger, 4};
    }
    if (has("SINGLE")) {
        return {std::move(name), ColumnType::Single, 4};
    }
    if (has("DATE") || has("TIME")) {
        return {std::move(name), ColumnType::Date, 8};
    }
    return {std::move(name), ColumnType::Double, 8};
}

std::optional<std::vector<ColumnDef>> readTableColumns(sqlite3* db, std::string_view schema,
                                                       std::string_view table, std::string& error) {
    auto tableName = quoteName(table);
    auto schemaName = schema.empty() ? std::optional<std::string>("") : quoteName(schema);
    if (!tableName || !schemaName) {
        error = "No table named \"" + std::string(table) + "\"";
        return std::nullopt;
    }
    const std::string sql = "PRAGMA " + (schema.empty() ? std::string() : *schemaName + ".") +
                            "table_info(" + *tableName + ")";
    PreparedStatement info;
    int rc = info.prepare(db, sql);
    std::vector<ColumnDef> columns;
    while (rc == SQLITE_OK || rc == SQLITE_ROW) {
        rc = info.step();
        if (rc == SQLITE_ROW) {
            // table_info's columns: cid, name, type, notnull, dflt_value, pk.
            columns.push_back(describedColumn(info.value(1).toText(), info.value(2).toText()));
        }
    }
    if (rc != SQLITE_DONE) {
        error = "Cannot run \"" + sql + "\": " + sqliteFailure(db);
        return std::nullopt;
    }
    return columns;
}

} // namespace sw
