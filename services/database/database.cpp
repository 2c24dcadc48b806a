#include "services/database/database.h"

#include <sqlite3.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <fstream>
#include <system_error>
#include <utility>

#include "services/base/no_case.h"
#include "services/base/number_reading.h"
#include "services/database/text_source_table.h"
#include "services/database/text_sql.h"
#include "services/database/text_table.h"

namespace sw {

namespace {

// sw_number(value, whole): a value as a number column stores it. A text that is a number
// (services/number_reading.h: "1,234.50" is, "12,5" is not) becomes that number; whole-number
// columns round to the nearest, halves to the even neighbour; an empty text is no value. Any
// other text is kept as it is rather than lost.
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

Database::Database() = default;

Database::~Database() {
    close();
}

Database::Database(Database&& other) noexcept
    : db_(std::exchange(other.db_, nullptr)), file_(std::move(other.file_)),
      error_(std::move(other.error_)), textTables_(other.textTables_),
      textSources_(std::move(other.textSources_)) {}

Database& Database::operator=(Database&& other) noexcept {
    if (this != &other) {
        close();
        db_ = std::exchange(other.db_, nullptr);
        file_ = std::move(other.file_);
        error_ = std::move(other.error_);
        textTables_ = other.textTables_;
        textSources_ = std::move(other.textSources_);
    }
    return *this;
}

void Database::close() {
    if (db_ != nullptr) {
        sqlite3_close_v2(db_);
        db_ = nullptr;
    }
}

bool Database::fail(std::string message) {
    error_ = std::move(message);
    return false;
}

bool Database::failSql(std::string_view what) {
    std::string message(what);
    if (db_ != nullptr) {
        message += ": ";
        message += sqlite3_errmsg(db_);
    }
    return fail(std::move(message));
}

bool Database::openReadOnly(const std::filesystem::path& file) {
    return openFile(file, SQLITE_OPEN_READONLY, true);
}

bool Database::open(const std::filesystem::path& file) {
    return openFile(file, SQLITE_OPEN_READWRITE, true);
}

bool Database::create(const std::filesystem::path& file) {
    std::error_code ec;
    if (std::filesystem::exists(file, ec)) {
        close();
        return fail("Cannot create database " + file.string() + ": the file already exists");
    }
    return openFile(file, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, false);
}

bool Database::openFile(const std::filesystem::path& file, int flags, bool mustExist) {
    close();
    error_.clear();
    file_ = file;
    std::error_code ec;
    if (mustExist && !std::filesystem::is_regular_file(file, ec)) {
        return fail("Database file not found: " + file.string());
    }
    sqlite3* handle = nullptr;
    int rc = sqlite3_open_v2(file.c_str(), &handle, flags | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        std::string message = "Cannot open database " + file.string() + ": " +
                              (handle ? sqlite3_errmsg(handle) : sqlite3_errstr(rc));
        sqlite3_close_v2(handle);
        return fail(std::move(message));
    }
    db_ = handle;
    sqlite3_extended_result_codes(db_, 1);
    sqlite3_create_function_v2(db_, "sw_number", 2, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr,
                               swNumber, nullptr, nullptr, nullptr);
    textSources_ = std::make_unique<TextSourceTables>();
    textSources_->registerWith(db_);
    // SQLite reads the file lazily; touch the schema now so that a file that is not a
    // database fails here, with its name, rather than at the first query.
    rc = sqlite3_exec(db_, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) {
        std::string message = "Cannot read database " + file.string() + ": " + sqlite3_errmsg(db_);
        close();
        return fail(std::move(message));
    }
    return true;
}

namespace {

// Owns one prepared statement.
struct Statement {
    sqlite3_stmt* handle = nullptr;
    ~Statement() { sqlite3_finalize(handle); }
};

bool onlyBlanks(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) {
        return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == ';';
    });
}

DbValue columnValue(sqlite3_stmt* stmt, int column) {
    switch (sqlite3_column_type(stmt, column)) {
    case SQLITE_INTEGER:
        return DbValue(static_cast<long long>(sqlite3_column_int64(stmt, column)));
    case SQLITE_FLOAT:
        return DbValue(sqlite3_column_double(stmt, column));
    case SQLITE_NULL:
        return DbValue();
    default: {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, column));
        int bytes = sqlite3_column_bytes(stmt, column);
        return DbValue(std::string(text ? text : "", static_cast<std::size_t>(bytes)));
    }
    }
}

