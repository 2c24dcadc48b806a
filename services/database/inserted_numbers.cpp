#include "services/database/inserted_numbers.h"

#include <sqlite3.h>

#include <algorithm>
#include <cmath>
#include <string_view>

#include "services/base/no_case.h"
#include "services/base/number_reading.h"
#include "services/database/prepared_statement.h"
#include "services/database/sqlite_failure.h"
#include "services/database/table_columns.h"
#include "services/database/text_sql.h"

namespace sw {

namespace {

// sw_number(value, whole): a value as a number column stores it. A text that is a number
// becomes that number; whole-number columns round to the nearest, halves to the even neighbour;
// an empty text is no value. Any other text is kept as it is rather than lost.
void swNumber(sqlite3_context* context, int, sqlite3_value** args) {
    sqlite3_value* value = args[0];
    const bool whole = sqlite3_value_int(args[1]) != 0;
    auto giveNumber = [&](double number) {
        double rounded = whole ? std::nearbyint(number) : number;
        if (whole && rounded >= -9.2e18 && rounded <= 9.2e18) {
            sqlite3_result_int64(context, static_cast<sqlite3_int64>(rounded));
        } else {
            sqlite3_result_double(context, rounded);
        }
    };
    switch (sqlite3_value_type(value)) {
    case SQLITE_FLOAT:
        giveNumber(sqlite3_value_double(value));
        return;
    case SQLITE_TEXT: {
        const auto* bytes = reinterpret_cast<const char*>(sqlite3_value_text(value));
        const std::string_view text(bytes ? bytes : "",
                                    static_cast<std::size_t>(sqlite3_value_bytes(value)));
        if (text.find_first_not_of(" \t") == std::string_view::npos) {
            sqlite3_result_null(context);
            return;
        }
        if (auto number = readNumber(text)) {
            giveNumber(*number);
            return;
        }
        break;
    }
    default:
        break;
    }
    sqlite3_result_value(context, value);
}

} // namespace

int registerNumberFunction(sqlite3* db) {
    return sqlite3_create_function_v2(db, "sw_number", 2, SQLITE_UTF8 | SQLITE_DETERMINISTIC,
                                      nullptr, swNumber, nullptr, nullptr, nullptr);
}

int InsertTargets::note(void* self, int action, const char* table, const char*, const char* schema,
                        const char*) {
    if (action == SQLITE_INSERT && table != nullptr &&
        !equalsNoCase(std::string_view(table).substr(0, 7), "sqlite_")) {
        auto& tables = static_cast<InsertTargets*>(self)->tables;
        std::pair<std::string, std::string> target{schema ? schema : "main", table};
        if (std::find(tables.begin(), tables.end(), target) == tables.end()) {
            tables.push_back(std::move(target));
        }
    }
    return SQLITE_OK;
}

bool InsertedRows::noteLastRows(sqlite3* db, const InsertTargets& targets, std::string& error) {
    for (const auto& [schema, table] : targets.tables) {
        auto schemaName = quoteName(schema);
        auto tableName = quoteName(table);
        PreparedStatement last;
        if (!schemaName || !tableName ||
            last.prepare(db, "SELECT coalesce(max(rowid), 0) FROM " + *schemaName + "." +
                                 *tableName) != SQLITE_OK) {
            continue; // a table this cannot describe is left as the insert makes it
        }
        if (last.step() != SQLITE_ROW) {
            error = "Cannot read the rows of " + table + ": " + sqliteFailure(db);
            return false;
        }
        targets_.push_back({schema, table, last.value(0).toInteger()});
    }
    return true;
}

bool InsertedRows::convertNumbers(sqlite3* db, std::string& error) const {
    for (const Target& target : targets_) {
        auto columns = readTableColumns(db, target.schema, target.table, error);
        if (!columns) {
            return false;
        }
        // Both names were quoted when the target was noted.
        const std::string schemaName = *quoteName(target.schema);
        const std::string tableName = *quoteName(target.table);
        for (const auto& column : *columns) {
            const bool whole =
                column.type == ColumnType::LongInteger || column.type == ColumnType::Integer;
            const bool fraction =
                column.type == ColumnType::Double || column.type == ColumnType::Single;
            auto name = quoteName(column.name);
            if (!(whole || fraction) || !name) {
                continue;
            }
            const std::string sql = "UPDATE " + schemaName + "." + tableName + " SET " + *name +
                                    " = sw_number(" + *name + ", " + (whole ? "1" : "0") +
                                    ") WHERE rowid > " + std::to_string(target.lastRowBefore) +
                                    " AND typeof(" + *name + ") IN ('text', " +
                                    (whole ? "'real'" : "'blob'") + ")";
            if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK) {
                error = "Cannot store the numbers of " + target.table + ": " + sqliteFailure(db);
                return false;
            }
        }
    }
    return true;
}

} // namespace sw
