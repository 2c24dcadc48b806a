#pragma once
// A savepoint around one statement and all that it needs (the text tables it reads, the
// conversion of the numbers it inserts): all of it stays, or none of it does. Every step's
// result is checked. Keeping the work is where a full disk shows (outside a transaction the
// savepoint's release writes the file), and then the work is undone and the failure told,
// never reported as a success that left nothing.

#include <filesystem>
#include <string>

struct sqlite3;

namespace sw {

class Savepoint {
public:
    Savepoint(sqlite3* db, std::filesystem::path file);
    // Undoes the work of a savepoint still open.
    ~Savepoint();
    Savepoint(const Savepoint&) = delete;
    Savepoint& operator=(const Savepoint&) = delete;

    // Opens the savepoint; nothing to do when it is open.
    bool begin();
    bool active() const { return active_; }
    // Undoes the work since begin() and closes the savepoint.
    bool undo();
    // Keeps the work since begin() and closes the savepoint. When it cannot be kept, the work
    // is undone, and false.
    bool keep();

    // Why the last step that failed did.
    const std::string& error() const { return error_; }

private:
    bool exec(const char* sql);
    // SQLite has already undone the whole transaction the savepoint is in: a failed write can
    // end it.
    bool transactionGone() const;

    sqlite3* db_;
    std::filesystem::path file_;
    bool active_ = false;
    bool outermost_ = false; // the savepoint began the transaction
    std::string error_;
};

} // namespace sw
