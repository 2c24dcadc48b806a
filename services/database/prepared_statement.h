#pragma once
// One prepared SQLite statement, owned: prepared from the first statement of a text, given its
// values, stepped through its rows and finalized. Result codes are SQLite's own; the caller
// turns a failure into a message (the connection's sqlite3_errmsg tells what went wrong).

#include <string>
#include <string_view>
#include <vector>

#include "services/database/db_value.h"

struct sqlite3;
struct sqlite3_stmt;

namespace sw {

class PreparedStatement {
public:
    PreparedStatement() = default;
    ~PreparedStatement();
    PreparedStatement(const PreparedStatement&) = delete;
    PreparedStatement& operator=(const PreparedStatement&) = delete;

    // Prepares the first statement of `sql`.
    int prepare(sqlite3* db, std::string_view sql);
    // Nothing was prepared: the text holds no statement (only blanks or comments).
    bool empty() const { return handle_ == nullptr; }
    // The text holds more than the prepared statement (anything but blanks and ";" after it).
    bool moreAfter() const { return moreAfter_; }
    int parameterCount() const;
    // Binds the value of parameter `index` (counted from 1).
    int bind(int index, const DbValue& value);

    // SQLITE_ROW (a row to read), SQLITE_DONE, or the failure.
    int step();
    int columnCount() const;
    std::vector<std::string> columnNames() const;
    // A column of the current row.
    DbValue value(int column) const;

    // Releases the statement: the failure of its last step again, SQLITE_OK after a clean run
    // (or none). Called by the destructor when the caller did not.
    int finalize();

private:
    sqlite3_stmt* handle_ = nullptr;
    bool moreAfter_ = false;
};

} // namespace sw
