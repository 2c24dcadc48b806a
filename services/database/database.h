#pragma once
// The program's embedded database: lookup files opened read-only (section centroids, ZIP
// codes), and the working database of the KML conversion, created new, given tables, filled
// from headerless comma-separated text files and queried back. Built on SQLite.
//
// Failures are reported, never thrown: every operation that can fail returns false (or an
// empty optional) and leaves a message naming what failed in lastError(). Callers decide
// what the user sees. A statement that changes the database does so whole or not at all: when
// any step of it fails (the disk fills up as its rows are written, or as they are committed),
// it leaves nothing, and the message says so ("the disk is full", naming the database file).
//
// Values that come from the user never become SQL text: pass them as parameters ("?" in
// the statement, one DbValue each, in order). A statement text is run as exactly one
// statement; anything after its end (a second statement smuggled in after ";") is refused.
//
// Headerless text files read as tables: a statement may name a comma-separated text file as
//     [Text;Database=FOLDER;HDR=NO].[FILE]
// which reads FOLDER/FILE as a table whose columns are F1, F2, ... in file order (values typed
// as services/text_table.h says). "SELECT ... INTO TABLE FROM ..." creates
// TABLE from the selected rows.
//
// An insert stores numbers in the number columns of createTable's tables as the window shows
// them: a text that is a number by the program's one rule (services/number_reading.h:
// "1,234.50" is one, "12,5" is not) becomes that number, rounded (halves to even) in a long
// integer column; an empty text is NULL; any other text is kept as it is.

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "services/database/db_value.h"
#include "services/database/table_columns.h"

struct sqlite3;

namespace sw {

class PreparedStatement;
class Savepoint;
class TextFeed;
class TextSourceTables;
struct LearnedShape;
struct InsertTargets;
struct TextSourceRef;

class Database {
public:
    Database();
    ~Database();
    Database(Database&& other) noexcept;
    Database& operator=(Database&& other) noexcept;
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    // Opens an existing database file. Read-only suits the lookup files: nothing can change
    // them through this connection. A missing file or one that is not a database fails with
    // a message naming the file.
    bool openReadOnly(const std::filesystem::path& file);
    bool open(const std::filesystem::path& file);
    // Creates a new, empty database file. Fails when the file already exists: a working
    // database left from an earlier run is never silently reused.
    bool create(const std::filesystem::path& file);
    // As create(), for a database built under a name of its own and renamed into place only
    // once complete: what a crash leaves of it is never used, so it needs no journal on the
    // disk and no waiting for the disk. Undoing a statement still works (the journal is kept
    // in memory).
    bool createBuiltAside(const std::filesystem::path& file);
    bool isOpen() const { return db_ != nullptr; }
    void close();
    const std::filesystem::path& file() const { return file_; }

    // Runs one query and reads all its rows.
    std::optional<Recordset> query(std::string_view sql, const std::vector<DbValue>& params = {});
    // Runs one query and hands its rows to `row` one at a time, in order. Each call sees a set
    // positioned on that one row, with the field names query() gives. Returning false stops
    // the query, which then fails.
    using RowVisitor = std::function<bool(const Recordset& row)>;
    bool queryEach(std::string_view sql, const std::vector<DbValue>& params, const RowVisitor& row);
    // Runs one action statement (insert, update, create, SELECT ... INTO).
    bool execute(std::string_view sql, const std::vector<DbValue>& params = {});

    // Creates a table whose columns are long integers, doubles or texts of a given length
    // (ColumnDef::size; 255 when 0). Other column types are refused.
    bool createTable(std::string_view table, const std::vector<ColumnDef>& columns);
    // The columns of a table, in table order.
    std::optional<std::vector<ColumnDef>> tableColumns(std::string_view table);
    // From now on a statement naming the text file `file` reads its text from `feed` as it is
    // written, instead of from the disk (nothing: from the disk again). For a file that is
    // still being written while the statement runs on another thread.
    void feedTextFile(const std::filesystem::path& file, std::shared_ptr<TextFeed> feed);

    // Adds one record; columns not named stay NULL.
    bool addRecord(std::string_view table,
                   const std::vector<std::pair<std::string, DbValue>>& values);

    const std::string& lastError() const { return error_; }

private:
    bool openFile(const std::filesystem::path& file, int flags, bool mustExist);
    bool run(std::string_view sql, const std::vector<DbValue>& params, Recordset* rows,
             const RowVisitor* each = nullptr);
    bool runStatement(std::string_view text, std::string sql, const std::vector<DbValue>& params,
                      Recordset* rows, const RowVisitor* each, Savepoint& savepoint);
    bool finish(std::string_view text, Savepoint& savepoint, std::vector<std::string>& textTables,
                bool ok);
    bool begin(std::string_view text, Savepoint& savepoint);
    bool dropTextTables(std::string_view text, std::vector<std::string>& textTables);
    bool prepare(std::string_view text, const std::string& sql, std::size_t paramCount,
                 PreparedStatement& statement, InsertTargets& targets);
    bool stepRows(std::string_view text, PreparedStatement& statement, Recordset* rows,
                  const RowVisitor* each);
    bool loadTextSource(std::string& sql, const TextSourceRef& source,
                        const std::shared_ptr<LearnedShape>& learned,
                        std::vector<std::string>& tempTables);
    bool fail(std::string message);
    bool failSql(std::string_view what);

    sqlite3* db_ = nullptr;
    std::filesystem::path file_;
    std::string error_;
    std::unique_ptr<TextSourceTables> textSources_;
};

// Quotes a table or column name for SQL text ("NAME" -> [NAME]); refuses (returns nothing)
// a name that cannot be quoted safely.
std::optional<std::string> quoteName(std::string_view name);

} // namespace sw
