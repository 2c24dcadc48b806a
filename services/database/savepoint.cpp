#include "services/database/savepoint.h"

#include <sqlite3.h>

#include <utility>

#include "services/database/sqlite_failure.h"

namespace sw {

Savepoint::Savepoint(sqlite3* db, std::filesystem::path file) : db_(db), file_(std::move(file)) {}

Savepoint::~Savepoint() {
    undo(); // only when the statement was left without an end: nothing is left to tell it to
}

bool Savepoint::exec(const char* sql) {
    if (sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) != SQLITE_OK) {
        error_ = sqliteFailure(db_, file_);
        return false;
    }
    return true;
}

bool Savepoint::transactionGone() const {
    // An open savepoint holds a transaction open: with none open, SQLite ended it.
    return sqlite3_get_autocommit(db_) != 0;
}

bool Savepoint::begin() {
    if (active_) {
        return true;
    }
    outermost_ = sqlite3_get_autocommit(db_) != 0;
    active_ = exec("SAVEPOINT sw_text");
    return active_;
}

bool Savepoint::undo() {
    if (!active_) {
        return true;
    }
    active_ = false;
    if (transactionGone()) {
        return true;
    }
    // The outermost savepoint is the transaction: rolling it back ends it.
    return exec(outermost_ ? "ROLLBACK" : "ROLLBACK TO sw_text; RELEASE sw_text");
}

bool Savepoint::keep() {
    if (!active_) {
        return true;
    }
    if (transactionGone()) {
        active_ = false;
        error_ = "the database undid the work after a failure";
        return false;
    }
    if (exec("RELEASE sw_text")) {
        active_ = false;
        return true;
    }
    std::string failure = std::move(error_);
    if (!undo()) {
        failure += "; undoing the work failed too: " + error_;
    }
    error_ = std::move(failure);
    return false;
}

} // namespace sw