int bindValue(sqlite3_stmt* stmt, int index, const DbValue& value) {
    switch (value.type()) {
    case DbValue::Type::Null:
        return sqlite3_bind_null(stmt, index);
    case DbValue::Type::Integer:
        return sqlite3_bind_int64(stmt, index, value.toInteger());
    case DbValue::Type::Real:
        return sqlite3_bind_double(stmt, index, value.toNumber());
    case DbValue::Type::Text: {
        std::string text = value.toText();
        return sqlite3_bind_text(stmt, index, text.data(), static_cast<int>(text.size()),
                                 SQLITE_TRANSIENT);
    }
    }
    return SQLITE_MISUSE;
}

} // namespace

// Makes the headerless text file of the statement's text source a temporary table with
// columns F1, F2, ... and puts that table's name in the source's place. The statement then
// reads the rows straight from the file, a record at a time, so a file of any size needs memory
// for one record. The columns' types come from the whole file, read here first; or, with
// `learned`, from its first records only, and the statement's reading learns the whole file's.
bool Database::loadTextSource(std::string& sql, const TextSourceRef& source,
                              const std::shared_ptr<LearnedShape>& learned,
                              std::vector<std::string>& tempTables) {
    const std::filesystem::path& file = source.file;
    std::error_code ec;
    std::ifstream in(file, std::ios::binary);
    if (!std::filesystem::is_regular_file(file, ec) || !in) {
        return fail("Text file not found: " + file.string());
    }
    constexpr std::size_t kGuessRecords = 1000;
    std::string error;
    auto shape = learned ? scanTextTable(in, error, kGuessRecords) : scanTextTable(in, error);
    if (!shape) {
        return fail("Cannot read text file " + file.string() + ": " + error);
    }
    if (in.bad()) {
        return fail("Cannot read text file " + file.string());
    }
    const int most = sqlite3_limit(db_, SQLITE_LIMIT_COLUMN, -1);
    if (shape->columns() > static_cast<std::size_t>(most)) {
        return fail("Cannot read text file " + file.string() + ": it has " +
                    std::to_string(shape->columns()) + " columns, more than the " +
                    std::to_string(most) + " a table can hold");
    }
    if (learned) {
        learned->guessed = shape->types;
    }
    std::string name = "sw_text_" + std::to_string(++textTables_);
    if (!textSources_->create(db_, name, TextSource{file, std::move(*shape), learned})) {
        return failSql("Cannot read text file " + file.string());
    }
    tempTables.push_back(name);
    sql.replace(source.begin, source.end - source.begin, name);
    return true;
}

namespace {

// The tables a statement adds rows to, as SQLite itself finds them while preparing it (any
// spelling: INSERT OR REPLACE, a schema name, a quoted name).
struct InsertTargets {
    std::vector<std::pair<std::string, std::string>> tables; // schema, table

