#pragma once
// What went wrong in a connection's last SQLite call, in words a user can act on. A full disk
// says the disk is full and names the database file (not "database or disk is full", nor what
// a later statement finds missing); a failed read or write adds the system's reason.

#include <filesystem>
#include <string>

struct sqlite3;

namespace sw {

// The failure of the last call on `db`, whose database file is `file`.
std::string sqliteFailure(sqlite3* db, const std::filesystem::path& file);
// The same, naming the connection's main database file as SQLite knows it.
std::string sqliteFailure(sqlite3* db);

} // namespace sw
