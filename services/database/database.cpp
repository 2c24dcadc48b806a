#include "services/database/database.h"

#include <sqlite3.h>

#include <utility>

#include "services/database/inserted_numbers.h"
#include "services/database/prepared_statement.h"
#include "services/database/savepoint.h"
#include "services/database/sqlite_failure.h"
#include "services/database/text_source_table.h"
#include "services/database/text_sql.h"

namespace sw {

Database::Database() = default;

Database::~Database() {
    close();
}

Database::Database(Database&& other) noexcept
    : db_(std::exchange(other.db_, nullptr)), file_(std::move(other.file_)),
      error_(std::move(other.error_)), textSources_(std::move(other.textSources_)) {}

Database& Database::operator=(Database&& other) noexcept {
    if (this != &other) {
        close();
        db_ = std::exchange(other.db_, nullptr);
        file_ = std::move(other.file_);
        error_ = std::move(other.error_);
        textSources_ = std::move(other.textSources_);
    }
    return *this;
}

void Database::close() {
    if (db_ != nullptr) {
        // Every statement is finalized when it has run and every savepoint ended, so closing
        // has nothing left to write or to fail on.
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
        message += ": " + sqliteFailure(db_, file_);
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

bool Database::createBuiltAside(const std::filesystem::path& file) {
    if (!create(file)) {
        return false;
    }
    if (sqlite3_exec(db_, "PRAGMA journal_mode=MEMORY; PRAGMA synchronous=OFF", nullptr, nullptr,
                     nullptr) != SQLITE_OK) {
        std::string message =
            "Cannot create database " + file.string() + ": " + sqlite3_errmsg(db_);
        close();
        return fail(std::move(message));
    }
    return true;
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
    textSources_ = std::make_unique<TextSourceTables>();
    if (sqlite3_extended_result_codes(db_, 1) != SQLITE_OK ||
        registerNumberFunction(db_) != SQLITE_OK || !textSources_->registerWith(db_)) {
        std::string message = "Cannot open database " + file.string() + ": " + sqlite3_errmsg(db_);
        close();
        return fail(std::move(message));
    }
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

// Puts a temporary table over the statement's text source in the source's place.
bool Database::loadTextSource(std::string& sql, const TextSourceRef& source,
                              const std::shared_ptr<LearnedShape>& learned,
                              std::vector<std::string>& tempTables) {
    std::string error;
    auto table = textSources_->load(db_, source.file, learned, error);
    if (!table) {
        return fail(error);
    }
    sql.replace(source.begin, source.end - source.begin, *table);
    tempTables.push_back(std::move(*table));
    return true;
}

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

// Runs one statement; rows go to `rows` or `each` when given. Text-file sources live for this
// statement only, and the whole statement (loading included) succeeds or leaves nothing.
bool Database::run(std::string_view text, const std::vector<DbValue>& params, Recordset* rows,
                   const RowVisitor* each) {
    if (db_ == nullptr) {
        return fail("No database is open");
    }
    std::string sourceError;
    const std::optional<TextSourceRef> source = findTextSource(text, sourceError);
    if (!sourceError.empty()) {
        return fail(sourceError);
    }
    Savepoint savepoint(db_, file_);
    std::vector<std::string> textTables;
    // A statement that only stores a text file's rows reads the file once, typing its rows by
    // what the first records show, and learns the whole file's types as it goes. Only when they
    // differ is everything undone and the file read twice: first for its types, then its rows.
    std::shared_ptr<LearnedShape> learned;
    if (source && rows == nullptr && each == nullptr) {
        learned = std::make_shared<LearnedShape>();
    }
    std::string sql(text);
    bool ok =
        !source || (begin(text, savepoint) && loadTextSource(sql, *source, learned, textTables));
    ok = ok && runStatement(text, sql, params, rows, each, savepoint);
    if (learned && !(ok && learned->complete && learned->shape.types == learned->guessed)) {
        ok = dropTextTables(text, textTables) &&
             (savepoint.undo() ||
              fail("Cannot undo \"" + std::string(text) + "\": " + savepoint.error()));
        sql = std::string(text);
        ok = ok && begin(text, savepoint) && loadTextSource(sql, *source, nullptr, textTables) &&
             runStatement(text, sql, params, rows, each, savepoint);
    }
    return finish(text, savepoint, textTables, ok);
}

// Ends a statement: its text tables go, and its work stays when all of it succeeded, else none
// of it does. The first failure is the one told.
bool Database::finish(std::string_view text, Savepoint& savepoint,
                      std::vector<std::string>& textTables, bool ok) {
    std::string failure = error_;
    const bool dropped = dropTextTables(text, textTables);
    if (!ok || !dropped) {
        if (ok) {
            failure = error_;
        }
        if (!savepoint.undo()) {
            failure += "; undoing it failed too: " + savepoint.error();
        }
        return fail(std::move(failure));
    }
    if (!savepoint.keep()) {
        return fail("Cannot finish \"" + std::string(text) + "\": " + savepoint.error());
    }
    return true;
}

bool Database::begin(std::string_view text, Savepoint& savepoint) {
    return savepoint.begin() ||
           fail("Cannot start \"" + std::string(text) + "\": " + savepoint.error());
}

bool Database::dropTextTables(std::string_view text, std::vector<std::string>& textTables) {
    bool dropped = true;
    for (const auto& table : textTables) {
        if (!textSources_->drop(db_, table) && dropped) {
            dropped = failSql("Cannot finish \"" + std::string(text) + "\"");
        }
    }
    textTables.clear();
    return dropped;
}

// Runs the statement once; rows go to `rows` or `each` when given.
bool Database::runStatement(std::string_view text, std::string sql,
                            const std::vector<DbValue>& params, Recordset* rows,
                            const RowVisitor* each, Savepoint& savepoint) {
    sql = rewriteSelectInto(sql);
    PreparedStatement statement;
    InsertTargets targets;
    if (!prepare(text, sql, params.size(), statement, targets)) {
        return false;
    }
    // An insert and the conversion of the numbers it stores happen together or not at all.
    if (!targets.tables.empty() && !begin(text, savepoint)) {
        return false;
    }
    // The rows an insert adds come after these; their number columns are converted below.
    InsertedRows inserted;
    std::string error;
    if (!inserted.noteLastRows(db_, targets, error)) {
        return fail(error);
    }
    for (std::size_t i = 0; i < params.size(); ++i) {
        if (statement.bind(static_cast<int>(i + 1), params[i]) != SQLITE_OK) {
            return failSql("Cannot bind value " + std::to_string(i + 1) + " of \"" +
                           std::string(text) + "\"");
        }
    }
    if (!stepRows(text, statement, rows, each)) {
        return false;
    }
    if (statement.finalize() != SQLITE_OK) {
        return failSql("Cannot run \"" + std::string(text) + "\"");
    }
    return inserted.convertNumbers(db_, error) || fail(error);
}

// Prepares the statement as exactly one statement taking `paramCount` values; SQLite notes the
// tables it adds rows to while preparing it.
bool Database::prepare(std::string_view text, const std::string& sql, std::size_t paramCount,
                       PreparedStatement& statement, InsertTargets& targets) {
    // Without the authorizer the inserted rows' numbers would go unconverted, silently.
    if (sqlite3_set_authorizer(db_, &InsertTargets::note, &targets) != SQLITE_OK) {
        return failSql("Cannot run \"" + std::string(text) + "\"");
    }
    const int prepared = statement.prepare(db_, sql);
    sqlite3_set_authorizer(db_, nullptr, nullptr);
    if (prepared != SQLITE_OK) {
        return failSql("Cannot run \"" + std::string(text) + "\"");
    }
    if (statement.empty()) {
        return fail("Nothing to run in \"" + std::string(text) + "\"");
    }
    if (statement.moreAfter()) {
        return fail("Refused \"" + std::string(text) +
                    "\": it holds more than one statement, and only one is run at a time");
    }
    if (statement.parameterCount() != static_cast<int>(paramCount)) {
        return fail("Cannot run \"" + std::string(text) + "\": it takes " +
                    std::to_string(statement.parameterCount()) + " values, but " +
                    std::to_string(paramCount) + " were given");
    }
    return true;
}

// Steps through the statement's rows: all of them into `rows`, or each in turn to `each`.
bool Database::stepRows(std::string_view text, PreparedStatement& statement, Recordset* rows,
                        const RowVisitor* each) {
    std::vector<std::string> names = statement.columnNames();
    const int columns = statement.columnCount();
    std::vector<std::vector<DbValue>> data;
    Recordset one; // a reader's: its one row is each row in turn
    while (true) {
        const int rc = statement.step();
        if (rc == SQLITE_DONE) {
            break;
        }
        if (rc != SQLITE_ROW) {
            return failSql("Cannot run \"" + std::string(text) + "\"");
        }
        if (each != nullptr) {
            if (one.rows_.empty()) {
                one = Recordset(names, {std::vector<DbValue>(names.size())});
            }
            for (int c = 0; c < columns; ++c) {
                one.rows_[0][static_cast<std::size_t>(c)] = statement.value(c);
            }
            if (!(*each)(one)) {
                return fail("The query was stopped by its reader: " + std::string(text));
            }
        } else if (rows != nullptr) {
            std::vector<DbValue> row;
            row.reserve(static_cast<std::size_t>(columns));
            for (int c = 0; c < columns; ++c) {
                row.push_back(statement.value(c));
            }
            data.push_back(std::move(row));
        }
    }
    if (rows != nullptr) {
        *rows = Recordset(std::move(names), std::move(data));
    }
    return true;
}

// ---------------------------------------------------------------------------------------------

bool Database::createTable(std::string_view table, const std::vector<ColumnDef>& columns) {
    std::string error;
    const auto sql = createTableStatement(table, columns, error);
    return sql ? execute(*sql) : fail(error);
}

std::optional<std::vector<ColumnDef>> Database::tableColumns(std::string_view table) {
    if (db_ == nullptr) {
        fail("No database is open");
        return std::nullopt;
    }
    std::string error;
    auto columns = readTableColumns(db_, {}, table, error);
    if (!columns) {
        fail(error);
    } else if (columns->empty()) {
        fail("No table named " + std::string(table) + " in " + file_.string());
        return std::nullopt;
    }
    return columns;
}

void Database::feedTextFile(const std::filesystem::path& file, std::shared_ptr<TextFeed> feed) {
    if (textSources_) {
        textSources_->feed(file, std::move(feed));
    }
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