    static int note(void* self, int action, const char* table, const char*, const char* schema,
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
};

} // namespace

std::optional<Recordset> Database::query(std::string_view sql, const std::vector<DbValue>& params) {
    Recordset rows;
    if (!run(sql, params, &rows)) {
        return std::nullopt;
    }
    return rows;
}

bool Database::queryEach(std::string_view sql, const std::vector<DbValue>& params,
                         const RowVisitor& row) {
    return run(sql, params, nullptr, &row);
}

bool Database::execute(std::string_view sql, const std::vector<DbValue>& params) {
    return run(sql, params, nullptr);
}

// Runs one statement; rows go to `rows` when given. Text-file sources live for this
// statement only, and the whole statement (loading included) succeeds or leaves nothing.
bool Database::run(std::string_view text, const std::vector<DbValue>& params, Recordset* rows,
                   const RowVisitor* each) {
    sqlite3* handle = db_;
    if (handle == nullptr) {
        return fail("No database is open");
    }
    std::string sql(text);
    std::string sourceError;
    const std::optional<TextSourceRef> source = findTextSource(sql, sourceError);
    if (!sourceError.empty()) {
        return fail(sourceError);
    }
    bool guarded = false;
    auto guard = [&] {
        guarded = sqlite3_exec(handle, "SAVEPOINT sw_text", nullptr, nullptr, nullptr) == SQLITE_OK;
        return guarded || failSql("Cannot start \"" + std::string(text) + "\"");
    };
    std::vector<std::string> tempTables;
    // A statement that only stores a text file's rows reads the file once, typing its rows by
    // what the first records show, and learns the whole file's types as it goes. Only when they
    // differ is everything undone and the file read twice: first for its types, then its rows.
    std::shared_ptr<LearnedShape> learned;
    if (source && rows == nullptr && each == nullptr) {
        learned = std::make_shared<LearnedShape>();
    }
    bool ok = !source || (guard() && loadTextSource(sql, *source, learned, tempTables));
    ok = ok && runStatement(text, sql, params, rows, each, guard, guarded);
    if (learned && !(ok && learned->complete && learned->shape.types == learned->guessed)) {
        if (guarded) {
            sqlite3_exec(handle, "ROLLBACK TO sw_text", nullptr, nullptr, nullptr);
        }
        for (const auto& table : tempTables) {
            textSources_->drop(handle, table);
        }
        tempTables.clear();
        sql = std::string(text);
        ok = (guarded || guard()) && loadTextSource(sql, *source, nullptr, tempTables) &&
             runStatement(text, sql, params, rows, each, guard, guarded);
    }
    if (guarded) {
        std::string error = error_;
        for (const auto& table : tempTables) {
            textSources_->drop(handle, table);
        }
        if (!ok) {
            sqlite3_exec(handle, "ROLLBACK TO sw_text", nullptr, nullptr, nullptr);
        }
        sqlite3_exec(handle, "RELEASE sw_text", nullptr, nullptr, nullptr);
        if (!ok) {
            fail(error);
        }
    }
    return ok;
}

// Runs the statement once; rows go to `rows` or `each` when given.
bool Database::runStatement(std::string_view text, std::string sql,
                            const std::vector<DbValue>& params, Recordset* rows,
                            const RowVisitor* each, const std::function<bool()>& guard,
                            const bool& guarded) {
    sqlite3* handle = db_;
    bool ok = true;
    // The rows an insert adds come after these; their number columns are converted below.
    std::vector<std::pair<std::pair<std::string, std::string>, std::int64_t>> lastRowsBefore;
    {
        sql = rewriteSelectInto(sql);
        Statement stmt;
        const char* tail = nullptr;
        InsertTargets targets;
        sqlite3_set_authorizer(handle, &InsertTargets::note, &targets);
        const int prepared = sqlite3_prepare_v2(handle, sql.data(), static_cast<int>(sql.size()),
                                                &stmt.handle, &tail);
        sqlite3_set_authorizer(handle, nullptr, nullptr);
        if (prepared != SQLITE_OK) {
            ok = failSql("Cannot run \"" + std::string(text) + "\"");
        } else if (stmt.handle == nullptr) {
            ok = fail("Nothing to run in \"" + std::string(text) + "\"");
        } else if (tail != nullptr &&
                   !onlyBlanks(std::string_view(tail, sql.data() + sql.size() - tail))) {
            ok = fail("Refused \"" + std::string(text) +
                      "\": it holds more than one statement, and only one is run at a time");
        } else if (sqlite3_bind_parameter_count(stmt.handle) != static_cast<int>(params.size())) {
            ok = fail("Cannot run \"" + std::string(text) + "\": it takes " +
                      std::to_string(sqlite3_bind_parameter_count(stmt.handle)) + " values, but " +
                      std::to_string(params.size()) + " were given");
        } else {
            ok = guarded || targets.tables.empty() || guard();
            for (const auto& target : targets.tables) {
                if (auto last = lastRowid(target.first, target.second)) {
                    lastRowsBefore.emplace_back(target, *last);
                }
            }
            for (std::size_t i = 0; ok && i < params.size(); ++i) {
                if (bindValue(stmt.handle, static_cast<int>(i + 1), params[i]) != SQLITE_OK) {
                    ok = failSql("Cannot bind value " + std::to_string(i + 1) + " of \"" +
                                 std::string(text) + "\"");
                }
            }
            std::vector<std::string> names;
            std::vector<std::vector<DbValue>> data;
            int columns = sqlite3_column_count(stmt.handle);
            for (int c = 0; c < columns; ++c) {
                const char* name = sqlite3_column_name(stmt.handle, c);
                names.emplace_back(name ? name : "");
            }
            Recordset one; // a reader's: its one row is each row in turn
            while (ok) {
                int rc = sqlite3_step(stmt.handle);
                if (rc == SQLITE_DONE) {
                    break;
                }
                if (rc != SQLITE_ROW) {
                    ok = failSql("Cannot run \"" + std::string(text) + "\"");
                    break;
                }
                if (each != nullptr) {
                    if (one.rows_.empty()) {
                        one = Recordset(names, {std::vector<DbValue>(names.size())});
                    }
                    for (int c = 0; c < columns; ++c) {
                        one.rows_[0][static_cast<std::size_t>(c)] = columnValue(stmt.handle, c);
                    }
                    if (!(*each)(one)) {
                        ok = fail("The query was stopped by its reader: " + std::string(text));
                        break;
                    }
                } else if (rows != nullptr) {
                    std::vector<DbValue> row;
                    row.reserve(static_cast<std::size_t>(columns));
                    for (int c = 0; c < columns; ++c) {
                        row.push_back(columnValue(stmt.handle, c));
                    }
                    data.push_back(std::move(row));
                }
            }
            if (ok && rows != nullptr) {
                *rows = Recordset(std::move(names), std::move(data));
            }
        }
    }
    for (const auto& [target, lastRowBefore] : lastRowsBefore) {
        ok = ok && convertNumberColumns(target.first, target.second, lastRowBefore);
    }
    return ok;
}

std::optional<std::int64_t> Database::lastRowid(const std::string& schema,
                                                const std::string& table) {
    auto schemaName = quoteName(schema);
    auto tableName = quoteName(table);
    if (!schemaName || !tableName) {
        return std::nullopt;
    }
    const std::string sql = "SELECT coalesce(max(rowid), 0) FROM " + *schemaName + "." + *tableName;
    Statement stmt;
    if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &stmt.handle, nullptr) != SQLITE_OK ||
        sqlite3_step(stmt.handle) != SQLITE_ROW) {
        return std::nullopt;
    }
    return sqlite3_column_int64(stmt.handle, 0);
}

