#include "services/database/sqlite_failure.h"

#include <sqlite3.h>

#include <cerrno>
#include <system_error>

namespace sw {

std::string sqliteFailure(sqlite3* db, const std::filesystem::path& file) {
    const int code = sqlite3_extended_errcode(db) & 0xff;
    // SQLite keeps the system's error only for failed reads and writes; at other times it is
    // left from an earlier failure.
    const int system = code == SQLITE_IOERR ? sqlite3_system_errno(db) : 0;
    if (code == SQLITE_FULL || system == ENOSPC || system == EDQUOT) {
        return "the disk is full: there is no room to write " + file.string();
    }
    std::string message = sqlite3_errmsg(db);
    if (code == SQLITE_IOERR) {
        message += " on " + file.string();
    }
    if (system != 0) {
        message += " (" + std::generic_category().message(system) + ")";
    }
    return message;
}

std::string sqliteFailure(sqlite3* db) {
    const char* file = sqlite3_db_filename(db, "main");
    return sqliteFailure(db, file ? file : "");
}

} // namespace sw