// SQLite keeps a text that is not a plain number ("1,234.50") as text even in a number column,
// and a fraction in a whole-number column; the columns' readers expect their own type.
bool Database::convertNumberColumns(const std::string& schema, const std::string& table,
                                    std::int64_t lastRowBefore) {
    std::string error = error_;
    auto columns = tableColumnsIn(schema, table);
    auto schemaName = quoteName(schema);
    auto tableName = quoteName(table);
    if (!columns || !schemaName || !tableName) {
        error_ = error; // a table this cannot describe is left as the insert made it
        return true;
    }
    for (const auto& column : *columns) {
        const bool whole =
            column.type == ColumnType::LongInteger || column.type == ColumnType::Integer;
        const bool fraction =
            column.type == ColumnType::Double || column.type == ColumnType::Single;
        auto name = quoteName(column.name);
        if (!(whole || fraction) || !name) {
            continue;
        }
        const std::string sql =
            "UPDATE " + *schemaName + "." + *tableName + " SET " + *name + " = sw_number(" + *name +
            ", " + (whole ? "1" : "0") + ") WHERE rowid > " + std::to_string(lastRowBefore) +
            " AND typeof(" + *name + ") IN ('text', " + (whole ? "'real'" : "'blob'") + ")";
        if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK) {
            return failSql("Cannot store the numbers of " + table);
        }
    }
    return true;
}

// ---------------------------------------------------------------------------------------------

bool Database::createTable(std::string_view table, const std::vector<ColumnDef>& columns) {
    auto tableName = quoteName(table);
    if (!tableName) {
        return fail("Cannot create table: unusable name \"" + std::string(table) + "\"");
    }
    if (columns.empty()) {
        return fail("Cannot create table " + std::string(table) + " without columns");
    }
    std::string sql = "CREATE TABLE " + *tableName + " (";
    for (std::size_t i = 0; i < columns.size(); ++i) {
        const ColumnDef& column = columns[i];
        auto columnName = quoteName(column.name);
        if (!columnName) {
            return fail("Cannot create table " + std::string(table) + ": unusable column name \"" +
                        column.name + "\"");
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
            return fail("Cannot create table " + std::string(table) + ": column " + column.name +
                        " has a type this database does not make");
        }
    }
    sql += ")";
    return execute(sql);
}

std::optional<std::vector<ColumnDef>> Database::tableColumns(std::string_view table) {
    return tableColumnsIn({}, table);
}

std::optional<std::vector<ColumnDef>> Database::tableColumnsIn(std::string_view schema,
                                                               std::string_view table) {
    auto tableName = quoteName(table);
    auto schemaName = schema.empty() ? std::optional<std::string>("") : quoteName(schema);
    if (!tableName || !schemaName) {
        fail("No table named \"" + std::string(table) + "\"");
        return std::nullopt;
    }
    auto info = query("PRAGMA " + (schema.empty() ? std::string() : *schemaName + ".") +
                      "table_info(" + *tableName + ")");
    if (!info) {
        return std::nullopt;
    }
    if (info->recordCount() < 1) {
        fail("No table named " + std::string(table) + " in " + file_.string());
        return std::nullopt;
    }
    std::vector<ColumnDef> columns;
    for (info->moveFirst(); !info->eof(); info->moveNext()) {
        ColumnDef column;
        column.name = info->text("name");
        std::string type = upperAscii(info->text("type"));
        auto has = [&](std::string_view part) { return type.find(part) != std::string::npos; };
        if (has("CHAR") || has("TEXT") || has("CLOB") || type.empty()) {
            column.type = ColumnType::Text;
            column.size = 255;
            auto open = type.find('(');
            if (open != std::string::npos) {
                int size = 0;
                auto [end, ec] =
                    std::from_chars(type.data() + open + 1, type.data() + type.size(), size);
                if (ec == std::errc() && size > 0) {
                    column.size = size;
                }
            }
        } else if (has("BOOL") || has("BIT") || has("YESNO")) {
            column = {column.name, ColumnType::YesNo, 1};
        } else if (has("SMALLINT") || has("SHORT")) {
            column = {column.name, ColumnType::Integer, 2};
        } else if (has("INT") || has("LONG")) {
            column = {column.name, ColumnType::LongInteger, 4};
        } else if (has("SINGLE")) {
            column = {column.name, ColumnType::Single, 4};
        } else if (has("DATE") || has("TIME")) {
            column = {column.name, ColumnType::Date, 8};
        } else {
            column = {column.name, ColumnType::Double, 8};
        }
        columns.push_back(std::move(column));
    }
    return columns;
}

bool Database::addRecord(std::string_view table,
                         const std::vector<std::pair<std::string, DbValue>>& values) {
    auto tableName = quoteName(table);
    if (!tableName) {
        return fail("Cannot add a record: unusable table name \"" + std::string(table) + "\"");
    }
    if (values.empty()) {
        return execute("INSERT INTO " + *tableName + " DEFAULT VALUES");
    }
    std::string names;
    std::string marks;
    std::vector<DbValue> params;
    for (const auto& [name, value] : values) {
        auto columnName = quoteName(name);
        if (!columnName) {
            return fail("Cannot add a record: unusable column name \"" + name + "\"");
        }
        names += (names.empty() ? "" : ", ") + *columnName;
        marks += marks.empty() ? "?" : ", ?";
        params.push_back(value);
    }
    return execute("INSERT INTO " + *tableName + " (" + names + ") VALUES (" + marks + ")", params);
}

} // namespace sw
